#include "TServClass.h"

#include "NumberText.h"
#include "TextCodec.h"

#include <algorithm>
#include <cstring>

namespace {

bool InRange(int i, int n) {
    return i >= 0 && i < n;
}

// Cuts trailing blanks.
QString TrimRight(const QString& s) {
    int n = int(s.size());
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    return s.left(n);
}

const char* const SetPointNames[4] = {"LL", "L", "H", "HH"};

// A row of identifier strings, with the suffix of set point 0..3 (none for −1).
InputTextRow MakeRow(std::initializer_list<QString> head, int setPoint) {
    InputTextRow r{};
    std::copy(head.begin(), head.end(), r.begin());
    if (setPoint >= 0) {
        r[5] = QStringLiteral(".");
        r[6] = QString::fromLatin1(SetPointNames[setPoint]);
    }
    return r;
}

} // namespace

TServClass::TServClass() {
    names_.fill(' ');
    nameBlock_.fill(' ');
}

int TServClass::GetNetAnCount(int block) const {
    return InRange(block, NetBlocks) ? NetAnCount[block] : 0;
}
void TServClass::SetNetAnCount(int block, int n) {
    if (InRange(block, NetBlocks)) NetAnCount[block] = n;
}
int TServClass::GetNetDiCount(int block) const {
    return InRange(block, NetBlocks) ? NetDiCount[block] : 0;
}
void TServClass::SetNetDiCount(int block, int n) {
    if (InRange(block, NetBlocks)) NetDiCount[block] = n;
}

int TServClass::GetSlotModuleCode(int slot) const {
    return InRange(slot - 1, SlotCount) ? SlotModuleCodes[slot - 1] : 0;
}

void TServClass::SetSlotModuleCode(int slot, int code) {
    if (InRange(slot - 1, SlotCount)) SlotModuleCodes[slot - 1] = code;
}

QString TServClass::ModuleCaption(int code) {
    switch (code) {
    case 13:
        return QStringLiteral("БРОН");
    case 15:
        return QStringLiteral("БРОК");
    case 6:
    case 7:
    case 8:
    case 9:
        return QStringLiteral("МВА%1").arg(code);
    case 2:
    case 3:
    case 4:
    case 5:
    case 10:
        return QStringLiteral("МВД%1").arg(code);
    case 11:
    case 12:
        return QStringLiteral("МР%1").arg(code);
    default:
        return QString();
    }
}

QString TServClass::GetSlotCaption(int slot) const {
    return ModuleCaption(GetSlotModuleCode(slot));
}

int TServClass::GetCntMod2A() const {
    return int(std::count_if(SlotModuleCodes.begin(), SlotModuleCodes.end(),
                             [](int c) { return (c >= 2 && c <= 5) || c == 10; }));
}

int TServClass::GetCntMod6F() const {
    return int(std::count_if(SlotModuleCodes.begin(), SlotModuleCodes.end(),
                             [](int c) { return (c >= 6 && c <= 9) || c == 13 || c == 15; }));
}

int TServClass::GetCntModMR() const {
    return int(std::count_if(SlotModuleCodes.begin(), SlotModuleCodes.end(), IsRelayModule));
}

int TServClass::RelayModuleIndex(int slot) const {
    if (!IsRelayModule(GetSlotModuleCode(slot))) return -1;
    return int(std::count_if(SlotModuleCodes.begin(), SlotModuleCodes.begin() + (slot - 1), IsRelayModule));
}

int TServClass::GetCtrlDiCount() const {
    return SlotModuleCodes[0] == 15 ? 0 : 6;
}

// The execution type follows from the controller and the number of discrete input modules:
// БРОН alone 6, with one discrete module 12, with more 24; БРОК alone 16, with discrete
// modules 24; no controller 0.
int TServClass::GetOwnInputCount() const {
    const int modules = GetCntMod2A();
    if (SlotModuleCodes[0] == 13) return modules == 0 ? 6 : (modules == 1 ? 12 : 24);
    if (SlotModuleCodes[0] == 15) return modules == 0 ? 16 : 24;
    return 0;
}

void TServClass::SetDiscrInCount(int n) {
    discrInCount_ = std::clamp(n, 0, InputCount);
}
void TServClass::SetAnInCount(int n) {
    anInCount_ = std::clamp(n, 0, MaxAnInputs);
}

