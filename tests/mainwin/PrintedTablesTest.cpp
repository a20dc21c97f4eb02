// The tables the windows print for the simulated device's sample, turned into PDF by the real
// LibreOffice as a print turns them: every line of a table stays one line on its page, in type no
// smaller than 6 pt.

#include "AlgTableEdit.h"
#include "InfoPrint.h"
#include "MainWindowSupport.h"
#include "Obrinformmr.h"
#include "OfficeText.h"
#include "RecordingWordProcessor.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/fb/Obrinfalg.h"

#include "../fbeditor/FbRecords.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// The non-blank lines, their runs of blanks and tabs made one blank.
QStringList Simplified(const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines)
        if (!line.simplified().isEmpty()) kept << line.simplified();
    return kept;
}

// The smallest glyph width of the words on the PDF's pages, in points.
double NarrowestGlyph(const QString& pdf) {
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<&]+)</word>)re");
    double narrowest = 1e9;
    for (const QRegularExpressionMatch& m : word.globalMatch(PdfText(pdf, {"-bbox"})))
        narrowest =
            std::min(narrowest, (m.captured(2).toDouble() - m.captured(1).toDouble()) / m.captured(3).size());
    return narrowest;
}

} // namespace

TEST(PrintedTables, EveryLineOfTheSampleTablesStaysOneLineOnItsPage) {
    for (const char* program : {"soffice", "pdftotext"})
        if (QStandardPaths::findExecutable(program).isEmpty()) GTEST_SKIP() << program << " is not installed";
    const SampleReadWindow sample;
    const auto& form = sample.form;
    const TempWorkDir& work = sample.work;
    ASSERT_EQ(form->Cfg.Serv.FileMode, 0);
    // A block of four inputs; algorithms, one with a name of the whole length.
    TProgFBClass& fb = form->Cfg.FB;
    SetLogicRecord(fb, 0, 1, {{0, 1}, {0, 2}, {1, 3}, {0, 4}});
    SetAlgorithm(fb, 0, {1, 2, 3}, "Насосы");
    SetAlgorithm(fb, 1, {4, 5, 6, 7, 8, 9, 10},
                 QString("Защита котла по давлению и температуре ").repeated(3));
    SetAlgorithm(fb, 2, {2, 4, 6, 8, 10}, "Вентиляция");

    RecordingWordProcessor wp;
    SetInfoWordProcessor(&wp);
    const QStringList files = {work.Path() + "/outputs.rtf", work.Path() + "/blocks.rtf",
                               work.Path() + "/algorithms.rtf", work.Path() + "/analogue.rtf"};
    {
        ScriptedModals modals;
        ScriptedMessageBoxes boxes;
        for (int n = 0; n < int(files.size()); ++n)
            boxes.ExpectText("Печатать?", "Необходимость печати файла .rtf", mrNo);
        modals.Then(ChooseFile(files[0]));
        form->AInformMR->trigger();
        QTest::mouseClick(form->InformMR->ButPrint, Qt::LeftButton);

        form->FormInfAlg->FillTables(BlockRows(fb, form->Cfg.Serv, CreatFb::TypeNames()), AlgorithmRows(fb));
        modals.Then(ChooseFile(files[1])).Then(ChooseFile(files[2]));
        QTest::mouseClick(form->FormInfAlg->BNew1, Qt::LeftButton);
        QTest::mouseClick(form->FormInfAlg->BNew2, Qt::LeftButton);

        modals.Then([&](QDialog*) {
            QTest::mouseClick(form->FormPROG->BNew1, Qt::LeftButton);
            return 2;
        });
        modals.Then(ChooseFile(files[3]));
        form->SlotControls[0]->click(); // the controller's slot opens its analogue editor
        EXPECT_EQ(modals.Shown(), 5);
    }
    SetInfoWordProcessor(nullptr);

    const QString out = work.Path() + "/converted";
    ASSERT_TRUE(OfficeConvert(files, "txt:Text (encoded):UTF8", out));
    ASSERT_TRUE(OfficeConvert(files, "pdf", out));
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QStringList paragraphs = Simplified(ConvertedLines(ConvertedName(file, out, "txt")));
        const QString pdf = ConvertedName(file, out, "pdf");
        const QStringList printed = Simplified(PdfText(pdf, {"-layout"}).split(QRegularExpression("[\n\f]")));
        ASSERT_GT(paragraphs.size(), 5);
        QStringList broken;
        for (const QString& line : paragraphs)
            if (!printed.contains(line)) broken << line;
        EXPECT_TRUE(printed == paragraphs) << "not one line on the page:\n"
                                           << broken.join('\n').toStdString();
        EXPECT_GE(NarrowestGlyph(pdf), 0.6 * 6 - 0.01); // the monospaced glyph is 0.6 of the size
    }
}
