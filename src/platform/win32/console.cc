// UTF-16 arguments to UTF-8, and the console's code page for the run.
#include "platform/win32/console.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {

std::optional<std::vector<std::string>> Utf8Arguments(int argc, wchar_t** argv, std::string* bad) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) {
    std::optional<std::string> argument = WideToUtf8(argv[i]);
    if (!argument) {
      *bad = WideForReport(argv[i]);
      return std::nullopt;
    }
    arguments.push_back(std::move(*argument));
  }
  return arguments;
}

// Without a console (output to a file or a pipe) these calls fail and
// change nothing; the bytes written are UTF-8 either way.
Utf8Console::Utf8Console() : previous_output_(::GetConsoleOutputCP()) {
  if (previous_output_ != 0) ::SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  if (previous_output_ != 0) ::SetConsoleOutputCP(previous_output_);
}

}  // namespace pellmar
