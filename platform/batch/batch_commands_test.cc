#include "platform/batch/batch_commands.h"

#include <gtest/gtest.h>

#include "platform/batch/batch_front_end.h"
#include "resources/ids.h"

namespace {

TEST(BatchCommandsTest, CommandsWithTheirArguments) {
  std::string error;
  const auto commands = ParseBatchCommands(
      "board,info,save,diag1:cancel,diag2,scan:2720:memory,scan:cancel,about,scan", error);
  ASSERT_TRUE(commands.has_value()) << error;
  ASSERT_EQ(commands->size(), 9u);
  EXPECT_EQ((*commands)[0].commandId, unsigned{IDM_BOARD_INFORMATION});
  EXPECT_EQ((*commands)[2].commandId, unsigned{IDM_SAVE_SCANNER_DATA});
  EXPECT_FALSE((*commands)[3].confirm);
  EXPECT_EQ((*commands)[3].menuName, "diag1");
  EXPECT_TRUE((*commands)[4].confirm);
  EXPECT_EQ((*commands)[5].dialogClicks,
            (std::vector<int>{IDC_RESOLUTION_2720, IDC_READ_IN_MEMORY, IDC_SCAN}));
  EXPECT_EQ((*commands)[6].dialogClicks, std::vector<int>{IDCANCEL});
  EXPECT_EQ((*commands)[7].dialogClicks, std::vector<int>{IDOK});
  EXPECT_EQ((*commands)[8].dialogClicks, std::vector<int>{IDC_SCAN});  // Scan on the defaults
}

TEST(BatchCommandsTest, WrongCommandsAreRefused) {
  for (const char* list :
       {"", "board,", "exit", "info:now", "scan:300", "diag1:yes", "scan:file:x"}) {
    std::string error;
    EXPECT_FALSE(ParseBatchCommands(list, error).has_value()) << list;
    EXPECT_FALSE(error.empty());
  }
}

TEST(BatchCommandsTest, OutputEscapesLineBreaksAndControlBytes) {
  EXPECT_EQ(EscapeBatchText("a\nb"), "a\\nb");
  EXPECT_EQ(EscapeBatchText("\x1b[2J\\\xff"), "\\x1B[2J\\\\\\xFF");
  EXPECT_EQ(EscapeBatchText("  padded    "), "  padded    ");
}

}  // namespace
