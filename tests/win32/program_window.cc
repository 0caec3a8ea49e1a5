#include "tests/win32/program_window.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/display_surface_win32.h"
#include "platform/win32/main_window_win32.h"
#include "platform/win32/window_handles_win32.h"
#include "shell/program_state.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

}  // namespace

InkBox Pixels::Ink() const {
  InkBox box{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((data[y * width + x] & kWhite) == kWhite) continue;
      box = InkBox{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
    }
  }
  return box.empty() ? InkBox{} : box;
}

std::string PathBesideThisProgram(const char* name) {
  char path[MAX_PATH];
  const std::string self(path, GetModuleFileNameA(nullptr, path, sizeof path));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

Pixels CopyPixels(HDC context, int x, int y, int width, int height) {
  Pixels pixels{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP section = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HDC copy = CreateCompatibleDC(context);
  const HGDIOBJ original = SelectObject(copy, section);
  BitBlt(copy, 0, 0, width, height, context, x, y, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data.data(), bits, pixels.data.size() * sizeof(uint32_t));
  SelectObject(copy, original);
  DeleteDC(copy);
  DeleteObject(section);
  return pixels;
}

Pixels SurfacePixels() {
  return CopyPixels(DisplaySurfaceContext(), 0, 0, kSurfaceWidth, kSurfaceHeight);
}

ModalRecorder& ProgramWindowTest::recorder() {
  static ModalRecorder recorder;
  return recorder;
}

void ProgramWindowTest::SetUp() {
  static const bool registered = RegisterMainWindowClass(ProgramInstance());
  ASSERT_TRUE(registered);
  GetCurrentDirectoryA(sizeof startDirectory_, startDirectory_);
  const char* name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  CreateDirectoryA(name, nullptr);
  SetCurrentDirectoryA(name);
  recorder().Clear();
}

void ProgramWindowTest::TearDown() {
  DestroyProgramWindow();
  SetCurrentDirectoryA(startDirectory_);
}

void ProgramWindowTest::DestroyProgramWindow() {
  if (window_ == nullptr) return;
  DestroyWindow(window_);
  window_ = nullptr;
  // The destruction posted the quit message; a later modal loop would end on it.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

void ProgramWindowTest::Start(const char* config) {
  DestroyProgramWindow();
  recorder().Clear();
  SetEnvironmentVariableA("SCAN_FS_SIMULATE", config);
  ResetProgramState();
  window_ = CreateMainWindow(ProgramInstance());
  ASSERT_NE(window_, nullptr);
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void ProgramWindowTest::Command(unsigned commandId) {
  SendMessageA(window_, WM_COMMAND, commandId, 0);
  UpdateWindow(window_);
}

bool ProgramWindowTest::MenuEnabled(unsigned commandId) const {
  return (GetMenuState(GetMenu(window_), commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}
