#include "platform/linux/scan_inspection.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "inspection/report_text.h"
#include "platform/linux/preview_png.h"
#include "scsi/byte_order.h"
#include "scsi/command_table.h"
#include "scsi/srb.h"

namespace {

constexpr uint8_t kSetWindow = 0x24;
constexpr uint8_t kScan = 0x1B;
constexpr uint8_t kDataStatus = 0x34;
constexpr uint8_t kRead = 0x28;
constexpr uint8_t kObjectPosition = 0x31;
constexpr uint8_t kReleaseUnit = 0x17;

// Where the window list and the status reply hold what the inspection needs.
constexpr uint32_t kWindowResolutionAt = 10;
constexpr uint32_t kStatusReplyLength = 24;

}  // namespace

void ScanInspection::Observe(const void* requestBlock, uint8_t status) {
  const auto* header = static_cast<const SRB_Header*>(requestBlock);
  if (header->SRB_Cmd != SC_EXEC_SCSI_CMD) return;
  const auto& request = *static_cast<const SRB_ExecSCSICmd*>(requestBlock);
  const uint8_t* data = request.SRB_BufPointer;
  const uint32_t length = std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen);
  const bool done = status == SS_COMP && data != nullptr;
  std::lock_guard lock(mutex_);
  switch (request.CDBByte[0]) {
    case kSetWindow:
      if (done && length >= kWindowResolutionAt + 2) {
        resolution_ = LoadBigEndian16(&data[kWindowResolutionAt]);
      }
      break;
    case kScan:
      if (!done) break;
      EndScan();
      awaitingSize_ = true;
      break;
    case kDataStatus:
      if (!done || !awaitingSize_ || length < kStatusReplyLength) break;
      awaitingSize_ = false;
      bytesPerLine_ = LoadBigEndian32(&data[12]);
      inspector_.Begin(bytesPerLine_ / 3, LoadBigEndian32(&data[16]), resolution_, keepPreview_);
      inImage_ = true;
      dataLost_ = false;
      partRow_.clear();
      break;
    case kRead:
      if (!inImage_) break;
      if (done) {
        AddImageData(data, length);
      } else {
        dataLost_ = true;
      }
      break;
    case kObjectPosition:
    case kReleaseUnit:
      EndScan();
      break;
    default:
      break;
  }
}

void ScanInspection::AddImageData(const uint8_t* data, uint32_t length) {
  // An image of no pixels, or too large to judge: nothing is kept of it.
  if (!inspector_.takesRows()) return;
  while (length > 0 && inspector_.rowsAdded() < inspector_.lines()) {
    if (partRow_.empty() && length >= bytesPerLine_) {
      inspector_.AddRow(data);
      data += bytesPerLine_;
      length -= bytesPerLine_;
      continue;
    }
    const uint32_t piece =
        std::min<uint32_t>(length, bytesPerLine_ - static_cast<uint32_t>(partRow_.size()));
    partRow_.insert(partRow_.end(), data, data + piece);
    data += piece;
    length -= piece;
    if (partRow_.size() == bytesPerLine_) {
      inspector_.AddRow(partRow_.data());
      partRow_.clear();
    }
  }
  if (inspector_.rowsAdded() == inspector_.lines()) EndScan();
}

void ScanInspection::EndScan() {
  if (awaitingSize_) ended_.push_back({});
  awaitingSize_ = false;
  if (!inImage_) return;
  inImage_ = false;
  InspectedScan scan;
  scan.report = inspector_.End(dataLost_);
  scan.preview = inspector_.Preview(*scan.report);
  ended_.push_back(std::move(scan));
  partRow_ = {};
}

std::vector<InspectedScan> ScanInspection::TakeEnded() {
  std::lock_guard lock(mutex_);
  EndScan();
  return std::exchange(ended_, {});
}

std::vector<std::string> ReportInspectedScans(const std::vector<InspectedScan>& scans,
                                              const std::optional<std::string>& previewPath,
                                              BatchReport& report) {
  std::vector<std::string> warnings;
  for (const InspectedScan& scan : scans) {
    std::string previewError;
    if (previewPath && scan.preview &&
        !WritePreviewPng(*previewPath, *scan.preview, previewError)) {
      previewError = *previewPath + ": " + previewError;
    }
    report.Inspection(scan.report ? &*scan.report : nullptr, previewError);
    if (!scan.report) {
      warnings.push_back(kNoImageSize);
    } else if (!scan.report->judged) {
      warnings.push_back(ReportLines(*scan.report)[1]);
    } else if (!scan.report->findings.empty()) {
      warnings.push_back(Verdict(*scan.report));
    }
    if (!previewError.empty()) warnings.push_back("preview not written: " + previewError);
  }
  return warnings;
}
