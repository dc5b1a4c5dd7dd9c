// The refusals learned so far: one table for every thread of the process,
// under a lock, so what one thread learned spares the others the failure.
//
// A device number that comes back with another file system (a stick
// swapped while the window stays open) keeps what the old one refused; the
// calls then take the slower way such a file system gets anyway.
#include "platform/posix/refused_calls.h"

#include <mutex>
#include <unordered_map>

namespace pellmar {
namespace {

struct RefusalTable {
  std::mutex mutex;
  std::unordered_map<uint64_t, uint8_t> by_device;  // RefusedCall bits
};

RefusalTable& Table() {
  static RefusalTable table;
  return table;
}

}  // namespace

bool Refused(uint64_t device, RefusedCall call) {
  RefusalTable& table = Table();
  const std::lock_guard<std::mutex> hold(table.mutex);
  const auto known = table.by_device.find(device);
  return known != table.by_device.end() && (known->second & static_cast<uint8_t>(call)) != 0;
}

void NoteRefused(uint64_t device, RefusedCall call) {
  RefusalTable& table = Table();
  const std::lock_guard<std::mutex> hold(table.mutex);
  table.by_device[device] |= static_cast<uint8_t>(call);
}

}  // namespace pellmar
