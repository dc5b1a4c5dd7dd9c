// The udisks2 calls of an eject, through sd-bus: its object manager for the
// block devices and drives, Filesystem.Unmount, then Drive.PowerOff or, for
// a loop device, Loop.Delete. No option forces anything: a busy medium
// stays mounted and the user is told what holds it.
#include "platform/posix/udisks_eject.h"

#include <systemd/sd-bus.h>

#include <cstring>
#include <memory>

#include "platform/posix/medium_holders.h"
#include "platform/posix/udisks_objects.h"

namespace pellmar {
namespace {

constexpr char kService[] = "org.freedesktop.UDisks2";
constexpr char kRoot[] = "/org/freedesktop/UDisks2";
constexpr char kBlock[] = "org.freedesktop.UDisks2.Block";
constexpr char kFilesystem[] = "org.freedesktop.UDisks2.Filesystem";
constexpr char kPartition[] = "org.freedesktop.UDisks2.Partition";
constexpr char kLoop[] = "org.freedesktop.UDisks2.Loop";
constexpr char kDrive[] = "org.freedesktop.UDisks2.Drive";
// Unmounting writes out what the system still caches, which on a slow
// stick takes minutes; the desktop may also ask the user for a password
// meanwhile.
constexpr uint64_t kCallMicroseconds = 10ull * 60 * 1000 * 1000;
constexpr size_t kHoldersNamed = 5;

using Bus = std::unique_ptr<sd_bus, sd_bus* (*)(sd_bus*)>;
using Message = std::unique_ptr<sd_bus_message, sd_bus_message* (*)(sd_bus_message*)>;

struct BusError {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  ~BusError() { sd_bus_error_free(&error); }
  bool Is(const char* name) const { return sd_bus_error_has_name(&error, name) > 0; }
  std::string Text() const {
    return error.message != nullptr ? error.message : error.name != nullptr ? error.name : "";
  }
};

std::string ErrnoText(int negative_errno) { return std::strerror(-negative_errno); }

// Calls `member` of `interface` on `object` with an empty option dictionary,
// the one argument every udisks2 call of an eject takes.
int CallWithNoOptions(sd_bus* bus, const std::string& object, const char* interface,
                      const char* member, BusError* error) {
  sd_bus_message* raw = nullptr;
  int r = sd_bus_message_new_method_call(bus, &raw, kService, object.c_str(), interface, member);
  const Message call(raw, sd_bus_message_unref);
  if (r >= 0) r = sd_bus_message_open_container(call.get(), SD_BUS_TYPE_ARRAY, "{sv}");
  if (r >= 0) r = sd_bus_message_close_container(call.get());
  if (r < 0) return r;
  sd_bus_message* reply = nullptr;
  r = sd_bus_call(bus, call.get(), kCallMicroseconds, &error->error, &reply);
  sd_bus_message_unref(reply);
  return r;
}

// The aay of MountPoints: each a path with its closing NUL.
int ReadMountPoints(sd_bus_message* m, std::vector<std::string>* points) {
  int r = sd_bus_message_enter_container(m, SD_BUS_TYPE_VARIANT, "aay");
  if (r >= 0) r = sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "ay");
  const void* bytes = nullptr;
  size_t size = 0;
  while (r >= 0 && (r = sd_bus_message_read_array(m, 'y', &bytes, &size)) > 0) {
    std::string point(static_cast<const char*>(bytes), size);
    while (!point.empty() && point.back() == '\0') point.pop_back();
    points->push_back(std::move(point));
  }
  if (r >= 0) r = sd_bus_message_exit_container(m);
  if (r >= 0) r = sd_bus_message_exit_container(m);
  return r;
}

int ReadString(sd_bus_message* m, const char* type, std::string* value) {
  const char* text = nullptr;
  const int r = sd_bus_message_read(m, "v", type, &text);
  if (r >= 0 && text != nullptr) *value = text;
  return r;
}

// One property of one interface of an object; the others are skipped.
int ReadProperty(sd_bus_message* m, const std::string& interface, const std::string& name,
                 UdisksBlock* block, bool* can_power_off) {
  if (interface == kFilesystem && name == "MountPoints") {
    return ReadMountPoints(m, &block->mount_points);
  }
  if (interface == kBlock && name == "Drive") return ReadString(m, "o", &block->drive);
  if (interface == kPartition && name == "Table") return ReadString(m, "o", &block->table);
  if (interface == kDrive && name == "CanPowerOff") {
    int value = 0;
    const int r = sd_bus_message_read(m, "v", "b", &value);
    *can_power_off = value != 0;
    return r;
  }
  return sd_bus_message_skip(m, "v");
}

// The a{sa{sv}} of one object: its interfaces and their properties.
int ReadObject(sd_bus_message* m, const std::string& path, UdisksObjects* objects) {
  UdisksBlock block;
  bool is_block = false, is_drive = false, can_power_off = false;
  int r = sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sa{sv}}");
  while (r >= 0 && (r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sa{sv}")) > 0) {
    const char* raw_interface = nullptr;
    r = sd_bus_message_read(m, "s", &raw_interface);
    const std::string interface = raw_interface != nullptr ? raw_interface : "";
    is_block = is_block || interface == kBlock;
    is_drive = is_drive || interface == kDrive;
    block.has_filesystem = block.has_filesystem || interface == kFilesystem;
    block.is_loop = block.is_loop || interface == kLoop;
    if (r >= 0) r = sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, "{sv}");
    while (r >= 0 && (r = sd_bus_message_enter_container(m, SD_BUS_TYPE_DICT_ENTRY, "sv")) > 0) {
      const char* name = nullptr;
      r = sd_bus_message_read(m, "s", &name);
      if (r >= 0) r = ReadProperty(m, interface, name, &block, &can_power_off);
      if (r >= 0) r = sd_bus_message_exit_container(m);
    }
    if (r >= 0) r = sd_bus_message_exit_container(m);
    if (r >= 0) r = sd_bus_message_exit_container(m);
  }
  if (r >= 0) r = sd_bus_message_exit_container(m);
  if (is_block) objects->blocks[path] = std::move(block);
  if (is_drive) objects->drives[path] = can_power_off;
  return r;
}

