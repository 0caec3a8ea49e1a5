#include "platform/linux/preview_png.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

// libpng's own message would go to standard error; the caller says what failed, once.
void FailQuietly(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePreviewPng(const std::string& path, const PreviewPicture& picture, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, FailQuietly, IgnoreWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool written = false;
  // libpng reports a failed write by jumping back here (before that, errno says why).
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (uint32_t y = 0; y < picture.height; ++y) {
      png_write_row(png, &picture.rgb[size_t{y} * picture.width * 3]);
    }
    png_write_end(png, nullptr);
    written = true;
  }
  const int writeError = errno;
  png_destroy_write_struct(&png, &info);
  const bool flushed = std::fflush(file) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(file) == 0;
  if (written && flushed && closed) return true;
  const int reason = !written ? writeError : !flushed ? flushError : errno;
  error = reason != 0 ? std::strerror(reason) : "libpng could not write it";
  return false;
}
