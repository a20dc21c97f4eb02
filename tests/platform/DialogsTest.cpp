#include "Dialogs.h"
#include "Colors.h"
#include "ModalCheck.h"
#include "RadioGroup.h"
#include "ScriptedDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

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

// A box or a dialog as narrow as its short text would have the title bar cut its caption.
TEST(Dialogs, MessageBoxesAndModalWindowsAreAsWideAsTheirCaptionNeeds) {
    const QString boxCaption = "Подтвердите удаление ";
    int boxWidth = 0;
    CheckNextModal([&](QWidget* box) { boxWidth = box->width(); });
    EXPECT_EQ(MessageBox(nullptr, "Удалить?", boxCaption, MsgButtons::YesNo, MsgIcon::Question), mrNo);
    EXPECT_GE(boxWidth, TitleBarWidth(boxCaption));

    QDialog dialog;
    dialog.setWindowTitle("Необходимость печати файла .rtf");
    (new QVBoxLayout(&dialog))->addWidget(new QLabel("Да"));
    int dialogWidth = 0;
    CheckNextModal([&](QWidget* w) { dialogWidth = w->width(); });
    EXPECT_EQ(ShowModal(&dialog), QDialog::Rejected);
    EXPECT_GE(dialogWidth, TitleBarWidth(dialog.windowTitle()));
}
