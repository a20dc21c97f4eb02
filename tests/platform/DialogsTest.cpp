#include "Dialogs.h"
#include "Colors.h"
#include "FileDialogs.h"
#include "ModalCheck.h"
#include "RadioGroup.h"
#include "ScriptedDialogs.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
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
    for (const QString boxCaption : {"Подтвердите удаление ", "Предупреждение"}) {
        int boxWidth = 0;
        CheckNextModal([&](QWidget* box) { boxWidth = box->width(); });
        MessageBox(nullptr, "Не выбран ФБ", boxCaption, MsgButtons::YesNo, MsgIcon::Warning);
        EXPECT_GE(boxWidth, TitleBarWidth(boxCaption)) << boxCaption.toStdString();
    }

    QDialog dialog;
    dialog.setWindowTitle("Необходимость печати файла .rtf");
    (new QVBoxLayout(&dialog))->addWidget(new QLabel("Да"));
    int dialogWidth = 0;
    CheckNextModal([&](QWidget* w) { dialogWidth = w->width(); });
    EXPECT_EQ(ShowModal(&dialog), QDialog::Rejected);
    EXPECT_GE(dialogWidth, TitleBarWidth(dialog.windowTitle()));
}

// Replacing a file is asked in a box as wide as its caption needs; "Нет" keeps the file and the
// dialog open, "Да" takes the name.
TEST(Dialogs, TheSaveDialogAsksToReplaceAFileInABoxItsCaptionFits) {
    QTranslator russian;
    ASSERT_TRUE(russian.load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&russian);
    QTemporaryDir dir;
    const QString existing = dir.filePath("t.rtf");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    SaveFileDialog dialog(nullptr, "Создание  или замена файла .rtf ", "Файлы RTF (*.rtf)", "rtf");
    dialog.setDirectory(dir.path());
    QStringList questions;
    bool openAfterNo = false;
    // Answers the box that opens next with the given button, looking at its text and width first.
    const auto answerNext = [&](QMessageBox::StandardButton answer) {
        QTimer::singleShot(0, [&, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return ADD_FAILURE() << "no question asked";
            questions << box->text() + " | " + box->windowTitle();
            EXPECT_GE(box->width(), TitleBarWidth(box->windowTitle()));
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
        });
    };
    QTimer::singleShot(0, [&] {
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        if (!name) return ADD_FAILURE() << "no file name field";
        QTest::keyClicks(name, "t");
        answerNext(QMessageBox::No);
        QTest::keyClick(name, Qt::Key_Return);
        openAfterNo = dialog.isVisible();
        answerNext(QMessageBox::Yes);
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    QCoreApplication::removeTranslator(&russian);
    EXPECT_TRUE(openAfterNo);
    const QString asked = "t.rtf уже существует.\nЗаменить его? | Создание  или замена файла .rtf ";
    EXPECT_EQ(questions, QStringList({asked, asked}));
    EXPECT_EQ(dialog.selectedFiles(), QStringList{existing});
}
