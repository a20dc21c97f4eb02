#include "ConfigFile.h"

#include "ConfigTransfer.h"
#include "Configuration.h"
#include "DeviceLayouts.h"
#include "Dialogs.h"
#include "TextCodec.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstring>
#include <memory>

// The ".veg" file, F being the function-block count (60 or 120):
//   0                       the device-number byte
//   1 .. 15                 the composition record
//   16                      analogue module 1 (169-byte record), the discrete block (192 bytes,
//                           block 12), the unit list (96), name blocks 40 and 41 (2 × 224)
//   921                     the function-block pages, 160 bytes each (blocks 20 .. 20 + F/10 − 1)
//   921 + 160 × F/10        the algorithm section: F/10 name pages of 1000 bytes (ten names of
//                           100 bytes), F mark bytes, F rows of F list bytes, the count byte
//   then                    the tail, 6144 bytes: the marker "VEG17TL1", the data of loop blocks
//                           32 and 33 (56 bytes each), names blocks 42..51 (10 × 224), the long
//                           texts (48 × 35 bytes), the input-text table, zero-filled.
// The algorithm section sits right after the block pages for 60 and for 120 blocks alike. With
// the tail a 60-block file is 17 686 bytes (17 KiB) and a 120-block file 35 506 (34 KiB), so the
// size rule tells them apart. A file that ends right after the algorithm section, without the
// tail, is still read: the loops, names 32.., long texts and input texts then get their
// defaults (empty loop records, blank names, identifiers from the composition). A file of the
// length with the tail whose marker is wrong is refused as damaged.
//
// Input-text table in the tail: row by row from row 0, each string of the row up to its last
// non-empty one in Windows-1251 followed by 0x1F, the row closed by 0x1E; a 0 byte ends the
// table. Rows that no longer fit are left out and read back as their default identifiers.
namespace {

constexpr int HeadBytes = ConfigFileLayout::HeadBytes;
static_assert(ConfigFileLayout{10}.MarksAt() ==
              HeadBytes + TProgFBClass::PageBytes + TProgFBClass::TextPageBytes);
constexpr int ModuleAt = 16;
constexpr int DiscreteAt = ModuleAt + TProgMBAClass::RecordSize;
constexpr int UnitsAt = DiscreteAt + TProgVegClass::BlockBytes;
constexpr int NamesAt = UnitsAt + DeviceBlocks::UnitListLen - 1;
static_assert(NamesAt + 2 * TServClass::NameBlockBytes == HeadBytes);

constexpr int TailBytes = 6144;
constexpr char TailMarker[] = "VEG17TL1";
constexpr int MarkerLen = 8;
constexpr int LoopsAt = MarkerLen;                                  // in the tail
constexpr int MoreNamesAt = LoopsAt + 2 * TProgRegClass::BlockData; // blocks 42..51
constexpr int LongTextsAt = MoreNamesAt + 10 * TServClass::NameBlockBytes;
constexpr int InputTextsAt = LongTextsAt + TServClass::LongTextCount * TServClass::LongTextLen;
static_assert(InputTextsAt < TailBytes);
constexpr uint8_t StringEnd = 0x1F;
constexpr uint8_t RowEnd = 0x1E;

const QString kWarning = QStringLiteral("Предупреждение");
const QString kError = QStringLiteral("Ошибка");

// Offsets of the parts that depend on the block count.
struct Layout : ConfigFileLayout {
    int TailAt() const { return AlgEnd(); }
    int Size() const { return TailAt() + TailBytes; }
};

bool KnownModule(int code) {
    return code == 0 || !TServClass::ModuleCaption(code).isEmpty();
}

// An algorithm mark or list entry: a block number 1..F, 0, or 255 for none.
bool AlgByteOk(int v, int f) {
    return v == TProgFBClass::AlgEnd || v <= f;
}

void EncodeInputTexts(const TServClass& serv, uint8_t* out, int size) {
    int at = 0;
    for (int i = 0; i < TServClass::InputCount; ++i) {
        const InputTextRow row = serv.GetInputTextRow(i);
        int last = int(row.size());
        while (last > 0 && row[size_t(last - 1)].isEmpty())
            --last;
        QByteArray bytes;
        for (int k = 0; k < last; ++k) {
            QByteArray s = TextCodec::Encode(row[size_t(k)]);
            for (char& c : s)
                if (uint8_t(c) < 0x20) c = '?';
            bytes += s;
            bytes += char(StringEnd);
        }
        bytes += char(RowEnd);
        if (at + bytes.size() >= size) return; // keep a 0 after the last row
        std::memcpy(out + at, bytes.constData(), size_t(bytes.size()));
        at += int(bytes.size());
    }
}

// False on a malformed table.
bool DecodeInputTexts(TServClass& serv, const uint8_t* in, int size) {
    int at = 0;
    for (int i = 0; i < TServClass::InputCount && at < size && in[at] != 0; ++i) {
        InputTextRow row;
        int k = 0;
        for (int start = at;; ++at) {
            if (at >= size) return false;
            if (in[at] == RowEnd) {
                if (at != start) return false;
                break;
            }
            if (in[at] == StringEnd) {
                if (k >= TServClass::TextColumns) return false;
                row[size_t(k++)] = TextCodec::Decode(in + start, at - start);
                start = at + 1;
            }
        }
        ++at;
        serv.SetInputTextRow(i, row);
    }
    return true;
}

QByteArray BuildFile(TConfiguration& cfg) {
    const Layout l{{cfg.FB.FBCount}};
    QByteArray file(l.Size(), '\0');
    auto* b = reinterpret_cast<uint8_t*>(file.data());
    b[0] = uint8_t(cfg.Serv.GetDevAddr());
    BuildComposition(cfg, b + 1);
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        b[ModuleAt + k] = uint8_t(cfg.MBA.GetModuleByte(0, k));
    PackConfigBlock(cfg, DeviceBlocks::DiscreteFirst, b + DiscreteAt, TProgVegClass::BlockBytes);
    PackConfigBlock(cfg, DeviceBlocks::UnitList, b + UnitsAt, DeviceBlocks::UnitListLen - 1);
    for (int n = 0; n < TServClass::NameBlockCount; ++n) {
        uint8_t* at = n < 2 ? b + NamesAt + n * TServClass::NameBlockBytes
                            : b + l.TailAt() + MoreNamesAt + (n - 2) * TServClass::NameBlockBytes;
        PackConfigBlock(cfg, DeviceBlocks::NamesFirst + n, at, TServClass::NameBlockBytes);
    }
    for (int n = 0; n < l.Pages(); ++n) {
        PackConfigBlock(cfg, DeviceBlocks::FBFirst + n, b + l.FbAt() + n * TProgFBClass::PageBytes,
                        TProgFBClass::PageBytes);
        for (int a = 0; a < TProgFBClass::RecordsPerBlock; ++a)
            TextCodec::EncodePadded(cfg.FB.GetFbText(n * TProgFBClass::RecordsPerBlock + a),
                                    b + l.AlgAt() + n * TProgFBClass::TextPageBytes +
                                        a * TProgFBClass::TextLen,
                                    TProgFBClass::TextLen);
    }
    const auto& alg = cfg.FB.AlgTable;
    for (int a = 0; a < l.f; ++a) {
        b[l.MarksAt() + a] = uint8_t(alg.GetMark(a));
        for (int j = 0; j < l.f; ++j)
            b[l.ListsAt() + a * l.f + j] = uint8_t(alg.GetEntry(a, j));
    }
    b[l.CountAt()] = uint8_t(alg.GetCount());

    uint8_t* tail = b + l.TailAt();
    std::memcpy(tail, TailMarker, MarkerLen);
    PackConfigBlock(cfg, DeviceBlocks::RegLoops, tail + LoopsAt, TProgRegClass::BlockData);
    PackConfigBlock(cfg, DeviceBlocks::RegProgram, tail + LoopsAt + TProgRegClass::BlockData,
                    TProgRegClass::BlockData);
    for (int c = 0; c < TServClass::LongTextCount; ++c)
        TextCodec::EncodePadded(cfg.Serv.GetLongText(c), tail + LongTextsAt + c * TServClass::LongTextLen,
                                TServClass::LongTextLen);
    EncodeInputTexts(cfg.Serv, tail + InputTextsAt, TailBytes - InputTextsAt);
    return file;
}

// Parses a whole file of the layout's size into s; the reason of a refusal, or empty.
QString ParseFile(TConfiguration& s, const QByteArray& file, const Layout& l) {
    const auto* b = reinterpret_cast<const uint8_t*>(file.constData());
    for (int slot = 0; slot < TServClass::SlotCount; ++slot)
        if (!KnownModule(b[1 + Composition::SlotCodes + slot]))
            return QStringLiteral("неизвестный код модуля в позиции %1").arg(slot + 1);
    if (b[l.CountAt()] > l.f) return QStringLiteral("неверное количество алгоритмов");
    for (int a = 0; a < l.f; ++a) {
        if (!AlgByteOk(b[l.MarksAt() + a], l.f))
            return QStringLiteral("неверная отметка блока %1").arg(a + 1);
        for (int j = 0; j < l.f; ++j)
            if (!AlgByteOk(b[l.ListsAt() + a * l.f + j], l.f))
                return QStringLiteral("неверный номер блока в алгоритме %1").arg(a + 1);
    }
    // The size tells whether the tail is there; a tail without its marker is damaged.
    const bool hasTail = file.size() == l.Size();
    if (hasTail && std::memcmp(b + l.TailAt(), TailMarker, MarkerLen) != 0)
        return QStringLiteral("неверная метка последнего раздела");

    ApplyComposition(s, b + 1);
    s.Serv.SetDevAddr(b[0]);
    // The file keeps the record of module 1 whole, whatever block the composition makes of it.
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        s.MBA.SetModuleByte(0, k, b[ModuleAt + k]);
    TakeConfigBlock(s, DeviceBlocks::DiscreteFirst, b + DiscreteAt, TProgVegClass::BlockBytes);
    TakeConfigBlock(s, DeviceBlocks::UnitList, b + UnitsAt, DeviceBlocks::UnitListLen - 1);
    for (int n = 0; n < 2; ++n)
        TakeConfigBlock(s, DeviceBlocks::NamesFirst + n, b + NamesAt + n * TServClass::NameBlockBytes,
                        TServClass::NameBlockBytes);
    s.FB.FBCount = l.f;
    s.FB.ResetAlgorithms();
    for (int n = 0; n < l.Pages(); ++n) {
        TakeConfigBlock(s, DeviceBlocks::FBFirst + n, b + l.FbAt() + n * TProgFBClass::PageBytes,
                        TProgFBClass::PageBytes);
        s.FB.TakeTextBlockFromBuf(b + l.AlgAt() + n * TProgFBClass::TextPageBytes,
                                  TProgFBClass::TextPageBytes);
        s.FB.TextBlockToFbs(n);
    }
    for (int a = 0; a < l.f; ++a) {
        s.FB.AlgTable.SetMark(a, b[l.MarksAt() + a]);
        for (int j = 0; j < l.f; ++j)
            s.FB.AlgTable.SetEntry(a, j, b[l.ListsAt() + a * l.f + j]);
    }
    s.FB.AlgTable.SetCount(b[l.CountAt()]);
    for (int i = l.f; i < TProgFBClass::Slots; ++i)
        s.FB.ClearRecord(i);
    s.FB.RecountTable();
    s.Veg.ClearRecords(TProgVegClass::RecordsPerBlock,
                       TProgVegClass::RecordCount - TProgVegClass::RecordsPerBlock);

    // The tail's parts: their defaults first, then what the tail holds.
    const TProgRegClass freshLoops;
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        for (int k = 0; k < TProgRegClass::RecordSize; ++k) {
            s.Reg.SetRecByte(i, k, freshLoops.GetRecByte(i, k));
            s.Reg.SetPZByte(i, k, freshLoops.GetPZByte(i, k));
        }
    s.Serv.ClearNames(2 * TServClass::NamesPerBlock, TServClass::InputCount - 2 * TServClass::NamesPerBlock);
    for (int c = 0; c < TServClass::LongTextCount; ++c)
        s.Serv.SetLongText(c, QString());
    s.Serv.SetDefaultInputTexts();
    if (hasTail) {
        const uint8_t* tail = b + l.TailAt();
        if (!DecodeInputTexts(s.Serv, tail + InputTextsAt, TailBytes - InputTextsAt))
            return QStringLiteral("неверная таблица текстов входов");
        for (int t = 0; t < 2; ++t)
            TakeConfigBlock(s, DeviceBlocks::RegLoops + t, tail + LoopsAt + t * TProgRegClass::BlockData,
                            TProgRegClass::BlockData);
        for (int n = 2; n < TServClass::NameBlockCount; ++n)
            TakeConfigBlock(s, DeviceBlocks::NamesFirst + n,
                            tail + MoreNamesAt + (n - 2) * TServClass::NameBlockBytes,
                            TServClass::NameBlockBytes);
        for (int c = 0; c < TServClass::LongTextCount; ++c)
            s.Serv.SetLongText(c, TextCodec::DecodeTrimmed(tail + LongTextsAt + c * TServClass::LongTextLen,
                                                           TServClass::LongTextLen));
    }
    s.Serv.FileMode = 1;
    s.Serv.Modified = 0;
    s.Serv.CompositionOnly = 0;
    RefreshConfigReserve(s);
    return {};
}

} // namespace

