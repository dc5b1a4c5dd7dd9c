// Program entry: the one place that makes the host's platform; everything
// after it, window or verb, is handed this one.
#include <memory>

#include "app/cli.h"

int main(int argc, char** argv) {
  const std::unique_ptr<pellmar::Platform> platform = pellmar::NewHostPlatform();
  return pellmar::RunPellmar(argc, argv, *platform);
}
