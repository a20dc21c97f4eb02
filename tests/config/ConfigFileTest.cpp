// Configuration files: round trips, the size rule, refused files, interrupted saves, and the
// algorithm section where the algorithm loader looks for it.

#include "ConfigFile.h"
#include "ConfigSamples.h"
#include "ConfigTransfer.h"
#include "FileSizeLimit.h"
#include "ScriptedDialogs.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kWarn = QStringLiteral("Предупреждение");
const QString kErr = QStringLiteral("Ошибка");
const QString kDamaged = QStringLiteral("Файл конфигурации поврежден:\n");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// What a configuration looks like after it was saved and opened again.
std::unique_ptr<TConfiguration> AsOpened(int fbCount) {
    auto e = MakeSample(fbCount);
    e->Serv.FileMode = 1;
    e->Serv.Modified = 0;
    e->Veg.ClearRecords(24, 168);
    RefreshConfigReserve(*e);
    return e;
}

class ConfigFileTest : public ::testing::Test {
  protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QByteArray Saved(int fbCount) {
        auto cfg = MakeSample(fbCount);
        EXPECT_TRUE(SaveConfigFile(nullptr, Path("sample.veg"), *cfg));
        return ReadAll(Path("sample.veg"));
    }
    QTemporaryDir dir;
    ScriptedMessageBoxes unexpected; // a box no test scripts fails the test instead of waiting
};

} // namespace

TEST_F(ConfigFileTest, RoundTripKeepsEveryPartFor60And120Blocks) {
    for (int f : {60, 120}) {
        SCOPED_TRACE(f);
        auto cfg = MakeSample(f);
        cfg->Serv.Modified = 1;
        ASSERT_TRUE(SaveConfigFile(nullptr, Path("a.veg"), *cfg));
        EXPECT_EQ(cfg->Serv.Modified, 0);
        const QByteArray a = ReadAll(Path("a.veg"));
        EXPECT_EQ(a.size(), f == 60 ? 17686 : 35506);
        EXPECT_EQ(FileBlockCountBySize(a.size()), f);

        // Open over another configuration of 120 blocks in device mode.
        auto target = MakeSample(120, 9);
        target->Veg.AccessLevel = 0;
        target->Serv.Modified = 1;
        target->Serv.CompositionOnly = 1; // only a device's composition so far
        ASSERT_TRUE(OpenConfigFile(nullptr, Path("a.veg"), *target));
        EXPECT_EQ(target->Veg.AccessLevel, 0); // not carried by files
        EXPECT_TRUE(target->Serv.HoldsConfiguration());
        // Every part, file mode, not modified, F blocks, the reserve taken from the file.
        EXPECT_EQ(Fingerprint(*target), Fingerprint(*AsOpened(f)));

        // Written again, the file is the same byte for byte.
        ASSERT_TRUE(SaveConfigFile(nullptr, Path("b.veg"), *target));
        EXPECT_EQ(ReadAll(Path("b.veg")), a);
    }
}

// Opening a file shows the sensor types it holds, not those the configuration had before.
TEST_F(ConfigFileTest, OpenedFileShowsItsSensorTypes) {
    auto cfg = MakeSample(120);
    SetSensors2And6(*cfg, 1);
    ASSERT_TRUE(SaveConfigFile(nullptr, Path("namur.veg"), *cfg));
    SetSensors2And6(*cfg, 0);
    ASSERT_TRUE(OpenConfigFile(nullptr, Path("namur.veg"), *cfg));
    EXPECT_EQ(ShownSensorTypes(*cfg), kNamur2And6);
}

TEST_F(ConfigFileTest, SizeRule) {
    const int rule[][2] = {{0, 0},           {11 * 1024 + 1023, 0},   {12 * 1024, 40}, {12 * 1024 + 1023, 40},
                           {13 * 1024, 120}, {16 * 1024 + 1023, 120}, {17 * 1024, 60}, {17 * 1024 + 1023, 60},
                           {18 * 1024, 120}, {34 * 1024, 120}};
    for (const auto& r : rule)
        EXPECT_EQ(FileBlockCountBySize(r[0]), r[1]) << r[0];
}