Status ServiceStatus(int r, const BusError& error) {
  if (error.Is(SD_BUS_ERROR_SERVICE_UNKNOWN) || error.Is(SD_BUS_ERROR_NAME_HAS_NO_OWNER)) {
    return Status::Error(kErrorServiceNotActive, "the disk service udisks2 is not running");
  }
  const std::string why = error.Text().empty() ? ErrnoText(r) : error.Text();
  return Status::Error(kErrorServiceNotActive, "the disk service udisks2 did not answer: " + why);
}

Status ReadObjects(sd_bus* bus, UdisksObjects* objects) {
  BusError error;
  sd_bus_message* raw = nullptr;
  int r = sd_bus_call_method(bus, kService, kRoot, "org.freedesktop.DBus.ObjectManager",
                             "GetManagedObjects", &error.error, &raw, "");
  const Message reply(raw, sd_bus_message_unref);
  if (r < 0) return ServiceStatus(r, error);
  r = sd_bus_message_enter_container(reply.get(), SD_BUS_TYPE_ARRAY, "{oa{sa{sv}}}");
  while (r >= 0 && (r = sd_bus_message_enter_container(reply.get(), SD_BUS_TYPE_DICT_ENTRY,
                                                       "oa{sa{sv}}")) > 0) {
    const char* path = nullptr;
    r = sd_bus_message_read(reply.get(), "o", &path);
    if (r >= 0) r = ReadObject(reply.get(), path, objects);
    if (r >= 0) r = sd_bus_message_exit_container(reply.get());
  }
  if (r < 0) {
    return Status::Error(
        kErrorServiceNotActive,
        "the disk service udisks2 gave a list that cannot be read: " + ErrnoText(r));
  }
  return Status::Ok();
}

Status UnmountStatus(int r, const BusError& error, const std::string& mount_point) {
  if (error.Is("org.freedesktop.UDisks2.Error.DeviceBusy")) {
    std::string holders;
    for (const std::string& holder : ProcessesUsing(mount_point, kHoldersNamed)) {
      holders += (holders.empty() ? "" : ", ") + holder;
    }
    return Status::Error(kErrorDeviceInUse, holders.empty() ? error.Text() : "used by " + holders);
  }
  if (error.Is("org.freedesktop.UDisks2.Error.NotAuthorized") ||
      error.Is("org.freedesktop.UDisks2.Error.NotAuthorizedCanObtain") ||
      error.Is("org.freedesktop.UDisks2.Error.NotAuthorizedDismissed")) {
    return Status::Error(kErrorAccessDenied, "this user may not unmount it: " + error.Text());
  }
  const std::string why = error.Text().empty() ? ErrnoText(r) : error.Text();
  return Status::Error(kErrorGenFailure, "it could not be unmounted: " + why);
}

// After the unmount the medium's data is all on it; a failed power-off
// leaves a medium that can still be pulled out, so it is told, not failed.
void PowerOff(sd_bus* bus, const UdisksEjectPlan& plan, EjectResult* result) {
  if (plan.loop.empty() && plan.drive.empty()) return;
  BusError error;
  const int r = plan.loop.empty() ? CallWithNoOptions(bus, plan.drive, kDrive, "PowerOff", &error)
                                  : CallWithNoOptions(bus, plan.loop, kLoop, "Delete", &error);
  // A loop device the kernel let go of with its file system is off already.
  const bool gone = error.Is(SD_BUS_ERROR_UNKNOWN_OBJECT) || error.Is(SD_BUS_ERROR_UNKNOWN_METHOD);
  result->powered_off = r >= 0 || (!plan.loop.empty() && gone);
  if (!result->powered_off)
    result->not_powered_off = error.Text().empty() ? ErrnoText(r) : error.Text();
}

}  // namespace

Status EjectThroughUdisks(const std::string& mount_point, EjectResult* result) {
  *result = EjectResult{};
  sd_bus* raw = nullptr;
  const int opened = sd_bus_open_system(&raw);
  const Bus bus(raw, sd_bus_flush_close_unref);
  if (opened < 0) {
    return Status::Error(kErrorServiceNotActive,
                         "the system bus cannot be reached: " + ErrnoText(opened));
  }
  UdisksObjects objects;
  if (Status read = ReadObjects(bus.get(), &objects); !read.ok()) return read;
  const UdisksEjectPlan plan = PlanUdisksEject(objects, mount_point);
  if (plan.filesystem.empty()) {
    return Status::Error(kErrorNotSupported,
                         "the disk service udisks2 has mounted no disk at " + mount_point);
  }
  BusError error;
  const int r = CallWithNoOptions(bus.get(), plan.filesystem, kFilesystem, "Unmount", &error);
  if (r < 0 && !error.Is("org.freedesktop.UDisks2.Error.NotMounted")) {
    return UnmountStatus(r, error, mount_point);
  }
  PowerOff(bus.get(), plan, result);
  return Status::Ok();
}

}  // namespace pellmar
