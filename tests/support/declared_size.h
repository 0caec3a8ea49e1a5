// What img_fs.tif declares about itself: its 216-byte header and the strip of StripByteCounts
// (the tenth directory entry), so that a test can hold the file to it.
#ifndef SCAN_FS_TESTS_SUPPORT_DECLARED_SIZE_H
#define SCAN_FS_TESTS_SUPPORT_DECLARED_SIZE_H

#include <cstdint>
#include <string>

inline uintmax_t DeclaredImageFileSize(const std::string& file) {
  constexpr size_t kStripByteCounts = 10 + 9 * 12 + 8;
  if (file.size() < kStripByteCounts + 4) return 0;
  uintmax_t count = 0;
  for (size_t i = 4; i-- > 0;)
    count = count << 8 | static_cast<uint8_t>(file[kStripByteCounts + i]);
  return 216 + count;
}

#endif
