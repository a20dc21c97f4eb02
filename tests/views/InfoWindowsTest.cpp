#include "Obrinform.h"
#include "Obrinformmr.h"
#include "PrintContext.h"
#include "ViewsTestSupport.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

namespace {

void expectAllCellsEmpty(const QTableWidget* grid) {
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) {
            ASSERT_NE(grid->item(r, c), nullptr) << r << "," << c;
            EXPECT_TRUE(grid->item(r, c)->text().isEmpty()) << r << "," << c;
        }
}

} // namespace

TEST(InformationWindows, GridsHaveTheirShapeAndClearToEmptyCells) {
    // One row per input (192 discrete, 60 analogue) and per output (40).
    TInform inform;
    TInformMR informMR;
    ASSERT_EQ(QList<int>({inform.StringGrid1->rowCount(), inform.StringGrid2->rowCount(),
                          informMR.StringGrid1->rowCount()}),
              QList<int>({192, 60, 40}));
    expectAllCellsEmpty(inform.StringGrid1);
    inform.StringGrid1->item(191, TInform::dcRelay)->setText("       V");
    inform.StringGrid2->item(59, TInform::acLongText)->setText("длинный текст");
    inform.RichEdit1->setPlainText("a");
    inform.RichEdit4->setPlainText("b");
    inform.Clear();
    expectAllCellsEmpty(inform.StringGrid1);
    expectAllCellsEmpty(inform.StringGrid2);
    EXPECT_TRUE(inform.RichEdit1->toPlainText().isEmpty());
    EXPECT_TRUE(inform.RichEdit4->toPlainText().isEmpty());

    // Without an owner to name the configuration the print buttons do nothing.
    ScriptedModals modals;
    inform.ButPrint->click();
    informMR.ButPrint->click();
    EXPECT_EQ(modals.Shown(), 0);

    informMR.StringGrid1->item(39, TInformMR::colBlocking)->setText("с   блокировкой");
    informMR.Clear();
    expectAllCellsEmpty(informMR.StringGrid1);

    // No column title is cut.
    for (const QTableWidget* grid : {inform.StringGrid1, inform.StringGrid2, informMR.StringGrid1})
        for (int c = 0; c < grid->columnCount(); ++c)
            EXPECT_GE(grid->horizontalHeader()->sectionSize(c),
                      grid->horizontalHeader()->fontMetrics().horizontalAdvance(
                          grid->horizontalHeaderItem(c)->text()))
                << grid->horizontalHeaderItem(c)->text().toStdString();
}

namespace {

// Puts the recording word processor behind the information windows for one test.
struct RecordingPrinter {
    RecordingWordProcessor wp;
    RecordingPrinter() { SetInfoWordProcessor(&wp); }
    ~RecordingPrinter() { SetInfoWordProcessor(nullptr); }
};

// The owner's side of printing: a fixed identity line.
struct FixedPrintContext : PrintContext {
    QString line;
    QString IdentityLine() const override { return line; }
};

} // namespace

TEST(InformationWindows, PrintButtonsWriteTheFilledRowsUnderTheIdentityLineInLandscape) {
    QTemporaryDir dir;
    RecordingPrinter printer;
    FixedPrintContext print;
    print.line = "ВЕГ-17  0D010000  № 5";
    TInform inform;
    TInformMR informMR;
    inform.Printing = &print;
    informMR.Printing = &print;
    inform.StringGrid1->item(0, TInform::dcNumber)->setText("1");
    inform.StringGrid1->item(0, TInform::dcIdent)->setText("Насос");
    inform.StringGrid2->item(2, TInform::acNumber)->setText("3");
    inform.StringGrid2->item(2, TInform::acIdent)->setText("БРОН.А3");
    inform.StringGrid2->item(2, TInform::acLongText)->setText("Давление");

    { // a wrong extension asks again with the name kept; the second name is printed
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        const QString bad = dir.filePath("inputs.txt");
        const QString good = dir.filePath("inputs");
        modals.Then([&](QDialog* d) {
            EXPECT_EQ(d, inform.DialSaveFile);
            EXPECT_EQ(d->windowTitle(), "Создание  или замена файла .rtf ");
            print.SaveDialogAccepted = 7; // cleared before the dialog is shown
            inform.DialSaveFile->selectFile(bad);
            return int(QDialog::Accepted);
        });
        boxes.ExpectText("Неверно задано имя файла", "Cохранение данных в файл");
        modals.Then([&](QDialog*) {
            EXPECT_EQ(print.SaveDialogAccepted, 0);
            EXPECT_EQ(inform.DialSaveFile->selectedFiles().value(0), bad);
            inform.DialSaveFile->selectFile(good);
            return int(QDialog::Accepted);
        });
        boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question,
                     mrNo, mrYes);
        inform.ButPrint->click();
        EXPECT_EQ(print.SaveDialogAccepted, 1);
        const QString rtf = good + ".rtf";
        EXPECT_EQ(printer.wp.calls, QStringList({"Open " + rtf, "PageSetup 1 29 29 29 29", "PrintOut",
                                                 "Save " + rtf, "Close " + rtf, "Quit"}));
        const QByteArray doc = ReadAll(rtf);
        const QStringList lines{"Информация о входах",
                                "ВЕГ-17  0D010000  № 5",
                                "",
                                "№\tИдентификатор\tАдрес\tТекстовый реквизит\tРеле",
                                "1\tНасос        \t     \t                  \t    ",
                                "",
                                "№\tИдентификатор\tАдрес\tПозиция\tОписание",
                                "3\tБРОН.А3      \t     \t       \tДавление"};
        EXPECT_EQ(doc, RtfDocument(lines, kLandscape));
    }
    { // the output table; the identity line is asked for at each print
        ScriptedMessageBoxes boxes;
        ScriptedModals modals;
        print.line = "Файл /data/a.veg";
        informMR.StringGrid1->item(8, TInformMR::colName)->setText("Выход 9");
        const QString out = dir.filePath("outputs.rtf");
        modals.Then([&](QDialog* d) {
            EXPECT_EQ(d, informMR.DialSaveFile);
            informMR.DialSaveFile->selectFile(out);
            return int(QDialog::Accepted);
        });
        boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question,
                     mrNo, mrNo);
        informMR.ButPrint->click();
        EXPECT_EQ(ReadAll(out), RtfDocument(QStringList{"Информация о выходах", "Файл /data/a.veg", ""} +
                                                InfoGridLines(informMR.StringGrid1),
                                            kLandscape));
    }
}
