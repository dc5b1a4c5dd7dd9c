// A test that needs one fault overrides one call of a ForwardingPlatform;
// FaultyPlatform holds the faults this host cannot produce for real (an
// unformatted disk, a failed version query, terabytes free, a refused
// flush, a disk that fails to be written out, the answers of a disk service
// to an eject) and the folders made one by one.
#ifndef PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_
#define PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/forwarding_platform.h"

namespace pellmar {

class FaultyPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;

  std::string executable_path;                   // returned by ExecutablePath when set
  std::optional<uint32_t> forced_disk_error;     // FreeSpace fails with this code
  std::optional<uint64_t> forced_free_bytes;     // FreeSpace succeeds with this
  std::optional<uint32_t> forced_version_error;  // QueryVersion fails with this code
  bool fail_flush = false;                       // FlushFileIn fails
  bool fail_medium_flush = false;                // FlushMedium fails
  std::function<void()> on_medium_flush;         // runs at every FlushMedium call
  std::optional<Status> eject_answer;            // EjectMedium answers this, ejecting nothing
  std::string eject_not_powered_off;             // and, when it is ok, this of the power-off
  std::vector<std::string> ejects;               // every EjectMedium call's drive
  std::vector<std::string> created_folders;      // successful CreateFolder calls, in order
  int create_attempts = 0;                       // CreateFolder calls, failed ones too

  Status CreateFolder(const std::string& p) override {
    ++create_attempts;
    Status status = ForwardingPlatform::CreateFolder(p);
    if (status.ok()) created_folders.push_back(p);
    return status;
  }
  Status FreeSpace(const std::string& root, uint64_t* free_bytes) override {
    if (!forced_disk_error && !forced_free_bytes) {
      return ForwardingPlatform::FreeSpace(root, free_bytes);
    }
    *free_bytes = forced_disk_error ? 0 : *forced_free_bytes;
    return forced_disk_error ? Forced(*forced_disk_error) : Status::Ok();
  }
  std::string ExecutablePath() override {
    return executable_path.empty() ? ForwardingPlatform::ExecutablePath() : executable_path;
  }
  Status QueryVersion() override {
    return forced_version_error ? Forced(*forced_version_error)
                                : ForwardingPlatform::QueryVersion();
  }
  Status FlushFileIn(OpenFolder& f, const std::string& n) override {
    return fail_flush ? Forced(kErrorGenFailure) : ForwardingPlatform::FlushFileIn(f, n);
  }
  Status FlushMedium(OpenFolder& f) override {
    if (on_medium_flush) on_medium_flush();
    return fail_medium_flush ? Forced(kErrorGenFailure) : ForwardingPlatform::FlushMedium(f);
  }
  Status EjectMedium(const std::string& d, EjectResult* r) override {
    ejects.push_back(d);
    if (!eject_answer) return ForwardingPlatform::EjectMedium(d, r);
    *r = EjectResult{eject_answer->ok() && eject_not_powered_off.empty(), eject_not_powered_off};
    return *eject_answer;
  }

 private:
  static Status Forced(uint32_t code) { return Status::Error(code, "forced by the test"); }
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_
