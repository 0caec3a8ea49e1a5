// The compiled resources of the Windows program against the data the Linux build reads from the
// same .def files: dialog templates with their exact styles under language 1041, and the string
// table.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/strings.h"

namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// The words windres writes for a DIALOG template of the definition: its style, control count,
// frame, caption and font, then each control (double-word aligned) with its style, place, id,
// predefined class (an ordinal) and text.
std::vector<WORD> CompiledTemplate(const DialogTemplate& dialog) {
  std::vector<WORD> words;
  const auto add = [&words](std::initializer_list<int> values) {
    for (int value : values) words.push_back(static_cast<WORD>(value));
  };
  const auto text = [&words](std::u16string_view text) {
    words.insert(words.end(), text.begin(), text.end());
    words.push_back(0);
  };
  const auto styles = [&add](DWORD style) { add({LOWORD(style), HIWORD(style), 0, 0}); };
  styles(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  add({dialog.controlCount, dialog.x, dialog.y, dialog.width, dialog.height, 0, 0});
  text(std::u16string(dialog.caption, dialog.caption + std::strlen(dialog.caption)));
  add({9});
  text(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
  // Window class ordinal and style of each kind of control, in ControlKind's order.
  constexpr std::pair<int, DWORD> kKinds[] = {
      {0x80, BS_PUSHBUTTON}, {0x80, BS_GROUPBOX}, {0x80, BS_AUTORADIOBUTTON}, {0x82, SS_CENTER}};
  for (const DialogControl& control : std::span(dialog.controls, dialog.controlCount)) {
    const auto [windowClass, kindStyle] = kKinds[static_cast<int>(control.kind)];
    if (words.size() % 2 != 0) add({0});
    styles(WS_CHILD | WS_VISIBLE | kindStyle | control.style);
    add({control.x, control.y, control.width, control.height, control.id, 0xFFFF, windowClass});
    text(std::u16string(control.text, control.text + std::strlen(control.text)));
    add({0});  // no creation data
  }
  return words;
}

TEST(ResourcesTest, DialogTemplatesHoldExactlyTheControlsOfTheirDefinition) {
  for (const char* name : {"AboutBox", "ScanFSBox"}) {
    SCOPED_TRACE(name);
    const DialogTemplate* expected = FindDialogTemplate(name);
    const HRSRC resource = FindResourceExA(nullptr, RT_DIALOG, name, kJapanese);
    ASSERT_TRUE(expected != nullptr && resource != nullptr);
    const auto* compiled = static_cast<const WORD*>(LockResource(LoadResource(nullptr, resource)));
    const std::vector<WORD> words = CompiledTemplate(*expected);
    EXPECT_EQ(SizeofResource(nullptr, resource), words.size() * sizeof(WORD));
    EXPECT_EQ(std::vector<WORD>(compiled, compiled + words.size()), words);
  }
}

// The string ids of the script, which the boxes' texts are loaded by. (The menu's texts come
// through the same plain macro as the C++ table's; its ids are tried by the menu gating.)
TEST(ResourcesTest, StringsHaveTheIdsOfTheirDefinitions) {
  for (unsigned id : {
#define STRING_ENTRY(id, name, text) id,
#include "resources/string_table.def"
#undef STRING_ENTRY
       }) {
    char text[256];
    LoadStringText(id, text, sizeof text);
    EXPECT_STREQ(text, StringTableText(id)) << id;
  }
}

}  // namespace