int FileBlockCountBySize(int64_t size) {
    const int64_t k = size / 1024;
    if (k < 12) return 0;
    if (k == 12) return 40;
    if (k == 17) return 60;
    return TProgFBClass::FBCapacity;
}

// Opens a regular file for reading, or says it cannot: opening a pipe or a device would wait for a
// writer.
static bool OpenForReading(QWidget* parent, const QString& path, QFile& f) {
    if (QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly)) return true;
    MessageBox(parent, QStringLiteral("Файл не удается открыть"), QStringLiteral("Открытие файла"),
               MsgButtons::OK, MsgIcon::Warning);
    return false;
}

bool OpenConfigFile(QWidget* parent, const QString& path, TConfiguration& cfg) {
    QFile f(path);
    if (!OpenForReading(parent, path, f)) return false;
    const int64_t size = f.size();
    const int fbCount = FileBlockCountBySize(size);
    if (fbCount == 0 || fbCount == 40) {
        MessageBox(parent,
                   fbCount == 0 ? QStringLiteral("Файл не опознан") : QStringLiteral("Файл создан на 40 ФБ"),
                   kWarning, MsgButtons::OK, MsgIcon::Warning);
        return false;
    }
    const Layout l{{fbCount}};
    const auto refuse = [&](const QString& why) {
        MessageBox(parent, QStringLiteral("Файл конфигурации поврежден:\n") + why, kError, MsgButtons::OK,
                   MsgIcon::Error);
        return false;
    };
    if (size != l.TailAt() && size != l.Size())
        return refuse(size < l.Size() ? QStringLiteral("файл короче, чем нужно")
                                      : QStringLiteral("файл длиннее, чем нужно"));
    const QByteArray file = f.readAll();
    if (file.size() != size) return refuse(QStringLiteral("файл не прочитан целиком"));

    auto scratch = std::make_unique<TConfiguration>(cfg);
    if (const QString why = ParseFile(*scratch, file, l); !why.isEmpty()) return refuse(why);
    cfg = std::move(*scratch);
    return true;
}

