// The compiled resources of the Windows program against the data the Linux build reads from the
// same .def files: dialog templates with their exact styles, menu texts, the string table, all
// under language 1041.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/menu.h"
#include "resources/strings.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Reads a compiled DLGTEMPLATE (the short form windres writes for DIALOG).
class TemplateReader {
 public:
  explicit TemplateReader(const void* data) : start_(static_cast<const BYTE*>(data)), at_(start_) {}
  WORD Word() {
    WORD value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  DWORD DoubleWord() { return Word() | static_cast<DWORD>(Word()) << 16; }
  std::vector<int> Words(int count) {
    std::vector<int> words;
    while (count-- > 0) words.push_back(Word());
    return words;
  }
  // A text, or "#N" for an ordinal.
  std::u16string Text() {
    std::u16string text;
    if (WORD first = Word(); first == 0xFFFF) {
      text.push_back(u'#');
      for (char digit : std::to_string(Word())) text.push_back(digit);
    } else {
      for (WORD next = first; next != 0; next = Word()) text.push_back(next);
    }
    return text;
  }
  void AlignToDoubleWord() { at_ += (start_ - at_) & 3; }

 private:
  const BYTE* start_;
  const BYTE* at_;
};

std::u16string Wide(const char* text) {
  return std::u16string(text, text + std::strlen(text));
}

TEST(ResourcesTest, DialogTemplatesHoldExactlyTheControlsOfTheirDefinition) {
  // Window class ordinal and style of each kind of control, in ControlKind's order.
  const std::pair<std::u16string, DWORD> kKinds[] = {{u"#128", BS_PUSHBUTTON},
                                                     {u"#128", BS_GROUPBOX},
                                                     {u"#128", BS_AUTORADIOBUTTON},
                                                     {u"#130", SS_CENTER}};
  for (const char* name : {"AboutBox", "ScanFSBox"}) {
    SCOPED_TRACE(name);
    const DialogTemplate* expected = FindDialogTemplate(name);
    const HRSRC resource = FindResourceExA(nullptr, RT_DIALOG, name, kJapanese);
    ASSERT_TRUE(expected != nullptr && resource != nullptr);
    TemplateReader reader(LockResource(LoadResource(nullptr, resource)));
    EXPECT_EQ(reader.DoubleWord(), DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(reader.DoubleWord(), 0u);
    ASSERT_EQ(reader.Word(), expected->controlCount);
    EXPECT_EQ(reader.Words(4),
              (std::vector<int>{expected->x, expected->y, expected->width, expected->height}));
    EXPECT_EQ(reader.Text(), u"");  // no menu
    EXPECT_EQ(reader.Text(), u"");  // the standard dialog class
    EXPECT_EQ(reader.Text(), Wide(expected->caption));
    EXPECT_EQ(reader.Word(), 9);
    EXPECT_EQ(reader.Text(), u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    for (int i = 0; i < expected->controlCount; ++i) {
      const DialogControl& control = expected->controls[i];
      SCOPED_TRACE(control.id);
      const auto& [windowClass, kindStyle] = kKinds[static_cast<int>(control.kind)];
      reader.AlignToDoubleWord();
      EXPECT_EQ(reader.DoubleWord(), WS_CHILD | WS_VISIBLE | kindStyle | control.style);
      EXPECT_EQ(reader.DoubleWord(), 0u);
      EXPECT_EQ(reader.Words(5), (std::vector<int>{control.x, control.y, control.width,
                                                   control.height, control.id}));
      EXPECT_EQ(reader.Text(), windowClass);
      EXPECT_EQ(reader.Text(), Wide(control.text));
      EXPECT_EQ(reader.Word(), 0);  // no creation data
    }
  }
}

TEST(ResourcesTest, MenuStringsAndIconComeFromTheSameDefinitions) {
  EXPECT_NE(FindResourceExA(nullptr, RT_MENU, "SCAN_TEST_MENU", kJapanese), nullptr);
  EXPECT_NE(FindResourceExA(nullptr, RT_GROUP_ICON, "IDI_QUORVELICON", kJapanese), nullptr);
  const HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), "SCAN_TEST_MENU");
  ASSERT_NE(menu, nullptr);
  int popup = 0;
  for (const MenuEntry& entry : kMenuEntries) {
    char text[128] = {};
    if (entry.kind == MenuEntryKind::kPopup) {
      GetMenuStringA(menu, popup++, text, sizeof text, MF_BYPOSITION);
    } else if (entry.kind == MenuEntryKind::kItem) {
      GetMenuStringA(menu, entry.commandId, text, sizeof text, MF_BYCOMMAND);
      EXPECT_EQ(GetMenuState(menu, entry.commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
    } else {
      continue;
    }
    EXPECT_STREQ(text, entry.text);
  }
  DestroyMenu(menu);
  for (unsigned id : {
#define STRING_ENTRY(id, name, text) id,
#include "resources/string_table.def"
#undef STRING_ENTRY
       }) {
    EXPECT_NE(FindResourceExA(nullptr, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1), kJapanese),
              nullptr);
    char text[256];
    LoadStringText(id, text, sizeof text);
    EXPECT_STREQ(text, StringTableText(id)) << id;
  }
}

}  // namespace
