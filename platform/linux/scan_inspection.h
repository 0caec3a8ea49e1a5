// --inspect with --batch: every scan inspected as its chunks arrive. The inspection watches the
// completed request blocks beside the trace (the manager's completion observer), so the requests,
// the boxes and img_fs.tif stay the same bytes as without it: the resolution comes from SET
// WINDOW, the image's size from the first GET DATA BUFFER STATUS after SCAN, the rows from each
// READ that succeeds. The rows are judged in the READ's own buffer; only a row that straddles
// two READs is copied.
#ifndef SCAN_FS_PLATFORM_LINUX_SCAN_INSPECTION_H
#define SCAN_FS_PLATFORM_LINUX_SCAN_INSPECTION_H

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "inspection/image_inspector.h"
#include "platform/batch/batch_report.h"

struct InspectedScan {
  std::optional<InspectionReport> report;  // none when the scanner never gave the image's size
  std::optional<PreviewPicture> preview;
};

class ScanInspection {
 public:
  explicit ScanInspection(bool keepPreview) : keepPreview_(keepPreview) {}
  // The completion observer's part. Requests complete one after the other, on the manager's
  // thread or the program's.
  void Observe(const void* requestBlock, uint8_t status);
  // The scans that ended since the last call, in order; a scan still going is ended first.
  std::vector<InspectedScan> TakeEnded();

 private:
  void AddImageData(const uint8_t* data, uint32_t length);
  void EndScan();

  const bool keepPreview_;
  std::mutex mutex_;
  uint32_t resolution_ = 0;
  bool awaitingSize_ = false;  // SCAN went out; the next status reply gives the image's size
  bool inImage_ = false;
  bool dataLost_ = false;  // a READ of the image failed
  uint32_t bytesPerLine_ = 0;
  std::vector<uint8_t> partRow_;  // the start of a row whose end comes with the next READ
  ImageInspector inspector_;
  std::vector<InspectedScan> ended_;
};

// Writes the preview of each ended scan to `previewPath` when given and hands its report to
// batch mode's; returns the texts of the warnings: a defect found, an image not judged, a
// preview not written.
std::vector<std::string> ReportInspectedScans(const std::vector<InspectedScan>& scans,
                                              const std::optional<std::string>& previewPath,
                                              BatchReport& report);

#endif
