// Texts that devices and adapters report in fixed-width fields: taken up to the field's width,
// or shorter when a zero byte comes first, never read beyond the field.
#ifndef SCAN_FS_DISCOVERY_DEVICE_TEXT_H
#define SCAN_FS_DISCOVERY_DEVICE_TEXT_H

#include <cstddef>
#include <cstdint>

// Copies the field into `text` (of `size` characters, always terminated).
void CopyDeviceText(char* text, size_t size, const uint8_t* field, size_t width);
// Appends the field to the text already in `line` (of `size` characters, always terminated).
void AppendDeviceText(char* line, size_t size, const uint8_t* field, size_t width);

#endif
