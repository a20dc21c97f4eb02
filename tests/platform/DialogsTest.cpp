#include "Colors.h"
#include "Dialogs.h"
#include "RadioGroup.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <QDialog>

TEST(ScriptedMessageBoxes, AnswersExpectedBoxesInOrder)
{
    ScriptedMessageBoxes boxes;
    boxes.Expect("Вопрос?", "Предупреждение", MsgButtons::YesNo, MsgIcon::Question, mrNo, mrYes)
        .ExpectText("Второй", "Ошибка");
    EXPECT_EQ(MessageBox(nullptr, "Вопрос?", "Предупреждение", MsgButtons::YesNo, MsgIcon::Question, mrNo), mrYes);
    EXPECT_EQ(MessageBox(nullptr, "Второй", "Ошибка", MsgButtons::OK, MsgIcon::Error), mrOk);
    EXPECT_TRUE(boxes.Done());
}

TEST(ScriptedMessageBoxes, UnexpectedBoxFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            MessageBox(nullptr, "Лишнее окно", "Ошибка");
        },
        "unexpected message box");
}

TEST(ScriptedMessageBoxes, WrongTextOrUnusedLineFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.ExpectText("Текст", "Ошибка");
            MessageBox(nullptr, "Текст ", "Ошибка");
        },
        "Текст");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            boxes.ExpectText("Никогда", "Ошибка");
        },
        "never shown");
}

TEST(ScriptedModals, HandlerReceivesTheDialogAndGivesItsResult)
{
    QDialog dialog;
    dialog.setWindowTitle("Окно");
    ScriptedModals modals;
    modals.Then([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Окно");
        return int(mrYes);
    });
    EXPECT_EQ(ShowModal(&dialog), mrYes);
}

TEST(Colors, TColorIsBlueGreenRed)
{
    const QColor c = TColorToQColor(0xF0CAA6);
    EXPECT_EQ(c.red(), 0xA6);
    EXPECT_EQ(c.green(), 0xCA);
    EXPECT_EQ(c.blue(), 0xF0);
}

TEST(RadioGroup, ItemIndexFollowsSelectionAndCanBeCleared)
{
    RadioGroup group("Тип", {"один", "два", "три"});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItems({"а"});
    EXPECT_EQ(group.ItemCount(), 1);
}
