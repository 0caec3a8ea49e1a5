// --inspect with --batch: every scan inspected as its chunks arrive. The inspection watches the
// completed request blocks beside the trace (the manager's completion observer), so the requests,
// the boxes and img_fs.tif stay the same bytes as without it: the resolution comes from SET
// WINDOW, the image's size from the first GET DATA BUFFER STATUS after SCAN, the rows from each
// READ. The observer only copies each READ's data into one of a few chunk buffers; a thread of
// its own inspects them, so that the scan goes on meanwhile (when all buffers are taken the
// observer waits, so memory stays flat).
#ifndef SCAN_FS_PLATFORM_LINUX_SCAN_INSPECTION_H
#define SCAN_FS_PLATFORM_LINUX_SCAN_INSPECTION_H

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "inspection/image_inspector.h"

struct InspectedScan {
  std::optional<InspectionReport> report;  // none when the scanner never gave the image's size
  std::optional<PreviewPicture> preview;
};

class ScanInspection {
 public:
  explicit ScanInspection(bool keepPreview);
  ScanInspection(const ScanInspection&) = delete;
  ScanInspection& operator=(const ScanInspection&) = delete;
  ~ScanInspection();

  // The completion observer's part. Requests complete one after the other, on the manager's
  // thread or the program's.
  void Observe(const void* requestBlock, uint8_t status);
  // The scans that ended since the last call, in order, once their inspection is done; a scan
  // still going is ended first.
  std::vector<InspectedScan> TakeEnded();

 private:
  // What the inspecting thread is told, in the order the requests completed.
  struct Event {
    enum class Kind { kBegin, kData, kDataLost, kEnd, kNoSize };
    explicit Event(Kind what, uint32_t lineBytes = 0, uint32_t lineCount = 0, uint32_t dpi = 0)
        : kind(what), bytesPerLine(lineBytes), lines(lineCount), resolution(dpi) {}
    Kind kind;
    uint32_t bytesPerLine, lines, resolution;
    std::vector<uint8_t> data;
  };

  void Post(Event event);  // with mutex_ held
  void EndScan();          // with mutex_ held
  void Inspect();          // the inspecting thread
  void Handle(Event& event);
  void AddImageData(const uint8_t* data, size_t length);

  const bool keepPreview_;
  std::mutex mutex_;
  // Each side is woken only when it waits: the thread for work, the observer for buffers (once
  // half of them are free, so that it is not woken for each) and TakeEnded for the thread's end.
  std::condition_variable work_;
  std::condition_variable room_;
  bool threadWaits_ = false, observerWaits_ = false, takerWaits_ = false;
  std::deque<Event> events_;
  std::vector<std::vector<uint8_t>> freeBuffers_;
  bool busy_ = false;  // the thread is handling an event
  bool stopping_ = false;
  std::vector<InspectedScan> ended_;
  // What the observer knows of the scan.
  uint32_t resolution_ = 0;
  bool awaitingSize_ = false;  // SCAN went out; the next status reply gives the image's size
  bool inImage_ = false;
  // The inspecting thread's own.
  uint32_t bytesPerLine_ = 0;
  bool dataLost_ = false;
  std::vector<uint8_t> partRow_;  // the start of a row whose end comes with the next READ
  ImageInspector inspector_;
  std::thread thread_;
};

// Prints each ended scan's report as "inspect LINE" lines and writes the preview of each to
// `previewPath` when given; returns true when that counts as a warning: a defect found, an
// image not judged, a preview not written.
bool PrintInspectedScans(const std::vector<InspectedScan>& scans,
                         const std::optional<std::string>& previewPath, std::FILE* out);

#endif
