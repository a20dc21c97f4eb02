// The printed function-block scheme: its pages, headers and relay list as data, and whole print
// runs into PDF files read back with pdftotext.

#include "editors/fb/FbSchemePrint.h"
#include "FbEditorFixture.h"
#include "FileSizeLimit.h"
#include "PagePrinter.h"
#include "editors/fb/Obrinfalg.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLayout>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace FbPrint;

TEST(FbSchemePrint, EveryRowPrintsOnExactlyOnePage) {
    struct Case {
        int rows;
        std::vector<std::pair<int, int>> pages; // first and last block index
    };
    const std::vector<Case> cases{
        {1, {{0, 2}}},
        {5, {{0, 14}}},
        {6, {{0, 14}, {15, 17}}},
        {7, {{0, 14}, {15, 20}}},
        {40, {{0, 14}, {15, 29}, {30, 44}, {45, 59}, {60, 74}, {75, 89}, {90, 104}, {105, 119}}},
    };
    for (const Case& c : cases) {
        std::vector<int> blockRows;
        for (int r = 0; r < c.rows; ++r)
            for (int k = 0; k < 3; ++k)
                blockRows.push_back(r);
        std::vector<std::pair<int, int>> got;
        for (const Page& p : Pages(blockRows))
            got.push_back({p.first, p.last});
        EXPECT_EQ(got, c.pages) << c.rows;
    }
    EXPECT_TRUE(Pages({}).empty());
    // A short last row.
    const std::vector<Page> pages = Pages({0, 0, 1, 2, 3, 4, 5});
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].first, 6);
}

TEST(FbSchemePrint, HeadersRelayListAndCellTexts) {
    EXPECT_EQ(Place(QRect(100, 415, 50, 20), 400, 12, 12, 700), QRect(1200, 12 * 30 + 700, 600, 240));
    // A picture that fits keeps its scale; one too wide or too tall shrinks to the tighter side.
    EXPECT_EQ(PictureFit(QSize(9000, 7440), QSize(9000, 7440)), 1.0);
    EXPECT_EQ(PictureFit(QSize(12000, 7440), QSize(9000, 10000)), 0.75);
    EXPECT_EQ(PictureFit(QSize(12000, 8000), QSize(9000, 4000)), 0.5);
    EXPECT_EQ(PictureFit(QSize(100, 100), QSize(100, -5)), 0.0);

    const auto h0 = PageHeader(0, "Главное", "Редактор", "Режим работы с файлом", 190);
    ASSERT_EQ(h0.size(), 3u);
    EXPECT_EQ((std::array{h0[0].pos, h0[1].pos, h0[2].pos}),
              (std::array{QPoint(10, 0), QPoint(10, 190), QPoint(10, 380)}));
    EXPECT_EQ(h0[2].text, "Режим работы с файлом");
    EXPECT_EQ(PageHeader(0, "Главное", "Редактор", "", 190).size(), 2u);
    const auto h1 = PageHeader(1, "Главное", "Редактор", "Режим работы с файлом", 190);
    ASSERT_EQ(h1.size(), 1u);
    EXPECT_EQ(h1[0].text, "Главное   страница 2");

    // Ten pixels a character on a page 1000 wide: an even block goes on at x 500 while both fit.
    const RelayListMetrics metrics{30, 20, [](const QString& t) { return 10 * int(t.size()); }, 1000};
    const QString wide(60, QChar('x'));
    const auto lines = RelayLines(2, 8, 100, metrics, [&](int i) -> std::optional<QString> {
        if (i == 4) return std::nullopt;
        if (i == 6 || i == 7) return wide; // ФБ7 too wide for its right neighbour, ФБ8 for the right half
        return "ФБ" + QString::number(i + 1);
    });
    std::vector<std::pair<QPoint, QString>> got;
    for (const TextAt& t : lines)
        got.push_back({t.pos, t.text});
    const std::vector<std::pair<QPoint, QString>> expected{
        {QPoint(10, 100), "Информация о модулях реле:"},
        {QPoint(0, 130), "ФБ3"},
        {QPoint(500, 130), "ФБ4"},
        {QPoint(500, 150), "ФБ6"}, // ФБ5 has nothing
        {QPoint(0, 170), wide},
        {QPoint(0, 190), wide},
        {QPoint(0, 210), "ФБ9"},
    };
    EXPECT_EQ(got, expected);

    EXPECT_EQ(RelayCellText("МР1:  1,2,3"), "1,2,3");
    EXPECT_EQ(RelayCellText("МР1:  1,2,3,4"), "1,2,3,4");
    EXPECT_EQ(RelayCellText("МР1:  1,2,3,4,5"), "1,2,3,");
    EXPECT_EQ(RelayCellText("МР1"), "");
    EXPECT_EQ(RelayCellText(""), "");
}