QString TServClass::GetInputTextString(int i, int k) const {
    return InRange(i, InputCount) && InRange(k, TextColumns) ? inputTexts_[i][k] : QString();
}

void TServClass::SetInputTextString(int i, int k, const QString& s) {
    if (InRange(i, InputCount) && InRange(k, TextColumns)) inputTexts_[i][k] = s;
}

InputTextRow TServClass::GetInputTextRow(int i) const {
    return InRange(i, InputCount) ? inputTexts_[i] : InputTextRow{};
}

void TServClass::SetInputTextRow(int i, const InputTextRow& row) {
    if (InRange(i, InputCount)) inputTexts_[i] = row;
}

QString TServClass::JoinInputText(int i, int n) const {
    QString s;
    if (!InRange(i, InputCount)) return s;
    for (int k = 0; k < std::min(n, TextColumns); ++k)
        s += inputTexts_[i][k];
    return s;
}

int TServClass::AnInputTextRow(int m, int c) const {
    return 24 * m + 4 * c + (SlotModuleCodes[0] == 15 ? 0 : 6);
}

bool TServClass::HoldsConfiguration() const {
    const int ctrl = GetSlotModuleCode(1);
    return (ctrl == 13 || ctrl == 15) && CompositionOnly == 0;
}

void TServClass::SetDefaultInputTexts() {
    for (auto& row : inputTexts_)
        row = InputTextRow{};
    const auto put = [this](int row, const QString& caption, const QString& kind, int number, int setPoint) {
        if (InRange(row, InputCount))
            inputTexts_[row] =
                MakeRow({caption, QStringLiteral("."), kind, QString::number(number)}, setPoint);
    };
    const QString discrete = QStringLiteral("Д");
    const QString analogue = QStringLiteral("А");
    if (SlotModuleCodes[0] == 13)
        for (int x = 0; x < 6; ++x)
            put(x, ModuleCaption(13), discrete, x + 1, -1);
    int m = 0;
    int k = 0;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int code = GetSlotModuleCode(slot);
        if ((code >= 6 && code <= 9) || code == 13 || code == 15) {
            for (int c = 0; c < 4; ++c)
                for (int s = 0; s < 4; ++s)
                    put(AnInputTextRow(m, c) + s, ModuleCaption(code), analogue, c + 1, s);
            ++m;
        }
    }
    const int firstDiscrete = 24 * GetCntMod6F();
    for (int slot = 1; slot <= SlotCount; ++slot) {
        const int code = GetSlotModuleCode(slot);
        if ((code >= 2 && code <= 5) || code == 10) {
            for (int x = 0; x < 12; ++x)
                put(firstDiscrete + 12 * k + x, ModuleCaption(code), discrete, x + 1, -1);
            ++k;
        }
    }
}

// Network discrete input: "ЛС<block>.Д<output>".
void TServClass::SetDefaultNetDiText(int block, int output, int row) {
    if (!InRange(row, InputCount)) return;
    inputTexts_[row] = MakeRow({QStringLiteral("ЛС"), QString::number(block + 1), QStringLiteral("."),
                                QStringLiteral("Д"), QString::number(output + 1)},
                               -1);
}

// Set point s of a network analogue input: "ЛС<block>.А<output>.<LL|L|H|HH>".
void TServClass::SetDefaultNetAnUstText(int block, int output, int setPoint, int row) {
    if (!InRange(row, InputCount) || !InRange(setPoint, 4)) return;
    inputTexts_[row] = MakeRow({QStringLiteral("ЛС"), QString::number(block + 1), QStringLiteral("."),
                                QStringLiteral("А"), QString::number(output + 1)},
                               setPoint);
}

QString TServClass::GetNameText(int i) const {
    return InRange(i, InputCount) ? TextCodec::DecodeTrimmed(names_.data() + i * NameLen, NameLen)
                                  : QString();
}

void TServClass::SetNameText(int i, const QString& text) {
    if (InRange(i, InputCount)) TextCodec::EncodePadded(text, names_.data() + i * NameLen, NameLen);
}

QByteArray TServClass::GetNameRow(int i) const {
    if (!InRange(i, InputCount)) return {};
    return QByteArray(reinterpret_cast<const char*>(names_.data() + i * NameLen), NameLen);
}

void TServClass::SetNameRow(int i, const QByteArray& bytes) {
    if (!InRange(i, InputCount) || bytes.size() < NameLen) return;
    std::memcpy(names_.data() + i * NameLen, bytes.constData(), NameLen);
}

