// The --help text and the one way a wrong command line is answered.
#ifndef PELLMAR_APP_USAGE_H_
#define PELLMAR_APP_USAGE_H_

#include <iosfwd>
#include <string>

namespace pellmar {

/// Every verb and option, one line each.
void PrintUsage(std::ostream& out);

/// Says what was wrong and how the command line goes, on stderr; returns
/// kExitUsage.
int UsageError(const std::string& what);

}  // namespace pellmar

#endif  // PELLMAR_APP_USAGE_H_