namespace {

// PDF files in a temporary folder; the dialog's answer scripted.
class PdfPrinter : public QtPagePrinter {
  public:
    explicit PdfPrinter(const QString& dir) : QtPagePrinter(dir + "/job%1.pdf") {}
    bool Setup(QWidget* parent, int fromPage, int toPage, PrintRange range) override {
        ++setups;
        offered = {fromPage, toPage};
        ranges.push_back(range);
        return accept && QtPagePrinter::Setup(parent, fromPage, toPage, range);
    }
    int setups = 0;
    std::vector<PrintRange> ranges;
    std::pair<int, int> offered;
    bool accept = true;
};

// The text of the PDF, or of its page from 1 on.
QString PdfText(const QString& path, const QString& mode = "-layout", int page = 0) {
    QStringList args{mode, path, "-"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    QProcess p;
    p.start("pdftotext", args);
    if (!p.waitForFinished(30000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page of the PDF, in order: pdftotext ends every page with a form feed.
QStringList PdfPages(const QString& path) {
    QStringList pages = PdfText(path).split(QChar('\f'));
    pages.removeLast();
    return pages;
}

// The words of the PDF's page whose boxes overlap another word's, in pairs.
QStringList OverprintedWords(const QString& path, int page) {
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<)re");
    std::vector<std::pair<QRectF, QString>> words;
    for (auto m = word.globalMatch(PdfText(path, "-bbox", page)); m.hasNext();) {
        const auto w = m.next();
        words.push_back({QRectF(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                                QPointF(w.captured(3).toDouble(), w.captured(4).toDouble())),
                         w.captured(5)});
    }
    QStringList overlaps;
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i + 1; j < words.size(); ++j)
            if (words[i].first.adjusted(0.2, 0.2, -0.2, -0.2).intersects(words[j].first))
                overlaps << words[i].second + " / " + words[j].second;
    return overlaps;
}

// The page of the PDF rendered at one pixel a point, in shades of grey.
QImage PdfPageImage(const QString& path, int page) {
    const QString n = QString::number(page);
    const QString out = path + ".page" + n;
    QProcess p;
    p.start("pdftoppm", {"-r", "72", "-gray", "-singlefile", "-f", n, "-l", n, path, out});
    if (!p.waitForFinished(30000)) return {};
    return QImage(out + ".pgm");
}

// The area's pixels that are not white.
int MarkedPixels(const QImage& image, const QRect& area) {
    int marked = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            marked += qGray(image.pixel(x, y)) < 255;
    return marked;
}

// The page text holds every text of shown and none of absent.
void ExpectTexts(const QString& page, const QStringList& shown, const QStringList& absent) {
    for (const QString& t : shown)
        EXPECT_TRUE(page.contains(t)) << t.toStdString() << " in:\n" << page.toStdString();
    for (const QString& t : absent)
        EXPECT_FALSE(page.contains(t)) << t.toStdString() << " in:\n" << page.toStdString();
}

} // namespace

class FbSchemePrintRun : public FbEditorFixture {
  protected:
    void SetUp() override {
        FbEditorFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        SetPicturePrinter(&printer);
    }
    void TearDown() override {
        SetPicturePrinter(nullptr);
        FbEditorFixture::TearDown();
    }
    QTemporaryDir dir;
    PdfPrinter printer{dir.path()};
};

TEST_F(FbSchemePrintRun, AllPagesOfARunAreOneJob) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    // An empty scheme opens no dialog.
    Form().RebuildFBScheme();
    Form().Button2->click();
    EXPECT_EQ(printer.setups, 0);

    for (int i = 0; i < 18; ++i) // six rows of three
        SetBlock(i, 1);
    FB().SetB9Plus(0, 1, 0x05); // block 1 drives relays 1 and 3 of module 1; its row ends there
    SetAlgorithm(FB(), 0, {1}, "Котельная");
    FB().AlgTable.SetMark(0, 1);
    SetAlgorithm(FB(), 1, {18}, "Дальний");
    FB().AlgTable.SetMark(17, 18);
    FB().SetSigTipS(1, 2); // light-board cells 26 and 29, one on each page
    FB().SetSigNTabS(1, 26);
    FB().SetSigTipS(16, 2);
    FB().SetSigNTabS(16, 29);
    Cfg().Serv.FileMode = 1;
    parts.context.SetFileModeText("Файловый режим главного окна");
    QWidget mainWindow; // the header's first line is the main window's caption
    mainWindow.setWindowTitle("Программатор ВЕГ-17");
    Form().setParent(&mainWindow, Form().windowFlags());
    const auto unparent = qScopeGuard([&] { Form().setParent(nullptr, Form().windowFlags()); });
    Form().RebuildFBScheme();

    printer.accept = false; // a cancelled dialog prints nothing
    Form().Button2->click();
    EXPECT_EQ(printer.Jobs(), 0);
    EXPECT_TRUE(clock.sleeps.empty());

    printer.accept = true;
    Form().Button2->click();
    EXPECT_EQ(printer.offered, std::make_pair(1, 2));
    EXPECT_EQ(printer.Jobs(), 1);
    EXPECT_EQ(clock.sleeps, std::vector<int>({300, 500, 300, 500}));
    const QString job = dir.filePath("job1.pdf");
    const QStringList pages = PdfPages(job);
    ASSERT_EQ(pages.size(), 2);
    // The main window's file-mode label, not the editor's, on the first page only.
    ExpectTexts(pages[0],
                {Form().windowTitle(), "Программатор ВЕГ-17", "Файловый режим главного окна", "26",
                 "Информация о модулях реле:", "ФБ1 МР1: 1,3", "ФБ2 нет выхода на модуль реле", "Котельная"},
                {"Режим работы с файлом", "29", "Дальний"});
    ExpectTexts(pages[1], {"29", "страница 2", "Дальний", "ФБ18 нет выхода на модуль реле"},
                {"26", "Файловый режим", "ФБ1 "});
    for (const int page : {1, 2})
        EXPECT_EQ(OverprintedWords(job, page).join("; ").toStdString(), "") << page;

    Cfg().Serv.FileMode = 0; // the device's scheme: no file-mode line
    Form().Button2->click();
    ASSERT_EQ(printer.Jobs(), 2);
    ExpectTexts(PdfPages(dir.filePath("job2.pdf")).value(0), {Form().windowTitle()}, {"Файловый режим"});
}

// From the editor as it opens on a laptop and from the editor maximized, the relay grid of five
// modules and the background band lie inside the page's margins; the relay list and the headers
// are whole.
TEST_F(FbSchemePrintRun, TheWholeSchemeLiesInsideThePageMarginsAtEveryEditorWidth) {
    for (const char* tool : {"pdftotext", "pdftoppm"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
    for (int slot = 4; slot <= 8; ++slot)
        Cfg().Serv.SetSlotModuleCode(slot, 11); // five relay modules
    for (int i = 0; i < 18; ++i) { // six rows of three, the last of each with every relay: two pages
        SetBlock(i, 1);
        for (int k = 1; k <= 5 && i % 3 == 2; ++k)
            FB().SetB9Plus(i, k, 0xFF);
    }
    SetAlgorithm(FB(), 0, {1}, "Насосная станция");
    FB().AlgTable.SetMark(0, 1);
    SetAlgorithm(FB(), 1, {16}, "Котельная");
    FB().AlgTable.SetMark(15, 2);
    Form().RebuildFBScheme();
    QString relays; // every relay of the five modules
    for (int m = 1; m <= 5; ++m)
        relays += QString(" МР%1: 1,2,3,4,5,6,7,8").arg(m);
    const auto relayLine = [&](int block) {
        return "ФБ" + QString::number(block) + (block % 3 == 0 ? relays : " нет выхода на модуль реле");
    };

    QtPagePrinter desktop; // printed to a file chosen in the dialog, upright or landscape
    SetPicturePrinter(&desktop);
    struct Case {
        int width;
        QPageLayout::Orientation orientation;
    };
    for (const Case c : {Case{1035, QPageLayout::Portrait}, Case{1366, QPageLayout::Portrait},
                         Case{1035, QPageLayout::Landscape}, Case{1366, QPageLayout::Landscape}}) {
        const bool upright = c.orientation == QPageLayout::Portrait;
        const std::string name = std::to_string(c.width) + (upright ? " upright" : " landscape");
        Form().resize(c.width, 690);
        Form().layout()->invalidate();
        Form().layout()->activate();
        ASSERT_GT(Form().ScrollBox1->width(), c.width - 30);
        const QString file = dir.filePath(QString::fromStdString(name) + ".pdf");
        QPageLayout layout; // the page as the dialog leaves it, in points: one pixel of the rendered page
        modals.Then([&](QDialog* d) {
            QPrinter* chosen = static_cast<QPrintDialog*>(d)->printer();
            chosen->setOutputFileName(file);
            chosen->setPageOrientation(c.orientation);
            layout = chosen->pageLayout();
            return int(QDialog::Accepted);
        });
        Form().Button2->click();
        const QStringList pages = PdfPages(file);
        ASSERT_EQ(pages.size(), 2) << name;
        const QRect paint = layout.paintRectPoints();
        const QRect full = layout.fullRectPoints();
        for (int p = 0; p < 2; ++p) {
            QStringList shown{p == 0 ? Form().windowTitle() : QString("страница 2"),
                              p == 0 ? QString("Насосная станция") : QString("Котельная")};
            for (int block = 15 * p + 1; block <= std::min(18, 15 * p + 15); ++block)
                shown << relayLine(block);
            ExpectTexts(pages[p].simplified(), shown, {});

            const QImage image = PdfPageImage(file, p + 1);
            ASSERT_EQ(image.size(), full.size());
            // Nothing right of the printable area or below it; a pixel of the edge may be shaded.
            const int right = paint.right() + 2, bottom = paint.bottom() + 2;
            EXPECT_EQ(MarkedPixels(image, QRect(right, 0, full.width() - right, full.height())), 0)
                << name << " page " << p + 1;
            EXPECT_EQ(MarkedPixels(image, QRect(0, bottom, full.width(), full.height() - bottom)), 0)
                << name << " page " << p + 1;
            // Made no smaller than the upright page's width needs: the band reaches its right edge.
            if (upright) {
                EXPECT_GT(MarkedPixels(image, QRect(paint.right() - 2, paint.top(), 2, paint.height())), 0)
                    << name << " page " << p + 1;
            }
        }
    }
}

TEST_F(FbSchemePrintRun, PrintToFileHoldsEveryPageInOrder) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    QtPagePrinter desktop; // the editor's own printer; the file is chosen in its dialog
    SetPicturePrinter(&desktop);
    for (int i = 0; i < 33; ++i) // eleven rows: three pages
        SetBlock(i, 1);
    Form().RebuildFBScheme();
    const auto printTo = [&](const QString& file) {
        modals.Then([file](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            EXPECT_NE(dialog, nullptr);
            if (!dialog) return int(QDialog::Rejected);
            dialog->printer()->setOutputFileName(file); // "print to file" with its name
            return int(QDialog::Accepted);
        });
        Form().Button2->click();
    };

    const QString file = dir.filePath("scheme.pdf");
    printTo(file);
    EXPECT_EQ(desktop.Jobs(), 1);
    EXPECT_EQ(clock.sleeps, std::vector<int>({300, 500, 300, 500, 300, 500}));
    const QStringList pages = PdfPages(file);
    ASSERT_EQ(pages.size(), 3);
    const auto relayLine = [](int block) { return "ФБ" + QString::number(block) + " нет выхода"; };
    ExpectTexts(pages[0], {Form().windowTitle(), relayLine(1), relayLine(15)}, {"страница", relayLine(16)});
    ExpectTexts(pages[1], {"страница 2", relayLine(16), relayLine(30)},
                {Form().windowTitle(), relayLine(15), relayLine(31)});
    ExpectTexts(pages[2], {"страница 3", relayLine(31), relayLine(33)}, {relayLine(30)});

    // A file that cannot be written, in no folder or on a full disk, is told; an old file stays
    // byte for byte.
    const QString missing = dir.filePath("missing/scheme.pdf");
    boxes.Expect("Файл не удается сохранить:\n" + QDir::toNativeSeparators(missing), "Ошибка", MsgButtons::OK,
                 MsgIcon::Error, mrNone, mrOk);
    printTo(missing);
    EXPECT_FALSE(QFileInfo::exists(missing));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    const QByteArray before = old.readAll();
    old.close();
    boxes.Expect("Файл не удается сохранить:\n" + QDir::toNativeSeparators(file), "Ошибка", MsgButtons::OK,
                 MsgIcon::Error, mrNone, mrOk);
    {
        const FileSizeLimit full(before.size() / 2);
        ASSERT_TRUE(full.IsSet());
        printTo(file);
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"scheme.pdf"}); // no temporary file
}

TEST_F(FbSchemePrintRun, HiddenButtonsPrintTheTableTextWholeOrSelected) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    TFormInfAlg window(parts.context);
    parts.context.SetModifCode("0D010000");
    Cfg().Serv.FileMode = 0;
    window.But3->click();
    const QStringList lines = window.RichEdit1->toPlainText().split('\n');
    EXPECT_EQ(lines.value(0), "ВЕГ-17  0D010000  № 1");
    window.But5->click();
    ASSERT_EQ(printer.Jobs(), 1);
    ExpectTexts(PdfText(dir.filePath("job1.pdf")), {"вход. сигнала 4"}, {});

