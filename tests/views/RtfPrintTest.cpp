#include "FileSizeLimit.h"
#include "OfficeText.h"
#include "RtfTablePrint.h"
#include "TextCodec.h"
#include "ViewsTestSupport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

TEST(RtfWriter, EscapesSpecialsTabsAndEncodesCyrillic) {
    const QByteArray doc = RtfDocument({"a\\b{c}\td", "Ёж №5 ё", "Ω", "x\ny\x01"});
    EXPECT_TRUE(doc.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_TRUE(doc.contains("\\fmodern"));
    EXPECT_TRUE(doc.contains("a\\\\b\\{c\\}\\tab d\\par"));
    EXPECT_TRUE(doc.contains("\\'a8\\'e6 \\'b95 \\'b8\\par"));
    EXPECT_TRUE(doc.contains("\\u937?\\par"));     // outside the code page
    EXPECT_TRUE(doc.contains("x\\par\r\ny\\par")); // a line feed splits the paragraph
    // No page set-up given: upright A4 with the table margins, where these short lines fit.
    EXPECT_TRUE(doc.contains("\\paperw11906\\paperh16838\\margl580\\margr580\\margt580\\margb580\r\n"));
    for (const char c : doc) // plain ASCII; control characters other than line breaks dropped
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80u && (c >= 0x20 || c == '\r' || c == '\n')) << int(c);

    const QByteArray wide = RtfDocument({"t"}, kLandscape);
    EXPECT_TRUE(
        wide.contains("\\paperw16838\\paperh11906\\margl580\\margr580\\margt580\\margb580\\landscape"));
    const QByteArray tall = RtfDocument({"t"}, PageSetup{false, 10, 20, 30, 40});
    EXPECT_TRUE(tall.contains("\\paperw11906\\paperh16838\\margl200\\margr400\\margt600\\margb800\r\n"));
}

// The font size, in half points, is the largest up to 10 pt at which the widest line fits between
// the margins (a character 0.6 of the size wide), never under 6 pt; tab stops every six widths.
TEST(RtfWriter, SetsTheWidestLineInTheLargestSizeThatFitsItsPage) {
    const auto columns = [](int n) { return QString(n / 6, '\t') + QString(n % 6, 'x'); };
    const struct {
        QStringList lines;
        std::optional<PageSetup> page;
        int size;
        bool landscape;
    } cases[] = {
        {{"x"}, std::nullopt, 20, false},
        {{columns(111)}, std::nullopt, 16, false}, // upright at 8 pt
        {{columns(112)}, std::nullopt, 20, true},  // not upright at 8 pt: landscape
        {{columns(130)}, kLandscape, 20, true},    // 130 widths of 6 pt in 783.9 pt
        {{columns(131)}, kLandscape, 19, true},
        {{columns(131)}, PageSetup{false, 10, 20, 30, 40}, 14, false}, // the caller's page stays
        {{columns(400)}, kLandscape, 12, true},
        {{"ab\tc\t" + QString(120, 'y')}, kLandscape, 19, true},        // the tabs count
        {{QString(130, 'z') + QString(60, ' ')}, kLandscape, 20, true}, // trailing blanks do not
        {{QString(100, 'a') + "\n" + QString(100, 'b')}, std::nullopt, 17, false},
        {{QString(200, QChar(1)) + "a"}, std::nullopt, 20, false}, // nor unwritten characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines.join('|').toStdString());
        const QByteArray doc = RtfDocument(c.lines, c.page);
        EXPECT_TRUE(doc.contains("\\pard\\plain\\f0\\fs" + QByteArray::number(c.size) + "\r\n"));
        EXPECT_TRUE(doc.contains("}\\deftab" + QByteArray::number(36 * c.size) + "\r\n"));
        EXPECT_EQ(doc.contains("\\landscape"), c.landscape);
    }
    EXPECT_EQ(LineColumns("ab\tc\t\t d  \t  "), 24);
    EXPECT_EQ(LineColumns("\t\x01\t"), 12);
}

TEST(RtfWriter, CodePageTableAgreesWithIconv) {
    if (QStandardPaths::findExecutable("iconv").isEmpty()) GTEST_SKIP() << "iconv is not installed";
    QByteArray upper; // the upper half of the code page; 0x98 is unassigned
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        if (byte != 0x98) upper.append(char(byte));
    QProcess iconv;
    iconv.start("iconv", {"-f", "CP1251", "-t", "UTF-8"});
    iconv.write(upper);
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished(10000));
    const QString chars = QString::fromUtf8(iconv.readAllStandardOutput());
    ASSERT_EQ(chars.size(), upper.size());
    for (qsizetype i = 0; i < upper.size(); ++i)
        EXPECT_EQ(TextCodec::TryEncodeChar(chars[i]), std::optional<uint8_t>(uint8_t(upper[i]))) << i;
    EXPECT_EQ(TextCodec::TryEncodeChar(QChar(u'Ω')), std::nullopt);
}

