// Turns the screenshots that the Windows tests wrote under Wine (32-bit BMPs, top row first) into
// PNGs beside them, for the README:  screenshot_to_png FOLDER NAME...  (FOLDER/NAME.bmp each).
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t Little(const std::vector<unsigned char>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

bool Convert(const std::string& bmpPath, const std::string& pngPath) {
  std::ifstream in(bmpPath, std::ios::binary);
  const std::vector<unsigned char> bmp{std::istreambuf_iterator<char>(in), {}};
  constexpr size_t kHeaders = 14 + 40;
  if (bmp.size() < kHeaders || bmp[0] != 'B' || bmp[1] != 'M' || Little(bmp, 28, 2) != 32) {
    return false;
  }
  const uint32_t width = Little(bmp, 18, 4);
  const uint32_t height = -Little(bmp, 22, 4);  // negative: top row first
  const uint32_t pixels = Little(bmp, 10, 4);
  if (width == 0 || width > 4096 || height == 0 || height > 4096 ||
      bmp.size() < pixels + 4ull * width * height) {
    return false;
  }
  std::FILE* out = std::fopen(pngPath.c_str(), "wb");
  if (out == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
    return false;
  }
  png_init_io(png, out);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(3 * width);
  for (uint32_t y = 0; y < height; ++y) {
    const unsigned char* bgrx = &bmp[pixels + 4ull * width * y];
    for (uint32_t x = 0; x < width; ++x) {
      row[3 * x] = bgrx[4 * x + 2];
      row[3 * x + 1] = bgrx[4 * x + 1];
      row[3 * x + 2] = bgrx[4 * x];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  int failures = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string path = std::string(argv[1]) + "/" + argv[i];
    if (!Convert(path + ".bmp", path + ".png")) {
      std::fprintf(stderr, "%s.bmp: no screenshot of 32-bit pixels, or %s.png not written\n",
                   path.c_str(), path.c_str());
      ++failures;
    }
  }
  return argc > 2 && failures == 0 ? 0 : 1;
}
