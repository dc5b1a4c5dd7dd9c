// The program's version, written once: the window's caption, the settings
// file's "Version" key and `pellmar --version` all show this one.
#ifndef PELLMAR_CORE_VERSION_H_
#define PELLMAR_CORE_VERSION_H_

namespace pellmar {

inline constexpr char kVersionText[] = "1.1";
inline constexpr double kVersionNumber = 1.1;

}  // namespace pellmar

#endif  // PELLMAR_CORE_VERSION_H_
