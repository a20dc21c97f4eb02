#include "Dialogs.h"
#include "Colors.h"
#include "RadioGroup.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// Scripted answers are exercised by every dialog test; here the script must fail a test that
// shows a box it did not expect, a different text, or leaves an expected box unshown.
TEST(ScriptedDialogs, UnexpectedWrongOrUnusedBoxFailsTheTest) {
    const struct {
        const char *expected, *shown, *failure;
    } cases[] = {{nullptr, "Лишнее окно", "unexpected message box"},
                 {"Текст", "Текст ", "Текст"},
                 {"Никогда", nullptr, "never shown"}};
    for (const auto& c : cases)
        EXPECT_NONFATAL_FAILURE(
            {
                ScriptedMessageBoxes boxes;
                if (c.expected) boxes.ExpectText(c.expected, "Ошибка");
                if (c.shown) MessageBox(nullptr, c.shown, "Ошибка");
            },
            c.failure);
}

TEST(Platform, ColourIsBlueGreenRedAndRadioGroupCanBeCleared) {
    EXPECT_EQ(TColorToQColor(0xF0CAA6), QColor(0xA6, 0xCA, 0xF0));
    RadioGroup group("Тип", {"один", "два", "три"});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
}
