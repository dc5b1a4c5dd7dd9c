// What a screen reader calls the main window's fields and lists. Buttons and
// check boxes carry their own captions; the others are named by the labels
// the user sees beside them, so the names follow a language file too.
#ifndef PELLMAR_UI_SPOKEN_NAMES_H_
#define PELLMAR_UI_SPOKEN_NAMES_H_

#include <string>
#include <vector>

namespace pellmar {

class TMain;

struct SpokenName {
  std::string control;  // the control's design name
  std::string name;
};

/// The names of both lists, the removable-folder and exclusion fields and
/// the number field, from the current captions of their labels.
std::vector<SpokenName> SpokenNames(const TMain& main);

/// A label's caption as a name: without the colon and blanks that end it.
std::string SpokenCaption(const std::string& caption);

}  // namespace pellmar

#endif  // PELLMAR_UI_SPOKEN_NAMES_H_
