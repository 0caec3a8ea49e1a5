#include "platform/curses/printable_text.h"

#include <gtest/gtest.h>

#include "platform/curses/box_text.h"

namespace {

// Device texts can hold any byte: none but printable ASCII may start an escape sequence or move
// the cursor, and a NUL does not end the text early.
TEST(PrintableTextTest, OnlyPrintableAsciiPasses) {
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    EXPECT_EQ(PrintableChar(c), byte >= 0x20 && byte <= 0x7E ? c : '?') << "byte " << byte;
  }
  EXPECT_EQ(PrintableText(std::string("\x1b[2J\0!", 6)), "?[2J?!");
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