bool SaveConfigFile(QWidget* parent, const QString& path, TConfiguration& cfg) {
    if (!WriteFileWholeOrTell(parent, path, BuildFile(cfg))) return false;
    cfg.Serv.Modified = 0;
    return true;
}

bool LoadAlgorithmsFromFile(QWidget* parent, const QString& path, TConfiguration& cfg) {
    QFile f(path);
    if (!OpenForReading(parent, path, f)) return false;
    const auto warn = [&](const QString& text) {
        MessageBox(parent, text, kWarning, MsgButtons::OK, MsgIcon::Warning);
    };
    const int fileCount = FileBlockCountBySize(f.size());
    if (fileCount == 40) {
        warn(QStringLiteral("Файл создан на 40 ФБ"));
        return false;
    }
    const ConfigFileLayout l{fileCount};
    const QByteArray file = fileCount == 0 ? QByteArray() : f.read(l.AlgEnd());
    const auto* b = reinterpret_cast<const uint8_t*>(file.constData());
    // A file cut inside its algorithm section, or with more algorithms than blocks, is no
    // configuration file of this size.
    if (fileCount == 0 || file.size() != l.AlgEnd() || b[l.CountAt()] > fileCount) {
        warn(QStringLiteral("Файл не опознан"));
        return false;
    }
    if (cfg.FB.FBCount != fileCount)
        warn(QStringLiteral("Количество ФБ \nне соответствует количеству ФБ в файле"));
    for (int slot = 1; slot <= TServClass::SlotCount; ++slot)
        if (b[1 + Composition::SlotCodes + slot - 1] != cfg.Serv.GetSlotModuleCode(slot)) {
            warn(QStringLiteral("Рабочая конфигурация \nне соответствует конфигурации в файле"));
            break;
        }

    TProgFBClass& fb = cfg.FB;
    TReservBlocksClass& reserve = cfg.Reserv;
    for (int p = 0; p < l.Pages(); ++p) {
        fb.TakeTextBlockFromBuf(b + l.AlgAt() + p * TProgFBClass::TextPageBytes, TProgFBClass::TextPageBytes);
        fb.TextBlockToFbs(p);
    }
    reserve.AlgReserve.SetCount(b[l.CountAt()]);
    fb.AlgTable.SetCount(b[l.CountAt()]);
    for (int a = 0; a < fileCount; ++a) {
        fb.AlgTable.SetMark(a, b[l.MarksAt() + a]);
        reserve.AlgReserve.SetMark(a, b[l.MarksAt() + a]);
        reserve.AlgNames().Set(a, b + l.AlgAt() + a * TProgFBClass::TextLen, TProgFBClass::TextLen);
        for (int j = 0; j < fileCount; ++j) {
            fb.AlgTable.SetEntry(a, j, b[l.ListsAt() + a * fileCount + j]);
            reserve.AlgReserve.SetEntry(a, j, b[l.ListsAt() + a * fileCount + j]);
        }
    }
    if (cfg.Serv.FileMode == 1) cfg.Serv.Modified = 1;
    return true;
}
