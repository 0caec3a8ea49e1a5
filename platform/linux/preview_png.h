// The inspection's preview written as a PNG file, through libpng.
#ifndef SCAN_FS_PLATFORM_LINUX_PREVIEW_PNG_H
#define SCAN_FS_PLATFORM_LINUX_PREVIEW_PNG_H

#include <string>

#include "inspection/preview.h"

// Writes (replaces) `path`; false, with the reason in `error`, when the whole file could not be
// written.
bool WritePreviewPng(const std::string& path, const PreviewPicture& picture, std::string& error);

#endif