TEST_F(ConfigFileTest, RefusedFilesChangeNothing) {
    const QByteArray good120 = Saved(120);
    const QByteArray good60 = Saved(60);
    // Where the bytes are is checked below, where the algorithm loader reads them.
    const ConfigFileLayout l120{120}, l60{60};
    const int tail120 = l120.AlgEnd();
    const QString shorter = kDamaged + QStringLiteral("файл короче, чем нужно");
    const QString longer = kDamaged + QStringLiteral("файл длиннее, чем нужно");
    const QString count = kDamaged + QStringLiteral("неверное количество алгоритмов");
    const QString marker = kDamaged + QStringLiteral("неверная метка последнего раздела");

    const auto patched = [](QByteArray b, int at, char v) {
        b[at] = v;
        return b;
    };
    const auto bitFlipped = [](QByteArray b, int at, int bit) {
        b[at] = char(b[at] ^ bit);
        return b;
    };
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
        QString caption = kErr;
    } cases[] = {
        {"11 KiB", QByteArray(11 * 1024, '\0'), QStringLiteral("Файл не опознан"), kWarn},
        {"12 KiB", QByteArray(12 * 1024, '\0'), QStringLiteral("Файл создан на 40 ФБ"), kWarn},
        {"17 KiB of zeros", QByteArray(17 * 1024, '\0'), shorter},
        {"34 KiB of zeros", QByteArray(34 * 1024, '\0'), shorter},
        {"truncated", good120.left(good120.size() - 1), shorter},
        {"cut inside the algorithms", good120.left(tail120 - 1), shorter},
        {"oversized", good120 + QByteArray(1, '\0'), longer},
        {"oversized 60", good60 + QByteArray(5, '\0'), longer},
        {"tail marker, 120", bitFlipped(good120, tail120 + 3, 0x04), marker},
        {"tail marker, 60", bitFlipped(good60, l60.AlgEnd() + 7, 0x01), marker},
        {"count above F", patched(good120, l120.CountAt(), char(121)), count},
        {"count above 60", patched(good60, l60.CountAt(), char(61)), count},
        {"mark", patched(good120, l120.MarksAt() + 7, char(200)),
         kDamaged + QStringLiteral("неверная отметка блока 8")},
        {"list entry", patched(good60, l60.ListsAt() + 60 * 4 + 2, char(61)),
         kDamaged + QStringLiteral("неверный номер блока в алгоритме 5")},
        {"module code", patched(good120, 1 + 1 + 2, char(14)),
         kDamaged + QStringLiteral("неизвестный код модуля в позиции 3")},
        {"input texts",
         [&] {
             QByteArray b = good120;
             const int texts = tail120 + 8 + 112 + 2240 + 1680;
             for (int i = texts; i < b.size(); ++i)
                 b[i] = 'A';
             return b;
         }(),
         kDamaged + QStringLiteral("неверная таблица текстов входов")},
    };
    auto target = MakeSample(120, 5);
    target->Serv.Modified = 1;
    const QByteArray before = Fingerprint(*target);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(Path("bad.veg"), c.bytes);
        ScriptedMessageBoxes boxes;
        if (c.caption == kErr)
            boxes.Expect(c.text, kErr, MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        else
            boxes.ExpectText(c.text, c.caption);
        EXPECT_FALSE(OpenConfigFile(nullptr, Path("bad.veg"), *target));
        EXPECT_EQ(Fingerprint(*target), before);
    }
}

// Neither a missing file nor anything but a regular file is opened; a pipe with no writer
// would block the reader.
TEST_F(ConfigFileTest, OnlyRegularFilesAreOpened) {
    const QString fifo = Path("pipe.veg");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.veg"));
    // Should the reader open the pipe after all, a writer that comes and goes lets it return.
    std::promise<void> finished;
    std::thread watchdog([&, done = finished.get_future()] {
        if (done.wait_for(std::chrono::seconds(2)) == std::future_status::ready) return;
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        if (fd >= 0) ::close(fd);
    });
    auto target = MakeSample(120, 5);
    const QByteArray before = Fingerprint(*target);
    for (const char* name : {"missing.veg", "pipe.veg", "folder.veg"}) {
        SCOPED_TRACE(name);
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Файл не удается открыть"), QStringLiteral("Открытие файла"),
                     MsgButtons::OK, MsgIcon::Warning, mrNone, mrOk);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(OpenConfigFile(nullptr, Path(name), *target));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(Fingerprint(*target), before);
    }
    finished.set_value();
    watchdog.join();
}

