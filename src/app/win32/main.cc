// Program entry on Windows: the arguments come as UTF-16 and are handed on
// as UTF-8, the console shows UTF-8 for the run, and the host's platform is
// made here as on every system.
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/exit_codes.h"
#include "platform/win32/console.h"

int wmain(int argc, wchar_t** argv) {
  const pellmar::Utf8Console console;
  std::string bad;
  const std::optional<std::vector<std::string>> arguments =
      pellmar::Utf8Arguments(argc, argv, &bad);
  if (!arguments) {
    std::cerr << "pellmar: an argument is not valid text: " << bad << "\n";
    return pellmar::kExitUsage;
  }
  std::vector<char*> pointers;
  for (const std::string& argument : *arguments)
    pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  const std::unique_ptr<pellmar::Platform> platform = pellmar::NewHostPlatform();
  return pellmar::RunPellmar(argc, pointers.data(), *platform);
}
