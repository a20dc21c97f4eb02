#include "Dialogs.h"
#include "Colors.h"
#include "RadioGroup.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>

TEST(ScriptedDialogs, AnswerExpectedBoxesAndModalsInOrder) {
    ScriptedMessageBoxes boxes;
    boxes.Expect("Вопрос?", "Предупреждение", MsgButtons::YesNo, MsgIcon::Question, mrNo, mrYes)
        .ExpectText("Второй", "Ошибка");
    EXPECT_EQ(MessageBox(nullptr, "Вопрос?", "Предупреждение", MsgButtons::YesNo, MsgIcon::Question, mrNo),
              mrYes);
    EXPECT_EQ(MessageBox(nullptr, "Второй", "Ошибка", MsgButtons::OK, MsgIcon::Error), mrOk);
    EXPECT_TRUE(boxes.Done());

    QDialog dialog;
    ScriptedModals modals;
    modals.Then([&](QDialog* d) {
        EXPECT_EQ(d, &dialog);
        return int(mrYes);
    });
    EXPECT_EQ(ShowModal(&dialog), mrYes);
}

TEST(ScriptedDialogs, UnexpectedWrongOrUnusedBoxFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedMessageBoxes boxes;
            MessageBox(nullptr, "Лишнее окно", "Ошибка");
        },
        "unexpected message box");
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

TEST(Platform, ColourIsBlueGreenRedAndRadioGroupCanBeCleared) {
    EXPECT_EQ(TColorToQColor(0xF0CAA6), QColor(0xA6, 0xCA, 0xF0));
    RadioGroup group("Тип", {"один", "два", "три"});
    EXPECT_EQ(group.ItemIndex(), -1);
    group.SetItemIndex(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    group.SetItemIndex(-1);
    EXPECT_EQ(group.ItemIndex(), -1);
}
