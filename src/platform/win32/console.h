// The command line and the console of a Windows program: arguments arrive
// as UTF-16 and become the program's UTF-8; the console shows UTF-8 while
// the program runs and gets its own code page back when it ends.
#ifndef PELLMAR_PLATFORM_WIN32_CONSOLE_H_
#define PELLMAR_PLATFORM_WIN32_CONSOLE_H_

#include <optional>
#include <string>
#include <vector>

namespace pellmar {

/// The arguments in UTF-8; nullopt when one is not valid UTF-16, and
/// `*bad` then gets it with the units that do not convert escaped.
std::optional<std::vector<std::string>> Utf8Arguments(int argc, wchar_t** argv, std::string* bad);

/// Sets the console's output code page to UTF-8 while the object lives.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned previous_output_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_CONSOLE_H_