TEST_F(ConfigFileTest, FileWithoutTailGetsDefaultsForTheTailsParts) {
    const QByteArray good = Saved(120);
    WriteAll(Path("old.veg"), good.left(good.size() - 6144));
    auto target = MakeSample(120, 7);
    ASSERT_TRUE(OpenConfigFile(nullptr, Path("old.veg"), *target));
    auto sample = MakeSample(120);
    EXPECT_EQ(target->FB.GetRecByte(119, 3), sample->FB.GetRecByte(119, 3));
    EXPECT_EQ(target->FB.AlgTable.GetCount(), 3);
    EXPECT_EQ(target->Serv.GetNameText(31), QStringLiteral("Вход 32-1"));
    EXPECT_EQ(target->Serv.GetNameText(32), QString());
    EXPECT_EQ(target->Serv.GetLongText(0), QString());
    EXPECT_EQ(target->Serv.GetInputText(100), QString()); // the default identifiers
    EXPECT_EQ(target->Serv.GetInputText(0), sample->Serv.GetInputText(0));
    const TProgRegClass fresh;
    for (int k = 0; k < 28; ++k)
        EXPECT_EQ(target->Reg.GetRecByte(1, k), fresh.GetRecByte(1, k));
    EXPECT_EQ(target->Serv.FileMode, 1);
}

TEST_F(ConfigFileTest, InterruptedSaveLeavesTheOldFileWhole) {
    const QString path = Path("keep.veg");
    const QByteArray old = Saved(60);
    WriteAll(path, old);

    // A file-size limit below the new file's size makes the write fail half-way.
    auto big = MakeSample(120);
    big->Serv.Modified = 1;
    bool ok = true;
    {
        const FileSizeLimit full(20000);
        ASSERT_TRUE(full.IsSet());
        ScriptedMessageBoxes boxes;
        boxes.Expect(QStringLiteral("Файл не удается сохранить:\n") + QDir::toNativeSeparators(path), kErr,
                     MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        ok = SaveConfigFile(nullptr, path, *big);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(big->Serv.Modified, 1);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2); // no temporary file left

    ScriptedMessageBoxes boxes;
    const QString nowhere = Path("no/such/dir/x.veg");
    boxes.ExpectText(QStringLiteral("Файл не удается сохранить:\n") + QDir::toNativeSeparators(nowhere),
                     kErr);
    EXPECT_FALSE(SaveConfigFile(nullptr, nowhere, *big));
}

// The algorithm loader finds the slot codes at 2..9 and the algorithm section right after the
// block pages (F by the size, checked by the round trip); the tail's loop tables come next.
TEST_F(ConfigFileTest, AlgorithmSectionSitsWhereTheAlgorithmLoaderReadsIt) {
    for (int F : {60, 120}) {
        SCOPED_TRACE(F);
        auto cfg = MakeSample(F);
        const QByteArray file = Saved(F);
        const auto* b = reinterpret_cast<const uint8_t*>(file.constData());
        for (int s = 0; s < 8; ++s)
            EXPECT_EQ(b[2 + s], cfg->Serv.GetSlotModuleCode(s + 1));
        int at = 16 + 905 + 160 * (F / 10);
        for (int i = 0; i < F; ++i, at += 100)
            ASSERT_EQ(file.mid(at, 100), TextCodec::Encode(cfg->FB.GetFbText(i)).leftJustified(100, ' '));
        for (int i = 0; i < F; ++i)
            EXPECT_EQ(b[at++], cfg->FB.AlgTable.GetMark(i) & 0xFF);
        for (int a = 0; a < F; ++a)
            for (int j = 0; j < F; ++j)
                ASSERT_EQ(b[at++], cfg->FB.AlgTable.GetEntry(a, j) & 0xFF) << a << " " << j;
        EXPECT_EQ(b[at], 3);
        EXPECT_EQ(QByteArray(file.constData() + at + 1, 8), QByteArray("VEG17TL1"));
        // The loop tables follow the marker, as blocks 32 and 33 carry them.
        for (int k = 0; k < 56; ++k) {
            EXPECT_EQ(b[at + 9 + k], cfg->Reg.GetRecByte(k / 28, k % 28)) << k;
            EXPECT_EQ(b[at + 9 + 56 + k], cfg->Reg.GetPZByte(k / 28, k % 28)) << k;
        }
    }
}
