// Junctions for the Windows tests: a folder that leads to another, as
// "mklink /J" makes it, which a run must report and never walk.
#ifndef PELLMAR_TESTS_SUPPORT_WIN32_JUNCTION_H_
#define PELLMAR_TESTS_SUPPORT_WIN32_JUNCTION_H_

#include <string>

namespace pellmar {

/// Makes `link` (a host path) a junction to the folder `target`; false, with
/// the system's last error set, where the system cannot make one.
bool MakeJunction(const std::string& link, const std::string& target);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_WIN32_JUNCTION_H_