void TServClass::DeleteNames(int p, int n) {
    if (!InRange(p, InputCount) || n <= 0) return;
    n = std::min(n, InputCount - p);
    uint8_t* base = names_.data();
    std::memmove(base + p * NameLen, base + (p + n) * NameLen, size_t(InputCount - p - n) * NameLen);
    std::memset(base + (InputCount - n) * NameLen, ' ', size_t(n) * NameLen);
}

void TServClass::ClearNames(int p, int n) {
    if (!InRange(p, InputCount) || n <= 0) return;
    n = std::min(n, InputCount - p);
    std::memset(names_.data() + p * NameLen, ' ', size_t(n) * NameLen);
}

void TServClass::InsertNames(int p, int n) {
    if (!InRange(p, InputCount) || n <= 0) return;
    n = std::min(n, InputCount - p);
    uint8_t* base = names_.data();
    std::memmove(base + (p + n) * NameLen, base + p * NameLen, size_t(InputCount - p - n) * NameLen);
    std::memset(base + p * NameLen, ' ', size_t(n) * NameLen);
}

void TServClass::NameTableToBlock(int N) {
    if (!InRange(N, NameBlockCount)) return;
    std::memcpy(nameBlock_.data(), names_.data() + N * NameBlockBytes, NameBlockBytes);
}

bool TServClass::BlockToNameTable(int N, const uint8_t* data, int size) {
    if (!InRange(N, NameBlockCount) || data == nullptr || size < NameBlockBytes) return false;
    std::memcpy(names_.data() + N * NameBlockBytes, data, NameBlockBytes);
    return true;
}

int TServClass::GetNameBlockByte(int k) const {
    return InRange(k, NameBlockBytes) ? nameBlock_[k] : 0;
}

QString TServClass::GetLongText(int c) const {
    return InRange(c, LongTextCount) ? TrimRight(longTexts_[c]) : QString();
}

void TServClass::SetLongText(int c, const QString& text) {
    if (InRange(c, LongTextCount)) longTexts_[c] = text.left(LongTextLen);
}

QString TServClass::GetOutputText(int i) const {
    QString s;
    if (InRange(i, OutputRows))
        for (const QString& part : outputTexts_[i])
            s += part;
    return s;
}

QString TServClass::GetOutputTextString(int i, int k) const {
    return InRange(i, OutputRows) && InRange(k, OutputColumns) ? outputTexts_[i][k] : QString();
}

void TServClass::SetOutputTextString(int i, int k, const QString& s) {
    if (InRange(i, OutputRows) && InRange(k, OutputColumns)) outputTexts_[i][k] = s;
}

QString TServClass::GetOutNameText(int i) const {
    return InRange(i, OutputRows) ? TrimRight(outNames_[i]) : QString();
}

void TServClass::SetOutNameText(int i, const QString& text) {
    if (InRange(i, OutputRows)) outNames_[i] = text.left(NameLen);
}

bool TServClass::AnValueTextBad(const QString& text, int kind) {
    if (text.isEmpty()) return true;
    int separators = 0;
    for (int k = 0; k < text.size(); ++k) {
        const QChar ch = text.at(k);
        if (ch.isDigit() && ch.unicode() < 128) continue;
        if (ch == QLatin1Char('-') && k == 0) continue;
        if (ch == QLatin1Char(',') || ch == QLatin1Char('.')) {
            if (++separators > 1) return true;
            continue;
        }
        return true;
    }
    const std::optional<double> value = ParseDecimal(text);
    if (!value) return true;
    if (kind >= 0 && kind <= 2) return !InRangeSingle(*value, -32767, 32767);
    if (kind == 5) return separators != 0 || *value < 0 || *value > 3;
    return false;
}

// Analogue module index of a slot. Counting the analogue modules themselves, rather than
// subtracting the discrete modules from the slot number, keeps the index right whatever order
// the modules have.

bool TServClass::IsAnalogueModule(int code) {
    return (code >= 6 && code <= 9) || code == 13 || code == 15;
}

int TServClass::AnModuleIndex(int slot) const {
    if (!IsAnalogueModule(GetSlotModuleCode(slot))) return -1;
    return int(
        std::count_if(SlotModuleCodes.begin(), SlotModuleCodes.begin() + (slot - 1), IsAnalogueModule));
}
