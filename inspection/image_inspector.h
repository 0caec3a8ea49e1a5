// The inspection of a test scan, fed the image row by row by whoever has it (a file reader, the
// transfer from the scanner): begin with the image's size, then every row in order, then end.
// It keeps per-column and per-row means and, when asked to, a reduced copy for the preview,
// never the image, so that its memory does not grow with the resolution (about 640 KiB at
// 2720 dpi, and at most 3 MiB more for the preview).
#ifndef SCAN_FS_INSPECTION_IMAGE_INSPECTOR_H
#define SCAN_FS_INSPECTION_IMAGE_INSPECTOR_H

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "inspection/inspection_report.h"
#include "inspection/preview.h"
#include "inspection/row_sums.h"

class ImageInspector {
 public:
  // An image of `width` x `lines` pixels of 8-bit RGB at `resolution` dots per inch (0: not
  // known). With `keepPreview`, the reduced copy for Preview is kept. Starts afresh.
  void Begin(uint32_t width, uint32_t lines, uint32_t resolution, bool keepPreview);
  // The next row: 3 * width bytes, red, green and blue of each pixel. Rows past the last are
  // ignored.
  void AddRow(const uint8_t* rgb);
  uint32_t width() const { return width_; }
  uint32_t lines() const { return lines_; }
  uint32_t rowsAdded() const { return rowsAdded_; }
  // False for an image of no pixels or one too large to judge: its rows are not looked at.
  bool takesRows() const { return !tooLarge_; }
  // The report. An image whose rows did not all arrive, or of which `dataLost` says part was
  // lost, is not judged.
  InspectionReport End(bool dataLost = false);
  // After End, when the preview was kept: the picture of the report's image.
  std::optional<PreviewPicture> Preview(const InspectionReport& report) const;

 private:
  void EndStretch();
  void JudgeColumns(InspectionReport& report, std::vector<bool> (&excluded)[3]) const;
  void JudgeRows(InspectionReport& report) const;
  void MeasureExposure(InspectionReport& report, const std::vector<bool> (&excluded)[3]) const;

  uint32_t width_ = 0, lines_ = 0, resolution_ = 0, rowsAdded_ = 0;
  bool tooLarge_ = false;
  // Column means in stretches along the frame: [channel][stretch][column], 1/256 level.
  uint32_t stretches_ = 0, stretch_ = 0, stretchEnd_ = 0, rowsInShortSums_ = 0;
  std::vector<uint16_t> shortSums_;  // of at most 256 rows, per sample
  std::vector<uint32_t> sums_;       // of the stretch so far, per sample
  std::vector<uint16_t> columnMeans_;
  std::vector<double> stretchWeights_;
  // Row means in segments across the frame: [channel][row][segment], 1/256 level.
  RowSegments segments_;
  std::vector<uint16_t> rowMeans_;
  std::vector<double> segmentWeights_;
  double segmentScales_[kMostSegments] = {};  // from a segment's sum to its mean in 1/256
  // Per channel; the standard deviation is of every kDeviationRowStep-th row.
  uint64_t sampleSums_[3] = {}, sampledSums_[3] = {}, squareSums_[3] = {};
  uint8_t minimum_[3] = {}, maximum_[3] = {};
  // Samples at 0 and at full scale, per sample position of a row.
  std::vector<uint32_t> atZero_, atFullScale_;
  std::unique_ptr<PreviewReduction> preview_;
};

#endif
