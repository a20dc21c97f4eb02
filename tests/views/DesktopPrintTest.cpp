// The desktop print path with stand-in programs on PATH: what LibreOffice and lp are given, and the
// one box for each way a print fails to reach the print system. One test prints a real table
// through the real LibreOffice.

#include "RtfTablePrint.h"
#include "ViewsTestSupport.h"
#include "WordProcessor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace {

// PATH for the length of a test.
class ScopedPath {
  public:
    explicit ScopedPath(const QByteArray& path) : old_(qgetenv("PATH")) { qputenv("PATH", path); }
    ~ScopedPath() { qputenv("PATH", old_); }

  private:
    QByteArray old_;
};

// A folder of stand-in programs. Each records its arguments, one a line, in <name>.args, then runs
// the body it was given with $D naming the folder.
class StandIns {
  public:
    QByteArray Path() const { return dir_.path().toLocal8Bit(); }
    QString File(const QString& name) const { return dir_.filePath(name); }

    void Install(const QString& name, const QByteArray& body) const {
        QFile script(File(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nPATH=/usr/bin:/bin\nD='" + Path() + "'\nprintf '%s\\n' \"$@\" > \"$D/" +
                     name.toLocal8Bit() + ".args\"\n" + body + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    // The arguments of the last run; empty when it never ran.
    QStringList Args(const QString& name) const {
        const QString text = QString::fromLocal8Bit(ReadAll(File(name + ".args")));
        return text.isEmpty() ? QStringList() : text.chopped(1).split('\n');
    }

    // Drops what the last run left behind.
    void Forget() const {
        for (const char* name : {"soffice.args", "lp.args", "printed.pdf", "child"})
            QFile::remove(File(name));
    }

  private:
    QTemporaryDir dir_;
};

// soffice writing the PDF it was asked for into its --outdir.
const QByteArray kConverts = R"sh(while [ $# -gt 1 ]; do [ "$1" = --outdir ] && out=$2; shift; done
name=$(basename "$1")
printf '%%PDF-1.4 stand-in\n' > "$out/${name%.*}.pdf")sh";

// lp taking the job: it keeps a copy of the file it was given and answers with a request id.
const QByteArray kQueues = R"sh(echo "LC_ALL=$LC_ALL" >> "$D/lp.args"
for f; do :; done
cp "$f" "$D/printed.pdf"
echo "request id is Office-7 (1 file(s))")sh";

// True once the process is gone (or only waits to be reaped).
bool Ended(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
}

class DesktopPrint : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile file(doc);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rtf);
    }

    // Opens, prints and closes the document as the print sequence does. Returns the window
    // thread's longest pause between the ticks of a 10 ms timer meanwhile.
    qint64 PrintOnce(int timeoutMs = 10000) {
        DesktopWordProcessor wp(nullptr, timeoutMs, [this] { return printer; });
        EXPECT_TRUE(wp.OpenDocument(doc));
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
        ticks.start(10);
        sinceTick.start();
        wp.PrintOut();
        longest = std::max(longest, sinceTick.elapsed());
        wp.Save(doc);
        wp.Close(doc);
        wp.Quit();
        return longest;
    }

    QString Failed(const QString& reason) const {
        return "Не удалось напечатать файл " + QDir::toNativeSeparators(doc) + "\n" + reason;
    }

    const QByteArray systemPath = qgetenv("PATH");
    StandIns standIns;
    ScopedPath path{standIns.Path()};
    QTemporaryDir documents;
    const QString doc = documents.filePath("t.rtf");
    const QByteArray rtf = RtfDocument({"строка"}, kLandscape);
    QString printer = "Office";
};

} // namespace

TEST_F(DesktopPrint, TheConvertedPdfGoesToTheDefaultPrinterWhileTheWindowsPaint) {
    standIns.Install("soffice", "sleep 1\n" + kConverts);
    standIns.Install("lp", kQueues);
    ScriptedMessageBoxes boxes; // a print that reached the print system says nothing
    EXPECT_LT(PrintOnce(), 500);

    const QStringList convert = standIns.Args("soffice");
    ASSERT_EQ(convert.size(), 7) << convert.join(' ').toStdString();
    const QString work = convert[5];
    EXPECT_EQ(convert,
              QStringList({"-env:UserInstallation=" + QUrl::fromLocalFile(work + "/profile").toString(),
                           "--headless", "--convert-to", "pdf", "--outdir", work, doc}));
    EXPECT_EQ(standIns.Args("lp"), QStringList({"-d", "Office", "-t", "t.rtf", work + "/t.pdf", "LC_ALL=C"}));
    EXPECT_EQ(ReadAll(standIns.File("printed.pdf")), "%PDF-1.4 stand-in\n");
    EXPECT_FALSE(QFileInfo::exists(work)) << "the temporary folder stays";
    EXPECT_EQ(ReadAll(doc), rtf);
}

