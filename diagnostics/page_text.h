// Texts of the maintenance pages, drawn from the string table where the pages put them.
#ifndef SCAN_FS_DIAGNOSTICS_PAGE_TEXT_H
#define SCAN_FS_DIAGNOSTICS_PAGE_TEXT_H

inline constexpr int kTitleX = 10;
inline constexpr int kTitleY = 10;
inline constexpr int kLineX = 20;
inline constexpr int kFirstLineY = 35;
inline constexpr int kLineStep = 20;

// Marks a table cell that shows no line.
inline constexpr unsigned kNoLine = 0;

// Draws the string-table text `textId` with its top-left corner at (x, y); kNoLine draws nothing.
void DrawStringLine(int x, int y, unsigned textId);

#endif
