#include "platform/curses/page_text.h"

#include "platform/curses/printable_text.h"
#include "shell/platform_ui.h"

PageCell CellOfPixel(int x, int y) {
  return PageCell{y / kPixelsPerRow, x / kPixelsPerColumn};
}

PageRowsText RenderPage(const SurfaceModel& surface) {
  PageRowsText page;
  page.fill(std::string(kPageColumns, ' '));
  for (const SurfaceLine& line : surface.lines()) {
    if (line.y < 0 || line.y >= kSurfaceHeight) continue;
    for (size_t i = 0; i < line.text.size(); ++i) {
      const int x = line.x + kPixelsPerColumn * static_cast<int>(i);
      if (x >= kSurfaceWidth) break;
      if (x < 0) continue;
      const PageCell cell = CellOfPixel(x, line.y);
      page[cell.row][cell.column] = PrintableChar(line.text[i]);
    }
  }
  return page;
}
