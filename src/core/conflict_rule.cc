// Conflicts from sizes and real times: the packed local times a copy is
// decided on are rounded, and clamped to FAT's years.
#include "core/conflict_rule.h"

namespace pellmar {

namespace {

// FAT keeps times in steps of two seconds: one version's two copies can be
// that far apart.
constexpr int64_t kTimeStepNs = int64_t{2} * 1000000000;

bool Near(int64_t a_ns, int64_t b_ns) {
  return a_ns - b_ns <= kTimeStepNs && b_ns - a_ns <= kTimeStepNs;
}

// A copy on FAT reads an hour off once the clock has changed to or from
// summer time: of the same size, that is the same version.
bool ChangedSince(const FileFacts& copy, int64_t size, int64_t remembered_ns) {
  constexpr int64_t kHourNs = int64_t{3600} * 1000000000;
  if (copy.size != size) return true;
  return !Near(copy.write_ns, remembered_ns) && !Near(copy.write_ns, remembered_ns + kHourNs) &&
         !Near(copy.write_ns, remembered_ns - kHourNs);
}

// The remembered times of the copy a run copies from and of the one it
// copies onto.
struct Sides {
  Sides(const RememberedVersion& remembered, bool source_on_medium)
      : source_ns(source_on_medium ? remembered.medium_ns : remembered.project_ns),
        target_ns(source_on_medium ? remembered.project_ns : remembered.medium_ns) {}
  int64_t source_ns;
  int64_t target_ns;
};

}  // namespace

Clash ClashSince(const RememberedVersion* remembered, const FileFacts& source,
                 const std::optional<FileFacts>& target, bool source_on_medium) {
  if (remembered == nullptr) return Clash::kNone;
  const Sides sides(*remembered, source_on_medium);
  if (!ChangedSince(source, remembered->size, sides.source_ns)) return Clash::kNone;
  if (!target) return Clash::kChangedAndGone;
  return ChangedSince(*target, remembered->size, sides.target_ns) ? Clash::kBothChanged
                                                                  : Clash::kNone;
}

bool StillAsRemembered(const RememberedVersion& remembered, const FileFacts& source,
                       const FileFacts& target, bool source_on_medium) {
  const Sides sides(remembered, source_on_medium);
  return !ChangedSince(source, remembered.size, sides.source_ns) &&
         !ChangedSince(target, remembered.size, sides.target_ns);
}

bool AlikeVersions(const FileFacts& a, const FileFacts& b) {
  return a.size == b.size && Near(a.write_ns, b.write_ns);
}

RememberedVersion VersionSeen(const FileFacts& source, const FileFacts& target,
                              bool source_on_medium, int64_t day) {
  const FileFacts& on_medium = source_on_medium ? source : target;
  const FileFacts& in_project = source_on_medium ? target : source;
  return RememberedVersion{source.size, in_project.write_ns, on_medium.write_ns, day};
}

}  // namespace pellmar