    window.Button1->click();
    QTextCursor cursor(window.RichEdit3->document()->lastBlock()); // the second heading row
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window.RichEdit3->setTextCursor(cursor);
    window.Button2->click();
    ASSERT_EQ(printer.Jobs(), 2);
    EXPECT_FALSE(window.RichEdit4->isVisible());
    ExpectTexts(PdfText(dir.filePath("job2.pdf")),
                {"Печать выделенной части таблицы", "Функциональные блоки", "п/п"}, {"Наименование"});

    // Only the block table's print presets the dialog to the selection.
    cursor = QTextCursor(window.RichEdit1->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    window.RichEdit1->setTextCursor(cursor);
    window.But5->click();
    EXPECT_EQ(printer.ranges,
              std::vector<PrintRange>({PrintRange::AllPages, PrintRange::AllPages, PrintRange::Selection}));
}

TEST(PagePrinterDialog, TheSelectionRangeIsPresetWhenAsked) {
    ScriptedModals modals;
    QtPagePrinter printer;
    for (const PrintRange range : {PrintRange::Selection, PrintRange::AllPages}) {
        modals.Then([&](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            EXPECT_NE(dialog, nullptr);
            if (!dialog) return int(QDialog::Rejected);
            const bool selection = range == PrintRange::Selection;
            EXPECT_EQ(dialog->printRange() == QAbstractPrintDialog::Selection, selection);
            EXPECT_EQ(dialog->testOption(QAbstractPrintDialog::PrintSelection), selection);
            EXPECT_EQ(dialog->minPage(), 1);
            EXPECT_EQ(dialog->maxPage(), 2);
            return int(QDialog::Rejected);
        });
        EXPECT_FALSE(printer.Setup(nullptr, 1, 2, range));
    }
    EXPECT_EQ(modals.Shown(), 2);
}
