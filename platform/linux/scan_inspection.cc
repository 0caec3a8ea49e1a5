#include "platform/linux/scan_inspection.h"

#include <algorithm>
#include <utility>

#include "inspection/report_text.h"
#include "platform/batch/batch_front_end.h"
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

// Chunks copied and not yet inspected: enough for the thread to keep up without holding the scan.
constexpr size_t kChunkBuffers = 8;

}  // namespace

ScanInspection::ScanInspection(bool keepPreview)
    : keepPreview_(keepPreview), freeBuffers_(kChunkBuffers), thread_([this] { Inspect(); }) {}

ScanInspection::~ScanInspection() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  thread_.join();
}

void ScanInspection::Observe(const void* requestBlock, uint8_t status) {
  const auto* header = static_cast<const SRB_Header*>(requestBlock);
  if (header->SRB_Cmd != SC_EXEC_SCSI_CMD) return;
  const auto& request = *static_cast<const SRB_ExecSCSICmd*>(requestBlock);
  const uint8_t* data = request.SRB_BufPointer;
  const uint32_t length = std::min(CommandTransferLength(request.CDBByte), request.SRB_BufLen);
  const bool done = status == SS_COMP && data != nullptr;
  std::unique_lock lock(mutex_);
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
      inImage_ = true;
      Post(Event(Event::Kind::kBegin, LoadBigEndian32(&data[12]), LoadBigEndian32(&data[16]),
                 resolution_));
      break;
    case kRead:
      if (!inImage_) break;
      if (!done) {
        Post(Event(Event::Kind::kDataLost));
        break;
      }
      if (freeBuffers_.empty()) {
        observerWaits_ = true;
        room_.wait(lock, [this] { return freeBuffers_.size() >= kChunkBuffers / 2; });
        observerWaits_ = false;
      }
      {
        Event event(Event::Kind::kData);
        event.data = std::move(freeBuffers_.back());
        freeBuffers_.pop_back();
        event.data.assign(data, data + length);
        Post(std::move(event));
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

void ScanInspection::Post(Event event) {
  events_.push_back(std::move(event));
  if (threadWaits_) work_.notify_one();
}

void ScanInspection::EndScan() {
  if (awaitingSize_) Post(Event(Event::Kind::kNoSize));
  awaitingSize_ = false;
  if (inImage_) Post(Event(Event::Kind::kEnd));
  inImage_ = false;
}

std::vector<InspectedScan> ScanInspection::TakeEnded() {
  std::unique_lock lock(mutex_);
  EndScan();
  takerWaits_ = true;
  room_.wait(lock, [this] { return events_.empty() && !busy_; });
  takerWaits_ = false;
  return std::exchange(ended_, {});
}

void ScanInspection::Inspect() {
  std::unique_lock lock(mutex_);
  for (;;) {
    threadWaits_ = true;
    work_.wait(lock, [this] { return stopping_ || !events_.empty(); });
    threadWaits_ = false;
    if (events_.empty()) return;
    Event event = std::move(events_.front());
    events_.pop_front();
    busy_ = true;
    lock.unlock();
    Handle(event);
    lock.lock();
    busy_ = false;
    if (event.kind == Event::Kind::kData) freeBuffers_.push_back(std::move(event.data));
    if ((observerWaits_ && freeBuffers_.size() >= kChunkBuffers / 2) ||
        (takerWaits_ && events_.empty())) {
      room_.notify_all();
    }
  }
}

void ScanInspection::Handle(Event& event) {
  switch (event.kind) {
    case Event::Kind::kBegin:
      bytesPerLine_ = event.bytesPerLine;
      inspector_.Begin(event.bytesPerLine / 3, event.lines, event.resolution, keepPreview_);
      dataLost_ = false;
      partRow_.clear();
      return;
    case Event::Kind::kData:
      AddImageData(event.data.data(), event.data.size());
      return;
    case Event::Kind::kDataLost:
      dataLost_ = true;
      return;
    case Event::Kind::kEnd: {
      InspectedScan scan;
      scan.report = inspector_.End(dataLost_);
      scan.preview = inspector_.Preview(*scan.report);
      partRow_ = {};
      std::lock_guard lock(mutex_);
      ended_.push_back(std::move(scan));
      return;
    }
    case Event::Kind::kNoSize: {
      std::lock_guard lock(mutex_);
      ended_.emplace_back();
      return;
    }
  }
}

void ScanInspection::AddImageData(const uint8_t* data, size_t length) {
  // An image of no pixels, or too large to judge: nothing is kept of it.
  if (!inspector_.takesRows()) return;
  while (length > 0 && inspector_.rowsAdded() < inspector_.lines()) {
    if (partRow_.empty() && length >= bytesPerLine_) {
      inspector_.AddRow(data);
      data += bytesPerLine_;
      length -= bytesPerLine_;
      continue;
    }
    const size_t piece = std::min<size_t>(length, bytesPerLine_ - partRow_.size());
    partRow_.insert(partRow_.end(), data, data + piece);
    data += piece;
    length -= piece;
    if (partRow_.size() == bytesPerLine_) {
      inspector_.AddRow(partRow_.data());
      partRow_.clear();
    }
  }
}

bool PrintInspectedScans(const std::vector<InspectedScan>& scans,
                         const std::optional<std::string>& previewPath, std::FILE* out) {
  bool warned = false;
  for (const InspectedScan& scan : scans) {
    if (!scan.report) {
      std::fprintf(out, "inspect the scanner gave no image size: not judged\n");
      warned = true;
      continue;
    }
    for (const std::string& line : ReportLines(*scan.report)) {
      std::fprintf(out, "inspect %s\n", EscapeBatchText(line).c_str());
    }
    warned = warned || !scan.report->judged || !scan.report->findings.empty();
    std::string error;
    if (previewPath && scan.preview && !WritePreviewPng(*previewPath, *scan.preview, error)) {
      std::fprintf(out, "inspect preview not written: %s: %s\n",
                   EscapeBatchText(*previewPath).c_str(), EscapeBatchText(error).c_str());
      warned = true;
    }
  }
  return warned;
}
