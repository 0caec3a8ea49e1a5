#include "platform/linux/request_trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "scsi/command_table.h"
#include "scsi/srb.h"

namespace {

constexpr uint32_t kLargestInlineData = 512;

std::string Hex(const uint8_t* bytes, size_t length) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * length);
  for (size_t i = 0; i < length; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0xF];
  }
  return hex;
}

// A fixed-width text field as a JSON string; bytes outside printable ASCII as \u00XX.
std::string JsonText(const uint8_t* field, size_t width) {
  std::string text = "\"";
  for (size_t i = 0; i < width && field[i] != 0; ++i) {
    const uint8_t byte = field[i];
    if (byte == '"' || byte == '\\') {
      text += '\\';
      text += static_cast<char>(byte);
    } else if (byte < 0x20 || byte > 0x7E) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      text += escaped;
    } else {
      text += static_cast<char>(byte);
    }
  }
  return text + "\"";
}

class JsonLine {
 public:
  JsonLine& Number(const char* key, unsigned long value) { return Raw(key, std::to_string(value)); }
  JsonLine& String(const char* key, const std::string& value) {
    return Raw(key, "\"" + value + "\"");
  }
  JsonLine& Raw(const char* key, const std::string& json) {
    text_ += text_.empty() ? "{" : ",";
    text_ += "\"";
    text_ += key;
    text_ += "\":";
    text_ += json;
    return *this;
  }
  std::string Close() const { return text_ + "}"; }

 private:
  std::string text_;
};

std::string DescribeScsiRequest(const SRB_ExecSCSICmd& request, uint8_t status) {
  JsonLine line;
  line.Number("cmd", request.SRB_Cmd)
      .Number("ha", request.SRB_HaId)
      .Number("target", request.SRB_Target)
      .Number("lun", request.SRB_Lun)
      .Number("flags", request.SRB_Flags)
      .Number("buflen", request.SRB_BufLen);
  const size_t cdbLength = std::min<size_t>(request.SRB_CDBLen, sizeof request.CDBByte);
  line.String("cdb", Hex(request.CDBByte, cdbLength));
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  const uint8_t* buffer = request.SRB_BufPointer;
  if (direction == DataDirection::kOut && buffer != nullptr) {
    line.String("out", Hex(buffer, request.SRB_BufLen));
  }
  if (direction == DataDirection::kIn && buffer != nullptr && status == SS_COMP) {
    const uint32_t received = std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen);
    if (received <= kLargestInlineData) {
      line.String("in", Hex(buffer, received));
    } else {
      line.Number("in_len", received);
    }
  }
  line.Number("status", status)
      .Number("hastat", request.SRB_HaStat)
      .Number("targstat", request.SRB_TargStat);
  if (status != SS_COMP) {
    const size_t senseLength = std::min<size_t>(request.SRB_SenseLen, sizeof request.SenseArea);
    line.String("sense", Hex(request.SenseArea, senseLength));
  }
  return line.Close();
}

std::string DescribeAdapterInquiry(const SRB_HAInquiry& inquiry, uint8_t status) {
  JsonLine line;
  line.Number("cmd", inquiry.SRB_Cmd).Number("ha", inquiry.SRB_HaId).Number("status", status);
  if (status == SS_COMP) {
    line.Number("scsi_id", inquiry.HA_SCSI_ID)
        .Raw("manager", JsonText(inquiry.HA_ManagerId, sizeof inquiry.HA_ManagerId))
        .Raw("identifier", JsonText(inquiry.HA_Identifier, sizeof inquiry.HA_Identifier));
  }
  return line.Close();
}

std::string DescribeReset(const SRB_BusDeviceReset& reset, uint8_t status) {
  JsonLine line;
  line.Number("cmd", reset.SRB_Cmd)
      .Number("ha", reset.SRB_HaId)
      .Number("target", reset.SRB_Target)
      .Number("lun", reset.SRB_Lun)
      .Number("status", status)
      .Number("hastat", reset.SRB_HaStat);
  return line.Close();
}

}  // namespace

std::string DescribeRequest(const void* requestBlock, uint8_t status) {
  const auto* header = static_cast<const SRB_Header*>(requestBlock);
  switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
      return DescribeAdapterInquiry(*static_cast<const SRB_HAInquiry*>(requestBlock), status);
    case SC_EXEC_SCSI_CMD:
      return DescribeScsiRequest(*static_cast<const SRB_ExecSCSICmd*>(requestBlock), status);
    case SC_RESET_DEV:
      return DescribeReset(*static_cast<const SRB_BusDeviceReset*>(requestBlock), status);
    default:
      return JsonLine().Number("cmd", header->SRB_Cmd).Number("status", status).Close();
  }
}

namespace {

// Writes all of `data`, going on after a partial write; false on the first error.
bool WriteWhole(int fd, const char* data, size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(fd, data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

bool RequestTrace::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd_ >= 0;
}

RequestTrace::~RequestTrace() {
  Close();
}

void RequestTrace::Record(const void* requestBlock, uint8_t status) {
  const std::string line = DescribeRequest(requestBlock, status) + "\n";
  std::lock_guard lock(mutex_);
  if (fd_ < 0 || error_ != 0) return;
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  if (WriteWhole(fd_, line.data(), line.size())) return;
  error_ = errno != 0 ? errno : EIO;
  // Takes back the part of the line that reached the file, so that the trace ends with a whole
  // line; nothing more is written, since a gap would pass for requests that never happened.
  if (start >= 0 && ::ftruncate(fd_, start) == 0) ::lseek(fd_, start, SEEK_SET);
}

int RequestTrace::Close() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
  }
  return error_;
}
