// scan_fs.exe itself, started as its own process beside this test program: WinMain's window,
// centred, titled, without sizing border or maximize box, its client area smaller than the
// surface; exit code 0 after "Exit" and after the close box.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "resources/ids.h"
#include "shell/main_window.h"
#include "tests/win32/program_window.h"

namespace {

constexpr DWORD kPatienceMs = 30000;

// The main window of the process `processId`, waited for until it is shown.
HWND WaitForMainWindow(DWORD processId) {
  for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
    Sleep(50);
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, kWindowClassName, nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId && IsWindowVisible(window)) return window;
    }
  }
  return nullptr;
}

TEST(ProgramProcessTest, StartsCentredAndEndsWithExitCodeZero) {
  struct Case {
    const char* how;
    UINT message;
    WPARAM wParam;
  };
  const Case cases[] = {
      {"Exit", WM_COMMAND, IDM_EXIT},
      {"the close box", WM_SYSCOMMAND, SC_CLOSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    SetEnvironmentVariableA("SCAN_FS_SIMULATE", "");
    std::string commandLine = PathBesideThisProgram("scan_fs.exe");
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(commandLine.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process));
    const HWND window = WaitForMainWindow(process.dwProcessId);
    ASSERT_NE(window, nullptr);
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    EXPECT_EQ(frame.left, (1024 - 430) / 2);
    EXPECT_EQ(frame.top, (768 - 320) / 2);
    EXPECT_EQ(frame.right - frame.left, 430);
    EXPECT_EQ(frame.bottom - frame.top, 320);
    EXPECT_LT(client.right, 430);
    EXPECT_LT(client.bottom, 320);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_SYSMENU | WS_MINIMIZEBOX);
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, kMainWindowTitle);
    PostMessageA(window, c.message, c.wParam, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, kPatienceMs), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace
