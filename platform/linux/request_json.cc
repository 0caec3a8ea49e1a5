#include "platform/linux/request_json.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "scsi/command_table.h"
#include "scsi/srb.h"

namespace {

constexpr uint32_t kLargestInlineData = 512;

// A fixed-width text field as the body of a JSON string; bytes outside printable ASCII as \u00XX.
std::string JsonText(const uint8_t* field, size_t width) {
  std::string text;
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
  return text;
}

// One JSON object, put together in place: a trace line per request must cost little.
class JsonLine {
 public:
  JsonLine() { text_.reserve(160); }
  JsonLine& Number(const char* key, unsigned long value) {
    Key(key);
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text_.append(digits, end);
    return *this;
  }
  JsonLine& Hex(const char* key, const uint8_t* bytes, size_t length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    Key(key);
    text_ += '"';
    const size_t at = text_.size();
    text_.resize(at + 2 * length);
    for (size_t i = 0; i < length; ++i) {
      text_[at + 2 * i] = kDigits[bytes[i] >> 4];
      text_[at + 2 * i + 1] = kDigits[bytes[i] & 0xF];
    }
    text_ += '"';
    return *this;
  }
  JsonLine& Text(const char* key, const uint8_t* field, size_t width) {
    Key(key);
    text_ += '"';
    text_ += JsonText(field, width);
    text_ += '"';
    return *this;
  }
  std::string Close() {
    text_ += '}';
    return std::move(text_);
  }

 private:
  void Key(const char* key) {
    text_ += text_.empty() ? "{\"" : ",\"";
    text_ += key;
    text_ += "\":";
  }

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
  line.Hex("cdb", request.CDBByte, cdbLength);
  const DataDirection direction = CommandDataDirection(request.CDBByte[0]);
  const uint8_t* buffer = request.SRB_BufPointer;
  if (direction == DataDirection::kOut && buffer != nullptr) {
    line.Hex("out", buffer, request.SRB_BufLen);
  }
  if (direction == DataDirection::kIn && buffer != nullptr && status == SS_COMP) {
    const uint32_t received = std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen);
    if (received <= kLargestInlineData) {
      line.Hex("in", buffer, received);
    } else {
      line.Number("in_len", received);
    }
  }
  line.Number("status", status)
      .Number("hastat", request.SRB_HaStat)
      .Number("targstat", request.SRB_TargStat);
  if (status != SS_COMP) {
    const size_t senseLength = std::min<size_t>(request.SRB_SenseLen, sizeof request.SenseArea);
    line.Hex("sense", request.SenseArea, senseLength);
  }
  return line.Close();
}

std::string DescribeAdapterInquiry(const SRB_HAInquiry& inquiry, uint8_t status) {
  JsonLine line;
  line.Number("cmd", inquiry.SRB_Cmd).Number("ha", inquiry.SRB_HaId).Number("status", status);
  if (status == SS_COMP) {
    line.Number("scsi_id", inquiry.HA_SCSI_ID)
        .Text("manager", inquiry.HA_ManagerId, sizeof inquiry.HA_ManagerId)
        .Text("identifier", inquiry.HA_Identifier, sizeof inquiry.HA_Identifier);
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
