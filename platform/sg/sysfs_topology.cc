#include "platform/sg/sysfs_topology.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The first line of a sysfs attribute without surrounding blanks; empty when unreadable.
std::string ReadAttribute(const fs::path& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// N of "<prefix>N"; nullopt for anything else.
std::optional<unsigned> NumberAfter(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
    return std::nullopt;
  }
  unsigned number = 0;
  const char* end = name.data() + name.size();
  const auto [last, error] = std::from_chars(name.data() + prefix.size(), end, number);
  if (error != std::errc() || last != end) return std::nullopt;
  return number;
}

template <typename Number>
bool TakeNumber(const char*& cursor, const char* end, Number& number, bool last) {
  const auto [next, error] = std::from_chars(cursor, end, number);
  if (error != std::errc() || next == cursor) return false;
  cursor = next;
  if (last) return cursor == end;
  if (cursor == end || *cursor != ':') return false;
  ++cursor;
  return true;
}

}  // namespace

std::vector<ScsiHost> SysfsTopology::Hosts() const {
  std::vector<ScsiHost> hosts;
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::path(root_) / "class/scsi_host", error)) {
    const std::optional<unsigned> number = NumberAfter(entry.path().filename(), "host");
    if (!number) continue;
    hosts.push_back(ScsiHost{*number, ReadAttribute(entry.path() / "proc_name")});
  }
  std::sort(hosts.begin(), hosts.end(),
            [](const ScsiHost& a, const ScsiHost& b) { return a.number < b.number; });
  return hosts;
}

bool SysfsTopology::GenericClassPresent() const {
  std::error_code error;
  return fs::is_directory(fs::path(root_) / "class/scsi_generic", error);
}

std::optional<std::string> SysfsTopology::GenericNodeAt(const ScsiAddress& address) const {
  std::error_code error;
  for (const fs::directory_entry& entry :
       fs::directory_iterator(fs::path(root_) / "class/scsi_generic", error)) {
    const std::string name = entry.path().filename();
    if (!NumberAfter(name, "sg")) continue;
    std::error_code linkError;
    const fs::path device = fs::read_symlink(entry.path() / "device", linkError);
    if (linkError) continue;
    if (ParseAddress(device.filename()) == address) return name;
  }
  return std::nullopt;
}

std::string SysfsTopology::DeviceDescription(const std::string& name) const {
  const fs::path device = fs::path(root_) / "class/scsi_generic" / name / "device";
  const std::string vendor = ReadAttribute(device / "vendor");
  const std::string model = ReadAttribute(device / "model");
  if (vendor.empty() || model.empty()) return vendor + model;
  return vendor + " " + model;
}

std::string SysfsTopology::DeviceIdentification(const std::string& name) const {
  const std::string description = DeviceDescription(name);
  const std::string revision =
      ReadAttribute(fs::path(root_) / "class/scsi_generic" / name / "device/rev");
  if (description.empty() || revision.empty()) return description + revision;
  return description + " " + revision;
}

std::optional<DeviceIdentity> SysfsTopology::IdentityOf(const std::string& name) const {
  const fs::path device = fs::path(root_) / "class/scsi_generic" / name / "device";
  struct stat directory;
  if (::stat(device.c_str(), &directory) != 0) return std::nullopt;
  return DeviceIdentity{name, static_cast<uint64_t>(directory.st_ino)};
}

std::optional<ScsiAddress> SysfsTopology::ParseAddress(const std::string& text) {
  ScsiAddress address{};
  const char* cursor = text.data();
  const char* end = text.data() + text.size();
  if (TakeNumber(cursor, end, address.host, false) &&
      TakeNumber(cursor, end, address.channel, false) &&
      TakeNumber(cursor, end, address.target, false) &&
      TakeNumber(cursor, end, address.lun, true)) {
    return address;
  }
  return std::nullopt;
}
