#include "sim/inquiry_data.h"

#include <algorithm>

#include "sim/device_checks.h"

namespace {

void PutField(InquiryData& data, size_t offset, size_t width, std::string_view text) {
  for (size_t i = 0; i < width; ++i) data[offset + i] = i < text.size() ? text[i] : ' ';
}

}  // namespace

InquiryData MakeInquiryData(uint8_t deviceType, std::string_view vendor, std::string_view product,
                            std::string_view revision) {
  InquiryData data{};
  data[0] = deviceType;
  data[2] = 0x02;  // SCSI-2
  data[3] = 0x02;  // response data format
  data[4] = 31;    // additional length
  PutField(data, 8, 8, vendor);
  PutField(data, 16, 16, product);
  PutField(data, 32, 4, revision);
  return data;
}

CommandOutcome AnswerInquiry(std::span<const uint8_t> cdb, std::span<uint8_t> data,
                             const InquiryData& inquiry, size_t available) {
  if (auto fault = CheckCdb(cdb, 6, {0x12, 0, 0, 0, kAnyByte, 0})) return *fault;
  const size_t length = std::min<size_t>({cdb[4], available, inquiry.size()});
  if (auto fault = CheckDataBuffer(data, length)) return *fault;
  std::copy_n(inquiry.begin(), length, data.begin());
  return Returned(length);
}
