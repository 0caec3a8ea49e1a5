#include "platform/sg/sg_notices.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string Printable(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (c < 0x20 || c > 0x7E) c = '?';
  }
  return shown;
}

std::string Place(const NodePlace& node) {
  std::string place = node.path + " (adapter " + std::to_string(node.adapter) + ", target " +
                      std::to_string(node.address.target) + ", LUN " +
                      std::to_string(node.address.lun);
  if (!node.description.empty()) place += ": " + Printable(node.description);
  return place + ")";
}

// " (USER:GROUP MODE)" of the node, or nothing when it cannot be examined.
std::string Ownership(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) return "";
  const passwd* user = ::getpwuid(status.st_uid);
  const group* owners = ::getgrgid(status.st_gid);
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
  return " (" + (user ? std::string(user->pw_name) : std::to_string(status.st_uid)) + ":" +
         (owners ? std::string(owners->gr_name) : std::to_string(status.st_gid)) + " " + mode + ")";
}

}  // namespace

std::string NoHostsNotice(const std::string& sysfsRoot) {
  return "No SCSI host adapter: the kernel lists none in " + sysfsRoot +
         "/class/scsi_host. Load the host adapter's driver, or start scan_fs with --simulate "
         "for the simulated scanner.";
}

std::string NoGenericDriverNotice(const std::string& sysfsRoot) {
  return "The SCSI generic driver is not loaded (" + sysfsRoot +
         "/class/scsi_generic is missing), so no SCSI device can be reached. Load it as root: "
         "modprobe sg";
}

std::string OpenFailureNotice(const NodePlace& node, int error) {
  switch (error) {
    case EACCES:
    case EPERM:
      return "No access to " + Place(node) + ": permission denied" + Ownership(node.path) +
             ". If it is the scanner, see PERMISSIONS in man scan_fs.";
    case ENOENT:
      return "Cannot open " + Place(node) +
             ": the kernel has the device but the node is missing (are udev or devtmpfs "
             "creating device nodes?).";
    case EBUSY:
      return "Cannot open " + Place(node) + ": another program holds it exclusively.";
    default:
      return "Cannot open " + Place(node) + ": " + std::strerror(error) + ".";
  }
}

std::string OtherDeviceNotice(const NodePlace& now, const std::string& found) {
  const std::string what =
      found.empty()
          ? " came after the last scanner search, which found no device there"
          : " is not the device that the last scanner search found there, " + Printable(found);
  return "Not sent: " + Place(now) + what +
         ". Nothing goes to it until a new search (Scanner Information) finds the scanner.";
}

std::string GoneDeviceNotice(unsigned adapter, unsigned target, uint64_t lun,
                             const std::string& path, const std::string& found) {
  return "The device that the scanner search found at adapter " + std::to_string(adapter) +
         ", target " + std::to_string(target) + ", LUN " + std::to_string(lun) + " (" + path +
         ": " + Printable(found) + ") is gone.";
}

std::string ResetRefusedNotice(const NodePlace& node) {
  return "The kernel refused the bus device reset through " + Place(node) +
         ": a reset needs root (CAP_SYS_ADMIN and CAP_SYS_RAWIO).";
}
