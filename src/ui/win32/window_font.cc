// Asking the system which faces it has (EnumFontFamiliesEx) and which one it
// draws a request in, and the font made from the answers.
//
// Where a face is missing, the system's mapper picks another one for the
// character set alone, and for the Japanese set that may be a face without
// Latin letters: every caption then shows as empty boxes.
#include "ui/win32/window_font.h"

#include <algorithm>
#include <iterator>

#include "ui/win32/win32_text.h"

namespace pellmar {
namespace {

constexpr int kFontPixels = 12;

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool SystemHasFace(const std::wstring& face, int charset) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW wanted{};
  wanted.lfCharSet = static_cast<BYTE>(charset);
  face.copy(wanted.lfFaceName, face.size());
  bool found = false;
  HDC dc = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(dc, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, dc);
  return found;
}

struct DrawnFace {
  std::wstring face;
  bool latin = false;  // has the Latin letters
};

// The face the system draws `request` in, as it picks it.
DrawnFace Drawn(const LOGFONTW& request) {
  HFONT font = ::CreateFontIndirectW(&request);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  ::GetTextFaceW(dc, LF_FACESIZE, face);
  WORD glyphs[4] = {};
  ::GetGlyphIndicesW(dc, L"OKab", 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  ::DeleteObject(font);
  return {face, std::none_of(std::begin(glyphs), std::end(glyphs),
                             [](WORD glyph) { return glyph == 0xFFFF; })};
}

LOGFONTW Request(const std::wstring& face, int charset, int dpi) {
  LOGFONTW request{};
  request.lfHeight = -::MulDiv(kFontPixels, dpi, 96);
  request.lfWeight = FW_NORMAL;
  request.lfCharSet = static_cast<BYTE>(charset);
  request.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  face.copy(request.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  return request;
}

// The face the system shows its own messages in, as drawn: the metrics may
// name a logical face ("MS Shell Dlg") that only stands for a real one.
std::wstring MessageFace() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont = Request(L"", DEFAULT_CHARSET, 96);
  }
  return Drawn(metrics.lfMessageFont).face;
}

}  // namespace

FontFace UsableFace(const std::string& face, int charset) {
  // A face the system has in another character set is still its own face:
  // it links in what it lacks, as it does for every program.
  const std::wstring wanted = ToWide(face);
  if (SystemHasFace(wanted, DEFAULT_CHARSET)) return {face, charset};
  // Else the face the system picks for the character set, where it can
  // show the Latin letters too (a Japanese Windows' own Gothic, say).
  const DrawnFace picked = Drawn(Request(wanted, charset, 96));
  if (picked.latin && SystemHasFace(picked.face, DEFAULT_CHARSET))
    return {ToUtf8(picked.face), charset};
  const std::wstring fallback = MessageFace();
  return {ToUtf8(fallback), SystemHasFace(fallback, charset) ? charset : DEFAULT_CHARSET};
}

HFONT CreateWindowFont(const std::string& face, int charset, int dpi) {
  const FontFace usable = UsableFace(face, charset);
  const LOGFONTW request = Request(ToWide(usable.face), usable.charset, dpi);
  return ::CreateFontIndirectW(&request);
}

}  // namespace pellmar
