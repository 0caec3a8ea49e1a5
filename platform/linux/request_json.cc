#include "platform/linux/request_json.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

#include "scsi/command_table.h"
#include "scsi/srb.h"

namespace {

constexpr uint32_t kLargestInlineData = 512;

// Room for a line's fixed fields: keys, numbers, punctuation.
constexpr size_t kFixedFieldsRoom = 256;
// The most a text field of `width` bytes takes: \u00XX for each byte.
constexpr size_t TextRoom(size_t width) {
  return 6 * width;
}

// One JSON object written in place at the end of a text, into room set aside first (`room`
// bytes at the most): a trace line per request must cost little.
class JsonLine {
 public:
  JsonLine(std::string& out, size_t room) : out_(out), start_(out.size()) {
    out_.resize(start_ + room);
    at_ = out_.data() + start_;
  }
  JsonLine& Number(std::string_view key, unsigned long value) {
    Key(key);
    at_ = std::to_chars(at_, at_ + 20, value).ptr;
    return *this;
  }
  JsonLine& Hex(std::string_view key, const uint8_t* bytes, size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Key(key);
    *at_++ = '"';
    for (size_t i = 0; i < length; ++i) {
      *at_++ = kDigits[bytes[i] >> 4];
      *at_++ = kDigits[bytes[i] & 0xF];
    }
    *at_++ = '"';
    return *this;
  }
  // A fixed-width text field: up to its width or a zero byte; bytes outside printable ASCII as
  // \u00XX.
  JsonLine& Text(std::string_view key, const uint8_t* field, size_t width) {
    Key(key);
    *at_++ = '"';
    for (size_t i = 0; i < width && field[i] != 0; ++i) {
      const uint8_t byte = field[i];
      if (byte == '"' || byte == '\\') {
        *at_++ = '\\';
        *at_++ = static_cast<char>(byte);
      } else if (byte < 0x20 || byte > 0x7E) {
        at_ += std::snprintf(at_, 7, "\\u%04x", byte);
      } else {
        *at_++ = static_cast<char>(byte);
      }
    }
    *at_++ = '"';
    return *this;
  }
  void Close() {
    *at_++ = '}';
    *at_++ = '\n';
    out_.resize(static_cast<size_t>(at_ - out_.data()));
  }

 private:
  void Key(std::string_view key) {
    const bool first = at_ == out_.data() + start_;
    *at_++ = first ? '{' : ',';
    *at_++ = '"';
    at_ = std::copy(key.begin(), key.end(), at_);
    *at_++ = '"';
    *at_++ = ':';
  }

  std::string& out_;
  size_t start_;
  char* at_;
};

void DescribeScsiRequest(std::string& out, const SRB_ExecSCSICmd& request, uint8_t status) {
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  const uint8_t* buffer = request.SRB_BufPointer;
  const uint32_t sent =
      direction == DataDirection::kOut && buffer != nullptr ? request.SRB_BufLen : 0;
  const uint32_t received =
      direction == DataDirection::kIn && buffer != nullptr && status == SS_COMP
          ? std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen)
          : 0;
  const uint32_t shownReceived = received <= kLargestInlineData ? received : 0;
  const size_t senseLength =
      status == SS_COMP ? 0 : std::min<size_t>(request.SRB_SenseLen, sizeof request.SenseArea);

  JsonLine line(out, kFixedFieldsRoom + 2 * (size_t{sent} + shownReceived + senseLength));
  line.Number("cmd", request.SRB_Cmd)
      .Number("ha", request.SRB_HaId)
      .Number("target", request.SRB_Target)
      .Number("lun", request.SRB_Lun)
      .Number("flags", request.SRB_Flags)
      .Number("buflen", request.SRB_BufLen)
      .Hex("cdb", request.CDBByte, std::min<size_t>(request.SRB_CDBLen, sizeof request.CDBByte));
  if (sent > 0) line.Hex("out", buffer, sent);
  if (received > kLargestInlineData) {
    line.Number("in_len", received);
  } else if (direction == DataDirection::kIn && buffer != nullptr && status == SS_COMP) {
    line.Hex("in", buffer, received);
  }
  line.Number("status", status)
      .Number("hastat", request.SRB_HaStat)
      .Number("targstat", request.SRB_TargStat);
  if (status != SS_COMP) line.Hex("sense", request.SenseArea, senseLength);
  line.Close();
}

void DescribeAdapterInquiry(std::string& out, const SRB_HAInquiry& inquiry, uint8_t status) {
  JsonLine line(out, kFixedFieldsRoom + TextRoom(sizeof inquiry.HA_ManagerId) +
                         TextRoom(sizeof inquiry.HA_Identifier));
  line.Number("cmd", inquiry.SRB_Cmd).Number("ha", inquiry.SRB_HaId).Number("status", status);
  if (status == SS_COMP) {
    line.Number("scsi_id", inquiry.HA_SCSI_ID)
        .Text("manager", inquiry.HA_ManagerId, sizeof inquiry.HA_ManagerId)
        .Text("identifier", inquiry.HA_Identifier, sizeof inquiry.HA_Identifier);
  }
  line.Close();
}

void DescribeReset(std::string& out, const SRB_BusDeviceReset& reset, uint8_t status) {
  JsonLine line(out, kFixedFieldsRoom);
  line.Number("cmd", reset.SRB_Cmd)
      .Number("ha", reset.SRB_HaId)
      .Number("target", reset.SRB_Target)
      .Number("lun", reset.SRB_Lun)
      .Number("status", status)
      .Number("hastat", reset.SRB_HaStat);
  line.Close();
}

}  // namespace

void AppendRequestLine(std::string& out, const void* requestBlock, uint8_t status) {
  const auto* header = static_cast<const SRB_Header*>(requestBlock);
  switch (header->SRB_Cmd) {
    case SC_HA_INQUIRY:
      DescribeAdapterInquiry(out, *static_cast<const SRB_HAInquiry*>(requestBlock), status);
      break;
    case SC_EXEC_SCSI_CMD:
      DescribeScsiRequest(out, *static_cast<const SRB_ExecSCSICmd*>(requestBlock), status);
      break;
    case SC_RESET_DEV:
      DescribeReset(out, *static_cast<const SRB_BusDeviceReset*>(requestBlock), status);
      break;
    default:
      JsonLine(out, kFixedFieldsRoom)
          .Number("cmd", header->SRB_Cmd)
          .Number("status", status)
          .Close();
      break;
  }
}
