#include "platform/curses/printable_text.h"

#include <gtest/gtest.h>

#include "platform/curses/box_text.h"

namespace {

// Device texts can hold any byte: none but printable ASCII may start an escape sequence or move
// the cursor, and a NUL does not end the text early.
TEST(PrintableTextTest, OnlyPrintableAsciiPasses) {
  EXPECT_EQ(PrintableText(std::string("\x1b[2J\0\x1f !~\x7f\x80\xff", 12)), "?[2J?? !~???");
}

// A box's text breaks at its line breaks, then at the last space that fits, or at the width.
TEST(BoxTextTest, LinesBreakAtLineBreaksSpacesOrTheWidth) {
  const struct {
    const char* text;
    int width;
    std::vector<std::string> lines;
  } cases[] = {
      {"one\ntwo\n\nfour\t", 40, {"one", "two", "", "four?"}},
      {"Check if the board is properly set", 16, {"Check if the", "board is", "properly set"}},
      {"ABCDEFGHIJ KL", 4, {"ABCD", "EFGH", "IJ", "KL"}},
      {"exactly ten", 11, {"exactly ten"}}};
  for (const auto& c : cases) EXPECT_EQ(BoxLines(c.text, c.width), c.lines) << c.text;
}

}  // namespace
