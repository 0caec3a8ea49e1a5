// Save Scanner Data: the scanner's data block (buffer F9h) and its value pair (buffer
// 05h) written as decimal numbers, one per line, to test_dat.txt.
#include "diagnostics/scanner_data.h"

#include <cstdio>

#include "diagnostics/page_text.h"
#include "resources/strings.h"
#include "scsi/byte_order.h"
#include "scsi/scanner_commands.h"
#include "scsi/srb.h"
#include "shell/busy_cursor.h"
#include "shell/message_boxes.h"
#include "shell/program_state.h"

namespace {

constexpr char kDataFileName[] = "test_dat.txt";

// The file has CR LF line ends everywhere; a Windows text stream adds the CR by itself.
#ifdef _WIN32
constexpr char kLineEnd[] = "\n";
#else
constexpr char kLineEnd[] = "\r\n";
#endif

constexpr uint32_t kScannerDataLength = 512;  // 256 words, least significant byte first
constexpr uint32_t kValuePairLength = 4;      // 2 words, most significant byte first
constexpr int kMessageSize = 128;

enum class DumpEnd { kSaved, kNotOpened, kReadFailed, kNotClosed };

void WriteNumberLine(std::FILE* file, unsigned value) {
  std::fprintf(file, "%u%s", value, kLineEnd);
}

// Line 1, the product identification, and the two empty lines after it. A control byte from
// the device would break the file's lines, so it is written as '?'.
void WriteHeader(std::FILE* file) {
  for (const char* at = productId; *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    std::fputc(byte < 0x20 || byte == 0x7F ? '?' : byte, file);
  }
  std::fprintf(file, "%s%s%s", kLineEnd, kLineEnd, kLineEnd);
}

// A write that failed on the way (a full disk) fails the file just as a failed close does.
bool CloseChecked(std::FILE* file) {
  const bool written = std::ferror(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

DumpEnd DumpScannerData(WindowHandle window) {
  std::FILE* file = std::fopen(kDataFileName, "w");
  if (file == nullptr) return DumpEnd::kNotOpened;
  WriteHeader(file);
  // Takes a pending unit attention off the reads; the dump goes on whatever it answers, unless
  // the scanner did not answer at all.
  TestUnitReady(window, 0);
  if (scannerLost != 0) {
    std::fclose(file);
    return DumpEnd::kReadFailed;
  }

  // Zeroed, so a short transfer never puts stack contents into the file.
  uint8_t scannerData[kScannerDataLength] = {};
  if (ReadBuffer(window, kScannerDataBufferId, 0, scannerData, sizeof scannerData, 1) != SS_COMP) {
    std::fclose(file);
    return DumpEnd::kReadFailed;
  }
  for (uint32_t at = 0; at < kScannerDataLength; at += 2) {
    WriteNumberLine(file, scannerData[at] + 256u * scannerData[at + 1]);
  }
  std::fputs(kLineEnd, file);

  uint8_t valuePair[kValuePairLength] = {};
  if (ReadBuffer(window, kValuePairBufferId, 0, valuePair, sizeof valuePair, 1) != SS_COMP) {
    std::fclose(file);
    return DumpEnd::kReadFailed;
  }
  WriteNumberLine(file, LoadBigEndian16(&valuePair[0]));
  WriteNumberLine(file, LoadBigEndian16(&valuePair[2]));
  return CloseChecked(file) ? DumpEnd::kSaved : DumpEnd::kNotClosed;
}

void ReportFailure(WindowHandle window, DumpEnd end) {
  switch (end) {
    case DumpEnd::kNotOpened:
      ShowWarningText(window, IDS_FILE_NOT_OPENED, false);
      break;
    case DumpEnd::kReadFailed:
      ShowWarningText(window, IDS_SAVE_FAILED, false);
      break;
    case DumpEnd::kNotClosed:
      // Without an owner: the main window stays enabled while it is up.
      ShowWarningText(nullptr, IDS_FILE_NOT_CLOSED, false);
      break;
    case DumpEnd::kSaved:
      break;
  }
}

}  // namespace

bool SaveScannerData(WindowHandle window) {
  ClearDisplay(window);
  DrawStringLine(kTitleX, kTitleY, IDS_SAVE_TITLE);
  UpdateWindowNow(window);  // the title is on screen before the slow part
  const BusyCursor busy = BeginBusyCursor();
  const DumpEnd end = DumpScannerData(window);
  if (end != DumpEnd::kSaved) {
    ReportFailure(window, end);
    EndBusyCursor(busy);
    return false;
  }
  EndBusyCursor(busy);
  char text[kMessageSize];
  LoadStringText(IDS_SAVE_DONE, text, sizeof text);
  ShowInformation(window, text);
  ClearDisplay(window);
  return true;
}
