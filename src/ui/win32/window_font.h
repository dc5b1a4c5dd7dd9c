// The fonts of the skin's windows: the face a design or a language file asks
// for where the system has it, else the system's own face for messages, so
// that a window's text can always be read.
#ifndef PELLMAR_UI_WIN32_WINDOW_FONT_H_
#define PELLMAR_UI_WIN32_WINDOW_FONT_H_

#include <string>

#include "ui/win32/common_controls.h"

namespace pellmar {

struct FontFace {
  std::string face;
  int charset = DEFAULT_CHARSET;
};

/// `face` in `charset` where the system has that face; else the face the
/// system picks for `charset` where that one has the Latin letters; else the
/// face the system shows its own messages in, in `charset` where it can.
FontFace UsableFace(const std::string& face, int charset);

/// The window font for a face and character set at a DPI (12 pixels at 96),
/// through UsableFace.
HFONT CreateWindowFont(const std::string& face, int charset, int dpi);

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_WINDOW_FONT_H_
