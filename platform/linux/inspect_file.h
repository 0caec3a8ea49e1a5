// scan_fs --inspect FILE: the inspection of a TIFF file (8-bit RGB, samples of a pixel
// together, in strips), read through libtiff row by row, without a scanner.
#ifndef SCAN_FS_PLATFORM_LINUX_INSPECT_FILE_H
#define SCAN_FS_PLATFORM_LINUX_INSPECT_FILE_H

#include <optional>
#include <string>

#include "inspection/image_inspector.h"

struct FileInspection {
  std::optional<InspectionReport> report;  // none when the file is not a complete image
  std::optional<PreviewPicture> preview;   // when asked for
  std::string error;                       // why it is not
};

FileInspection InspectTiffFile(const std::string& path, bool keepPreview);

// Inspects the file and prints the report (text lines, or one JSON object), writes the preview
// when asked to; returns the exit status: 0 no defect, 1 defects found, 2 not a complete image,
// 3 the preview could not be written.
int RunFileInspection(const std::string& path, bool json,
                      const std::optional<std::string>& preview);

#endif