TEST(RtfWriter, LibreOfficeReadsTheLinesBack) {
    if (OfficeProgram().isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir dir;
    const QStringList lines = {"ВЕГ-17-Р  1A2B3C4D  № 5",        "\n",
                               "          Функциональные блоки", "1\tФБ1\tИЛИ-НЕ\t{x}\\y",
                               "Ёлка ёж, «цитата» — тире",       ""};
    const QString rtf = dir.filePath("table.rtf");
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(RtfDocument(lines, kLandscape));
    file.close();
    QStringList expected;
    for (const QString& line : lines)
        expected += line.split('\n');
    QStringList got = OfficeTextLines(rtf, dir.path());
    if (got.size() == expected.size() + 1 && got.last().isEmpty()) got.removeLast();
    EXPECT_EQ(got.join('|').toStdString(), expected.join('|').toStdString());
}

TEST(RtfTablePrint, RefusesWrongNamesAndUnwritableFiles) {
    QTemporaryDir dir;
    RecordingWordProcessor wp;
    for (const QString& bad :
         {QStringLiteral("t.txt"), QStringLiteral("t.RTF"), QStringLiteral("t.rtf.bak")}) {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Неверно задано имя файла", "Cохранение данных в файл", MsgButtons::OK, MsgIcon::Warning,
                     mrNone, mrOk);
        const RtfPrintResult result = RtfTablePrint(nullptr, {"x"}, dir.filePath(bad), wp, std::nullopt);
        EXPECT_EQ(result.outcome, RtfPrintOutcome::ChooseNameAgain) << bad.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(bad)));
    }
    // A dot in a folder name is no extension.
    {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Печатать?", "Необходимость печати файла .rtf", MsgButtons::YesNo, MsgIcon::Question,
                     mrNo, mrNo);
        ASSERT_TRUE(QDir(dir.path()).mkdir("v1.2"));
        const RtfPrintResult result = RtfTablePrint(nullptr, {"x"}, dir.filePath("v1.2/t"), wp, std::nullopt);
        EXPECT_EQ(result.fileName, dir.filePath("v1.2/t.rtf"));
        EXPECT_TRUE(QFile::exists(result.fileName));
    }
    wp.calls.clear();
    const QString missing = dir.filePath("no/such/dir/t.rtf");
    for (const int answer : {mrYes, mrNo}) {
        ScriptedMessageBoxes boxes;
        boxes.Expect("Файл не удается создать.\nПовторить?", "Сохранение файла печати", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, answer);
        EXPECT_EQ(RtfTablePrint(nullptr, {"x"}, missing, wp, std::nullopt).outcome,
                  answer == mrYes ? RtfPrintOutcome::ChooseNameAgain : RtfPrintOutcome::Stopped);
    }
    EXPECT_TRUE(wp.calls.isEmpty());
}

// A full disk, for a document that fits the file's write buffer and for one that does not: the old
// file stays byte for byte, the user is asked to retry, nothing reaches the word processor.
TEST(RtfTablePrint, AFullDiskKeepsTheOldFileAndAsksToRetry) {
    QTemporaryDir dir;
    const QString name = dir.filePath("t.rtf");
    const QByteArray old(1400, 'o');
    for (const int lineCount : {3, 2000}) {
        SCOPED_TRACE(lineCount);
        {
            QFile file(name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            ASSERT_EQ(file.write(old), old.size());
        }
        const QStringList lines(lineCount, QStringLiteral("Строка таблицы блоков"));
        RecordingWordProcessor wp;
        ScriptedMessageBoxes boxes;
        boxes.Expect("Файл не удается создать.\nПовторить?", "Сохранение файла печати", MsgButtons::YesNo,
                     MsgIcon::Question, mrNo, mrNo);
        RtfPrintOutcome outcome = RtfPrintOutcome::Finished;
        {
            const FileSizeLimit full(100); // below even the short document
            ASSERT_TRUE(full.IsSet());
            outcome = RtfTablePrint(nullptr, lines, name, wp, kLandscape).outcome;
        }
        EXPECT_EQ(outcome, RtfPrintOutcome::Stopped);
        EXPECT_EQ(ReadAll(name), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"t.rtf"}); // no temporary file
        EXPECT_TRUE(wp.calls.isEmpty());
    }
}
