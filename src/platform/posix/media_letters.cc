// The choice of media letters against what is remembered of each medium.
#include "platform/posix/media_letters.h"

#include <algorithm>
#include <cstdint>

namespace pellmar {
namespace {

constexpr char kFirstMediaLetter = 'E';
constexpr char kLastLetter = 'Z';

const RememberedLetter* KeeperOf(const std::vector<RememberedLetter>& memory, char letter) {
  for (const RememberedLetter& known : memory) {
    if (known.letter == letter) return &known;
  }
  return nullptr;
}

// The lowest letter free now and kept for nobody; else, when `may_take` is
// set, the free letter whose keeper was seen longest ago; else 0.
char FreeLetter(const std::set<char>& in_use, const std::vector<RememberedLetter>& memory,
                bool may_take) {
  char oldest = 0;
  int64_t oldest_seen = 0;
  for (char letter = kFirstMediaLetter; letter <= kLastLetter; ++letter) {
    if (in_use.count(letter) != 0) continue;
    const RememberedLetter* keeper = KeeperOf(memory, letter);
    if (keeper == nullptr) return letter;
    if (oldest == 0 || keeper->seen < oldest_seen) {
      oldest = letter;
      oldest_seen = keeper->seen;
    }
  }
  return may_take ? oldest : 0;
}

int64_t LastSeen(const std::vector<RememberedLetter>& memory) {
  int64_t last = 0;
  for (const RememberedLetter& known : memory) last = std::max(last, known.seen);
  return last;
}

}  // namespace

bool MarkMediaSeen(const std::vector<MediumIdentity>& media,
                   std::vector<RememberedLetter>* memory) {
  std::vector<RememberedLetter*> present;
  for (RememberedLetter& known : *memory) {
    const bool here = std::any_of(media.begin(), media.end(), [&](const MediumIdentity& m) {
      return m.key == known.medium.key;
    });
    if (here) present.push_back(&known);
  }
  int64_t least_present = INT64_MAX;
  for (const RememberedLetter* p : present) least_present = std::min(least_present, p->seen);
  const bool already_last = std::none_of(memory->begin(), memory->end(), [&](const auto& known) {
    return known.seen > least_present &&
           std::find(present.begin(), present.end(), &known) == present.end();
  });
  if (present.empty() || already_last) return false;
  const int64_t now = LastSeen(*memory) + 1;
  for (RememberedLetter* p : present) p->seen = now;
  return true;
}

std::vector<char> ChooseMediaLetters(std::set<char> in_use,
                                     const std::vector<MediumIdentity>& media,
                                     std::vector<RememberedLetter>* memory, bool* changed) {
  *changed = false;
  std::vector<char> letters;
  for (const MediumIdentity& medium : media) {
    const auto known = std::find_if(memory->begin(), memory->end(), [&](const auto& r) {
      return !medium.key.empty() && r.medium.key == medium.key;
    });
    char letter = 0;
    if (known != memory->end() && in_use.count(known->letter) == 0) {
      letter = known->letter;
      if (known->medium.label != medium.label) {
        known->medium.label = medium.label;
        *changed = true;
      }
    } else {
      // Only a medium that is to be remembered may take a kept letter for good.
      const bool remembers = !medium.key.empty() && known == memory->end();
      letter = FreeLetter(in_use, *memory, true);
      if (letter != 0 && remembers) {
        std::erase_if(*memory, [&](const RememberedLetter& r) { return r.letter == letter; });
        memory->push_back({letter, medium, LastSeen(*memory) + 1});
        *changed = true;
      }
    }
    if (letter != 0) in_use.insert(letter);
    letters.push_back(letter);
  }
  return letters;
}

}  // namespace pellmar
