// What a run tells whoever watches it: the plan that counts and lists the
// acts before a run, and the progress shown while it goes.
#ifndef PELLMAR_CORE_RUN_OBSERVER_H_
#define PELLMAR_CORE_RUN_OBSERVER_H_

#include <cstdint>
#include <string>

namespace pellmar {

class RunObserver {
 public:
  enum class Act { kCopy, kReplace, kDelete, kRemoveFolder };

  virtual ~RunObserver() = default;
  /// An act that was done (on a platform that changes nothing: that would
  /// be done). `path` is the file copied from, deleted or removed.
  virtual void Done(Act act, const std::string& path, int64_t size) = 0;
  /// A copy was attempted, whether it was made or not.
  virtual void CopyEnded(int64_t /*size*/) {}
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_OBSERVER_H_