TEST_F(DesktopPrint, EachPrintThatDoesNotReachThePrintSystemIsToldInOneBox) {
    const QString noPdf = "LibreOffice не преобразовал файл в PDF";
    const QString timedOut = "Время ожидания печати истекло";
    const QByteArray hangsWithAChild = R"sh(sleep 30 &
echo $! > "$D/child"
wait)sh";
    const struct {
        QByteArray soffice, lp;
        QString reason;
        bool lpRuns;
    } cases[] = {
        {"exit 0", kQueues, noPdf, false}, // exits 0 and makes nothing
        {kConverts + "\nexit 1", kQueues, noPdf, false},
        {QByteArray(kConverts).replace("%%PDF-1.4 stand-in", "Error: source file could not be loaded"),
         kQueues, noPdf, false},
        {kConverts, "echo 'lp: Error - The printer or class does not exist.' >&2; exit 1",
         "lp: Error - The printer or class does not exist.", true},
        {kConverts, "exit 0", "Система печати не приняла задание", true},
        {hangsWithAChild, kQueues, timedOut, false},
        {kConverts, "exec sleep 30", timedOut, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.soffice + " | " + c.lp).toStdString());
        standIns.Forget();
        standIns.Install("soffice", c.soffice);
        standIns.Install("lp", c.lp);
        ScriptedMessageBoxes boxes;
        boxes.Expect(Failed(c.reason), "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        QElapsedTimer timer;
        timer.start();
        PrintOnce(1000);
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_EQ(standIns.Args("lp").isEmpty(), !c.lpRuns);
        EXPECT_EQ(ReadAll(doc), rtf);
        const QByteArray child = ReadAll(standIns.File("child")).trimmed();
        if (child.isEmpty()) continue;
        // What the stopped program started is stopped with it.
        QElapsedTimer wait;
        wait.start();
        while (!Ended(child.toLongLong()) && wait.elapsed() < 2000)
            QThread::msleep(10);
        EXPECT_TRUE(Ended(child.toLongLong())) << "the hung program's child still runs";
    }
}

TEST_F(DesktopPrint, NoPrinterNoSpoolerOrNoLibreOfficeStartsNothingAndSaysSo) {
    standIns.Install("soffice", kConverts);
    {
        printer.clear();
        ScriptedMessageBoxes boxes;
        boxes.Expect("Принтер не найден. Файл не напечатан: " + QDir::toNativeSeparators(doc),
                     "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        standIns.Install("lp", kQueues);
        PrintOnce();
        printer = "Office";
    }
    {
        QFile::remove(standIns.File("lp"));
        ScriptedMessageBoxes boxes;
        boxes.Expect(Failed("Программа печати lp не найдена"), "Ошибка", MsgButtons::OK, MsgIcon::Error,
                     mrNone, mrOk);
        PrintOnce();
    }
    EXPECT_TRUE(standIns.Args("soffice").isEmpty());
    EXPECT_TRUE(standIns.Args("lp").isEmpty());

    // Without LibreOffice the sequence stops after the file is written, and says where it is.
    QFile::remove(standIns.File("soffice"));
    DesktopWordProcessor wp(nullptr, 1000, [this] { return printer; });
    ScriptedMessageBoxes boxes;
    boxes.Expect("Текстовый процессор LibreOffice не найден.\nФайл сохранён: " +
                     QDir::toNativeSeparators(doc),
                 "Предупреждение", MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
    EXPECT_EQ(RtfTablePrint(nullptr, {"строка"}, doc, wp, kLandscape).outcome, RtfPrintOutcome::Finished);
    EXPECT_EQ(ReadAll(doc), rtf);
}

// The real LibreOffice converts a landscape table of several pages; the stand-in lp keeps the PDF.
TEST_F(DesktopPrint, ARealTablePrintsLandscapeWithEveryLine) {
    const ScopedPath withSystem(standIns.Path() + ":" + systemPath);
    for (const char* program : {"soffice", "pdfinfo", "pdftotext"})
        if (QStandardPaths::findExecutable(program).isEmpty()) GTEST_SKIP() << program << " is not installed";
    standIns.Install("lp", kQueues);
    QStringList lines{"          Функциональные блоки", "ВЕГ-17-Р  1A2B3C4D  № 5"};
    for (int n = 1; n <= 80; ++n)
        lines << QStringLiteral("%1\tФБ%1\tИЛИ-НЕ\tвход %2\tЁлка").arg(n, 3).arg(n * 7);
    DesktopWordProcessor wp(nullptr, DesktopWordProcessor::kPrintTimeoutMs, [this] { return printer; });
    ScriptedMessageBoxes boxes;
    boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question, mrNo,
                 mrYes);
    ASSERT_EQ(RtfTablePrint(nullptr, lines, doc, wp, kLandscape).outcome, RtfPrintOutcome::Finished);

    const QString pdf = standIns.File("printed.pdf");
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString facts = QString::fromUtf8(info.readAllStandardOutput());
    const QRegularExpressionMatch size =
        QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(facts);
    ASSERT_TRUE(size.hasMatch()) << facts.toStdString();
    EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble()) << "not landscape";
    EXPECT_NE(facts.indexOf(QRegularExpression(R"(Pages:\s+[2-9])")), -1) << facts.toStdString();

    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    for (const QString& line : lines)
        EXPECT_TRUE(printed.contains(QString(line).replace('\t', ' ').simplified())) << line.toStdString();
}
