// CreateDisplaySurface, ClearDisplay, DrawTextLine, RefreshDisplay, PaintDisplay,
// UpdateWindowNow and ReleaseDisplaySurface of the platform seam, with GDI.
#include "platform/win32/display_surface_win32.h"

#include "platform/win32/window_handles_win32.h"

namespace {

struct Surface {
  HDC context = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ originalBitmap = nullptr;
};

Surface surface;

}  // namespace

HDC DisplaySurfaceContext() {
  return surface.context;
}

void CreateDisplaySurface(WindowHandle window) {
  ReleaseDisplaySurface();  // a window made anew (in the tests) gets a fresh surface
  const HWND hwnd = ToHwnd(window);
  const HDC windowContext = GetDC(hwnd);
  surface.context = CreateCompatibleDC(windowContext);
  surface.bitmap = CreateCompatibleBitmap(windowContext, kSurfaceWidth, kSurfaceHeight);
  surface.originalBitmap = SelectObject(surface.context, surface.bitmap);
  SelectObject(surface.context, GetStockObject(WHITE_BRUSH));
  SelectObject(surface.context, GetStockObject(SYSTEM_FIXED_FONT));
  PatBlt(surface.context, 0, 0, kSurfaceWidth, kSurfaceHeight, PATCOPY);
  ReleaseDC(hwnd, windowContext);
}

void ClearDisplay(WindowHandle window) {
  if (surface.context == nullptr) return;
  PatBlt(surface.context, 0, 0, kSurfaceWidth, kSurfaceHeight, PATCOPY);
  RefreshDisplay(window);
}

void DrawTextLine(int x, int y, const char* text) {
  if (surface.context == nullptr) return;
  TextOutA(surface.context, x, y, text, lstrlenA(text));
}

void RefreshDisplay(WindowHandle window) {
  InvalidateRect(ToHwnd(window), nullptr, TRUE);
}

void PaintDisplay(WindowHandle window) {
  // Painting is validated even without a surface, or the paint message would come back forever.
  PAINTSTRUCT paint;
  const HDC windowContext = BeginPaint(ToHwnd(window), &paint);
  if (surface.context != nullptr) {
    BitBlt(windowContext, 0, 0, kSurfaceWidth, kSurfaceHeight, surface.context, 0, 0, SRCCOPY);
  }
  EndPaint(ToHwnd(window), &paint);
}

void UpdateWindowNow(WindowHandle window) {
  UpdateWindow(ToHwnd(window));
}

void ReleaseDisplaySurface() {
  if (surface.context == nullptr) return;
  SelectObject(surface.context, surface.originalBitmap);
  DeleteObject(surface.bitmap);
  DeleteDC(surface.context);
  surface = Surface{};
}
