// The compiled resources of the Windows program against the data the Linux build reads from the
// same .def files: dialog templates with their exact styles, menu texts, the string table, all
// under language 1041.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/menu.h"
#include "resources/strings.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// Reads a compiled DLGTEMPLATE (the short form windres writes for DIALOG).
class TemplateReader {
 public:
  explicit TemplateReader(const void* data) : at_(static_cast<const BYTE*>(data)) {}
  WORD Word() {
    WORD value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  DWORD DoubleWord() { return Word() | static_cast<DWORD>(Word()) << 16; }
  // A text, or "#N" for an ordinal.
  std::u16string Text() {
    std::u16string text;
    if (WORD first = Word(); first == 0xFFFF) {
      text.push_back(u'#');
      for (char digit : std::to_string(Word())) text.push_back(static_cast<char16_t>(digit));
    } else {
      for (WORD next = first; next != 0; next = Word()) text.push_back(static_cast<char16_t>(next));
    }
    return text;
  }
  void AlignToDoubleWord(const void* start) {
    while ((at_ - static_cast<const BYTE*>(start)) % 4 != 0) ++at_;
  }

 private:
  const BYTE* at_;
};

std::u16string Wide(const char* text) {
  return std::u16string(text, text + std::strlen(text));
}

struct ControlClass {
  ControlKind kind;
  const char16_t* windowClass;  // the predefined class's ordinal
  DWORD style;
};
constexpr ControlClass kControlClasses[] = {
    {ControlKind::kPushButton, u"#128", BS_PUSHBUTTON},
    {ControlKind::kGroupBox, u"#128", BS_GROUPBOX},
    {ControlKind::kAutoRadioButton, u"#128", BS_AUTORADIOBUTTON},
    {ControlKind::kCenteredText, u"#130", SS_CENTER},
};

TEST(ResourcesTest, DialogTemplatesHoldExactlyTheControlsOfTheirDefinition) {
  for (const char* name : {"AboutBox", "ScanFSBox"}) {
    SCOPED_TRACE(name);
    const DialogTemplate* expected = FindDialogTemplate(name);
    ASSERT_NE(expected, nullptr);
    const HRSRC resource = FindResourceExA(nullptr, RT_DIALOG, name, kJapanese);
    ASSERT_NE(resource, nullptr);
    const void* start = LockResource(LoadResource(nullptr, resource));
    TemplateReader reader(start);
    EXPECT_EQ(reader.DoubleWord(), DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(reader.DoubleWord(), 0u);
    ASSERT_EQ(reader.Word(), expected->controlCount);
    const std::vector<int> frame{reader.Word(), reader.Word(), reader.Word(), reader.Word()};
    EXPECT_EQ(frame,
              (std::vector<int>{expected->x, expected->y, expected->width, expected->height}));
    EXPECT_EQ(reader.Text(), u"");  // no menu
    EXPECT_EQ(reader.Text(), u"");  // the standard dialog class
    EXPECT_EQ(reader.Text(), Wide(expected->caption));
    EXPECT_EQ(reader.Word(), 9);
    EXPECT_EQ(reader.Text(), u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    for (int i = 0; i < expected->controlCount; ++i) {
      const DialogControl& control = expected->controls[i];
      SCOPED_TRACE(control.id);
      reader.AlignToDoubleWord(start);
      const DWORD style = reader.DoubleWord();
      EXPECT_EQ(reader.DoubleWord(), 0u);
      const std::vector<int> place{reader.Word(), reader.Word(), reader.Word(), reader.Word()};
      EXPECT_EQ(place, (std::vector<int>{control.x, control.y, control.width, control.height}));
      EXPECT_EQ(reader.Word(), control.id);
      const std::u16string windowClass = reader.Text();
      EXPECT_EQ(reader.Text(), Wide(control.text));
      EXPECT_EQ(reader.Word(), 0);  // no creation data
      for (const ControlClass& kind : kControlClasses) {
        if (kind.kind != control.kind) continue;
        EXPECT_EQ(windowClass, kind.windowClass);
        EXPECT_EQ(style, WS_CHILD | WS_VISIBLE | kind.style | control.style);
      }
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
      EXPECT_STREQ(text, entry.text);
    } else if (entry.kind == MenuEntryKind::kItem) {
      GetMenuStringA(menu, entry.commandId, text, sizeof text, MF_BYCOMMAND);
      EXPECT_STREQ(text, entry.text);
      EXPECT_EQ(GetMenuState(menu, entry.commandId, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED), 0u);
    }
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
