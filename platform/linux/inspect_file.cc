#include "platform/linux/inspect_file.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "inspection/report_json.h"
#include "inspection/report_text.h"
#include "platform/batch/batch_front_end.h"
#include "platform/linux/preview_png.h"

namespace {

constexpr int kNotAnImage = 2;
constexpr int kPreviewNotWritten = 3;

// libtiff's last error, kept for the one line that says why a file is not read.
std::string lastTiffError;

void KeepTiffError(const char* module, const char* format, va_list arguments) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, arguments);
  lastTiffError = module != nullptr && *module != '\0' ? std::string(module) + ": " + text : text;
}

void IgnoreTiffWarning(const char*, const char*, va_list) {}

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

// Why libtiff would not open the file, in the words a technician needs.
std::string WhyNotOpened(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::strerror(errno);
  unsigned char head[4] = {};
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  const bool tiffOrder =
      got == 4 && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'));
  if (tiffOrder && head[2] == 0 && head[3] == 0) {
    return "its version field is 0: the file of a scan that did not end";
  }
  return "not a TIFF image (" + lastTiffError + ")";
}

template <typename T>
T Field(TIFF* tiff, ttag_t tag, T otherwise) {
  T value = otherwise;
  return TIFFGetFieldDefaulted(tiff, tag, &value) == 1 ? value : otherwise;
}

// The image's kind, or why the inspection does not take it.
std::string WhyNotTaken(TIFF* tiff) {
  if (TIFFIsTiled(tiff)) return "a tiled image; only images in strips are read";
  if (Field<uint16_t>(tiff, TIFFTAG_BITSPERSAMPLE, 0) != 8) return "not 8 bits per sample";
  if (Field<uint16_t>(tiff, TIFFTAG_SAMPLESPERPIXEL, 0) != 3 ||
      Field<uint16_t>(tiff, TIFFTAG_PHOTOMETRIC, 0) != PHOTOMETRIC_RGB) {
    return "not an RGB image of three samples per pixel";
  }
  if (Field<uint16_t>(tiff, TIFFTAG_PLANARCONFIG, 0) != PLANARCONFIG_CONTIG) {
    return "its samples lie in separate planes; only the samples of a pixel together are read";
  }
  return "";
}

// Dots per inch from the X resolution and its unit; 0 when the file does not say.
uint32_t Resolution(TIFF* tiff) {
  float resolution = 0;
  if (TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &resolution) != 1 || !(resolution > 0)) return 0;
  switch (Field<uint16_t>(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH)) {
    case RESUNIT_INCH:
      return static_cast<uint32_t>(resolution + 0.5f);
    case RESUNIT_CENTIMETER:
      return static_cast<uint32_t>(resolution * 2.54f + 0.5f);
    default:
      return 0;
  }
}

}  // namespace

FileInspection InspectTiffFile(const std::string& path, bool keepPreview) {
  TIFFSetErrorHandler(KeepTiffError);
  TIFFSetWarningHandler(IgnoreTiffWarning);
  lastTiffError.clear();
  FileInspection result;
  // "m": read, not map: the file is read a strip's worth at a time, whatever its size.
  const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.c_str(), "rm"));
  if (!tiff) {
    result.error = WhyNotOpened(path);
    return result;
  }
  if (const std::string why = WhyNotTaken(tiff.get()); !why.empty()) {
    result.error = why;
    return result;
  }
  const auto width = Field<uint32_t>(tiff.get(), TIFFTAG_IMAGEWIDTH, 0);
  const auto lines = Field<uint32_t>(tiff.get(), TIFFTAG_IMAGELENGTH, 0);
  ImageInspector inspector;
  inspector.Begin(width, lines, Resolution(tiff.get()), keepPreview);
  std::vector<uint8_t> row(
      static_cast<size_t>(std::max<tmsize_t>(TIFFScanlineSize(tiff.get()), 0)));
  if (row.size() < size_t{width} * 3) {
    result.error = "its rows are not as long as its width says";
    return result;
  }
  for (uint32_t line = 0; line < lines; ++line) {
    if (TIFFReadScanline(tiff.get(), row.data(), line, 0) < 0) {
      result.error = "row " + std::to_string(line) + " of " + std::to_string(lines) +
                     " cannot be read (" + lastTiffError + ")";
      return result;
    }
    inspector.AddRow(row.data());
  }
  result.report = inspector.End();
  result.preview = inspector.Preview(*result.report);
  return result;
}

int RunFileInspection(const std::string& path, bool json,
                      const std::optional<std::string>& preview) {
  const FileInspection inspection = InspectTiffFile(path, preview.has_value());
  if (!inspection.report) {
    std::fprintf(stderr, "scan_fs: %s: not a complete image: %s\n", EscapeBatchText(path).c_str(),
                 EscapeBatchText(inspection.error).c_str());
    return kNotAnImage;
  }
  const InspectionReport& report = *inspection.report;
  if (json) {
    nlohmann::ordered_json object = {{"file", path}};
    object.update(ReportJson(report));
    std::printf(
        "%s\n",
        object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace).c_str());
  } else {
    for (const std::string& line : ReportLines(report)) std::printf("%s\n", line.c_str());
  }
  std::fflush(stdout);
  if (preview && inspection.preview) {
    std::string error;
    if (!WritePreviewPng(*preview, *inspection.preview, error)) {
      std::fprintf(stderr, "scan_fs: the preview '%s' was not written: %s\n",
                   EscapeBatchText(*preview).c_str(), error.c_str());
      return kPreviewNotWritten;
    }
  }
  if (!report.judged) return kNotAnImage;
  return report.findings.empty() ? 0 : 1;
}
