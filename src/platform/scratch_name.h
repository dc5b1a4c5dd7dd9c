// The names Pellmar gives the files it writes before they are in place, on
// every system alike: a copy being written, and a version moved aside while
// a replacement or removal is checked. A name of this form is never data,
// and a user's file that merely looks like one (".pellmar-backup") is data.
#ifndef PELLMAR_PLATFORM_SCRATCH_NAME_H_
#define PELLMAR_PLATFORM_SCRATCH_NAME_H_

#include <optional>
#include <string>

namespace pellmar {

enum class ScratchKind {
  kPartial,   // a new copy, complete or not: the source still has it
  kReplaced,  // a user's version moved aside: it may be the only one left
};

/// A fresh name of the given kind: ".~pellmar-", 16 random hexadecimal
/// digits, then ".partial" or ".replaced".
std::string NewScratchName(ScratchKind kind);

/// The kind of a scratch name; nullopt for any other name.
std::optional<ScratchKind> ScratchKindOf(const std::string& name);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_SCRATCH_NAME_H_
