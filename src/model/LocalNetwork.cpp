#include "LocalNetwork.h"

#include "Configuration.h"

#include <algorithm>

namespace LocalNet {

namespace {

constexpr int Records = TProgMBMClass::RequestCount;

int Need(const TProgMBMClass& mbm, int i) {
    return DiscreteNeed(mbm.GetKodF(i), mbm.GetKolVh(i));
}
int AnNeed(const TProgMBMClass& mbm, int i) {
    return AnalogueNeed(mbm.GetKodF(i), mbm.GetKolVh(i));
}

void CopyRecord(TProgMBMClass& mbm, int from, int to) {
    for (int k = 0; k < TProgMBMClass::RequestSize; ++k)
        mbm.SetByte(1 + TProgMBMClass::RequestSize * to + k,
                    mbm.GetByte(1 + TProgMBMClass::RequestSize * from + k));
}

void ClearRecord(TProgMBMClass& mbm, int i) {
    for (int k = 0; k < TProgMBMClass::RequestSize; ++k)
        mbm.SetByte(1 + TProgMBMClass::RequestSize * i + k, 0);
}

// Gives the used blocks from `first` on their starts from the running ends (begD, begA);
// empty blocks keep starts 0. Returns the two ends.
std::pair<int, int> Reallocate(TProgMBMClass& mbm, int first, int begD, int begA) {
    for (int p = first; p < Records; ++p) {
        if (mbm.GetKodF(p) == 0) {
            mbm.SetStAddrBeg1(0, p);
            mbm.SetStAddrBeg2(0, p);
            continue;
        }
        mbm.SetStAddrBeg1(begD, p);
        mbm.SetStAddrBeg2(begA, p);
        begD += Need(mbm, p);
        begA += AnNeed(mbm, p);
    }
    return {begD, begA};
}

int Number(const QString& text, int base = 10) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, base);
    return ok ? v : -1;
}

bool OneOf(int v, std::initializer_list<int> set) {
    return std::find(set.begin(), set.end(), v) != set.end();
}

} // namespace

int ChannelBase(const TConfiguration& cfg, int i) {
    return cfg.MBM.GetStAddrBeg2(i) - cfg.Serv.GetGroup6FChannels();
}

QString BlockCaption(const TConfiguration& cfg, int i) {
    const int code = cfg.MBM.GetKodF(i);
    return code != 0 ? QStringLiteral("Ф") + QString::number(code) : QString();
}

QString F15Caption(const TConfiguration& cfg, int k) {
    return cfg.F15.GetFuncCode(k) != 0 ? QStringLiteral("Ф15") : QString();
}

void RecountNetInputs(TConfiguration& cfg) {
    TServClass& serv = cfg.Serv;
    const TProgMBMClass& mbm = cfg.MBM;
    int blocks = 0, diTotal = 0, anTotal = 0;
    for (int i = 0; i < Records; ++i) {
        const int code = mbm.GetKodF(i);
        const int n = mbm.GetKolVh(i);
        int row = mbm.GetStAddrBeg1(i);
        serv.SetNetDiCount(i, 0);
        serv.SetNetAnCount(i, 0);
        if (IsDiscreteCode(code)) {
            ++blocks;
            for (int j = 0; j < n && row < DiscretePositions; ++j)
                serv.SetDefaultNetDiText(i, j, row++);
            serv.SetNetDiCount(i, n);
            diTotal += n;
        } else if (IsAnalogueCode(code)) {
            ++blocks;
            for (int j = 0; j < n; ++j)
                for (int s = 0; s < 4 && row < DiscretePositions; ++s)
                    serv.SetDefaultNetAnUstText(i, j, s, row++);
            serv.SetNetAnCount(i, n);
            anTotal += n;
        }
    }
    serv.SetNetAnTotal(anTotal);
    serv.SetNetDiTotal(diTotal);
    serv.SetNetBlockCount(blocks);
}

bool DeleteBlock(TConfiguration& cfg, int k) {
    TProgMBMClass& mbm = cfg.MBM;
    TServClass& serv = cfg.Serv;
    if (k < 0 || k >= Records || mbm.GetKodF(k) == 0) return false;
    const int d0 = mbm.GetStAddrBeg1(k);
    const int a0 = ChannelBase(cfg, k);
    const int freedD = Need(mbm, k);
    const int freedA = AnNeed(mbm, k);
    const int begA = mbm.GetStAddrBeg2(k);
    for (int p = k; p + 1 < Records; ++p)
        CopyRecord(mbm, p + 1, p);
    ClearRecord(mbm, Records - 1);
    Reallocate(mbm, k, d0, begA);
    mbm.NetEdit.FreedDiscrete = freedD;

    serv.SetDiscrInCount(serv.GetDiscrInCount() - freedD);
    serv.SetAnInCount(serv.GetAnInCount() - freedA);
    const int endD = serv.GetDiscrInCount();

    cfg.Veg.DeleteRecords(d0, freedD);
    cfg.Veg.ClearRecords(endD, freedD);
    cfg.FB.FixInputsOnDelete(d0, freedD);
    cfg.FB.FixAnInputsOnDelete(begA, freedA);
    serv.DeleteNames(d0, freedD);
    serv.ClearNames(endD, freedD);
    mbm.DeleteChannels(a0, freedA);
    RecountNetInputs(cfg);
    mbm.NetEdit.NetTablesChanged = 1;
    mbm.NetEdit.DescriptorWritten = 0;
    if (freedA > 0) mbm.NetEdit.AnGroupsWritten = 0;
    return true;
}

void SaveDescriptorReserve(TConfiguration& cfg) {
    for (int k = 0; k < 194; ++k)
        cfg.Reserv.Block10().SetByte(0, k, cfg.MBM.GetByte(k));
}

void SaveGroupReserve(TConfiguration& cfg, int group) {
    for (int k = 0; k < TProgMBMClass::GroupSize; ++k)
        cfg.Reserv.NetGroups().SetByte(group, k, cfg.MBM.GetBlockByte(group, k));
}

void RestoreGroupsFromReserve(TConfiguration& cfg) {
    for (int g = 0; g < TProgMBMClass::GroupCount; ++g)
        for (int k = 0; k < TProgMBMClass::GroupSize; ++k)
            cfg.MBM.SetBlockByte(g, k, cfg.Reserv.NetGroups().GetByte(g, k));
}

void SaveCountsReserve(TConfiguration& cfg) {
    cfg.Reserv.SetDiscrInCount(cfg.Serv.GetDiscrInCount());
    cfg.Reserv.SetAnInCount(cfg.Serv.GetAnInCount());
}

void SaveDiscreteTableReserve(TConfiguration& cfg) {
    for (int i = 0; i < TProgVegClass::RecordCount; ++i) {
        const auto rec = cfg.Veg.GetRecord(i);
        cfg.Reserv.DiscreteTable().Set(i, rec.data(), int(rec.size()));
    }
}

void SaveNamesReserve(TConfiguration& cfg) {
    for (int i = 0; i < TServClass::InputCount; ++i) {
        const QByteArray row = cfg.Serv.GetNameRow(i);
        for (int c = 0; c < TServClass::NameLen; ++c)
            cfg.Reserv.Names().SetByte(i, c, uint8_t(c < row.size() ? row[c] : ' '));
    }
}

void SaveFbReserve(TConfiguration& cfg) {
    for (int i = 0; i < cfg.FB.FBCount; ++i) {
        const auto rec = cfg.FB.GetRecord(i);
        cfg.Reserv.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
}

void SaveInputTextsReserve(TConfiguration& cfg) {
    for (int i = 0; i < TServClass::InputCount; ++i)
        cfg.Reserv.SetInputTextRow(i, cfg.Serv.GetInputTextRow(i));
}

void RestoreNetworkFromReserve(TConfiguration& cfg) {
    const TReservBlocksClass& r = cfg.Reserv;
    for (int k = 0; k < 194; ++k)
        cfg.MBM.SetByte(k, r.Block10().GetByte(0, k));
    RestoreGroupsFromReserve(cfg);
    cfg.Serv.SetDiscrInCount(r.GetDiscrInCount());
    cfg.Serv.SetAnInCount(r.GetAnInCount());
    for (int i = 0; i < TProgVegClass::RecordCount; ++i) {
        std::array<uint8_t, TProgVegClass::RecordLen> rec{};
        for (int k = 0; k < TProgVegClass::RecordLen; ++k)
            rec[size_t(k)] = uint8_t(r.DiscreteTable().GetByte(i, k));
        cfg.Veg.SetRecord(i, rec);
    }
    for (int i = 0; i < TServClass::InputCount; ++i)
        cfg.Serv.SetNameRow(i, r.Names().Get(i).left(TServClass::NameLen));
    for (int i = 0; i < cfg.FB.FBCount; ++i) {
        std::array<uint8_t, TProgFBClass::RecordLen> rec{};
        for (int k = 0; k < TProgFBClass::RecordLen; ++k)
            rec[size_t(k)] = uint8_t(r.FbRecords().GetByte(i, k));
        cfg.FB.SetRecord(i, rec);
    }
    RecountNetInputs(cfg);
}

void SaveF15Reserve(TConfiguration& cfg) {
    for (int k = 0; k < 81; ++k)
        cfg.Reserv.F15Image().SetByte(0, k, cfg.F15.GetByte(k));
}

void RestoreF15FromReserve(TConfiguration& cfg) {
    for (int k = 0; k < 81; ++k)
        cfg.F15.SetByte(k, cfg.Reserv.F15Image().GetByte(0, k));
}

// --- The request-block editor ---

const QStringList& SlaveTypeItems() {
    static const QStringList items = [] {
        QStringList l{QStringLiteral("ВЕГ-01"), QStringLiteral("ДКРН"), QStringLiteral("ЗОЛ-ТС"),
                      QStringLiteral("ЗОЛ-ТП"), QStringLiteral("ДЛТС"), QStringLiteral("ВЕГ-05")};
        for (int i = 6; i <= 14; ++i)
            l << QStringLiteral("резерв");
        l << QStringLiteral("другие ");
        return l;
    }();
    return items;
}

Preset PresetFor(int type, int discreteCount) {
    Preset p;
    switch (type) {
    case Veg01:
        return {false, 1, QStringLiteral("16"), QStringLiteral("0000"), false};
    case Dkrn:
        return {false, 3, QStringLiteral("1"), QStringLiteral("16384"), true};
    case ZolTs:
    case ZolTp:
        return {false, 3, QStringLiteral("1"), QStringLiteral("8192"), true};
    case Dlts:
        return {false, 3, discreteCount + 24 > DiscretePositions ? QStringLiteral("0") : QStringLiteral("6"),
                QStringLiteral("8192"), true};
    case Veg05:
    case Others:
        return {false, 1, QStringLiteral("0"), QStringLiteral("0000"), true};
    default:
        p.typeCleared = true;
        p.outputs = QStringLiteral("0");
        p.xmax = QStringLiteral("0000");
        return p;
    }
}

bool FunctionAllowed(int type, int code) {
    if (code < 1 || code > 4) return false;
    switch (type) {
    case Dkrn:
    case ZolTs:
    case ZolTp:
    case Dlts:
        return IsAnalogueCode(code);
    case Veg01:
        return IsDiscreteCode(code);
    case Veg05:
    case Others:
        return true;
    default:
        return false;
    }
}

QStringList CheckRequest(const RequestEntries& e) {
    if (e.type < 0) return {QStringLiteral("тип устройства не задан\n")};
    if (e.code == 0) return {QStringLiteral("код функции не задан\n")};
    if (e.slave.trimmed().isEmpty()) return {QStringLiteral("адрес Slave в локальной сети не задан\n")};
    const int slave = Number(e.slave);
    if (slave < 1 || slave > 255) return {QStringLiteral("адрес Slave в локальной сети задан неверно\n")};
    const std::pair<const QString*, const char*> required[] = {
        {&e.outputs, "количество выходов блока не задано\n"},
        {&e.xmax, "макс.значение кода не задано\n"},
        {&e.start, "нач адр данных в запросе не задан\n"},
        {&e.count, "количество данных в запросе не задано\n"},
    };
    for (const auto& [text, message] : required)
        if (text->trimmed().isEmpty()) return {QString::fromUtf8(message)};

    QStringList messages;
    const int m = Number(e.outputs);
    const int f = e.code;
    bool outputsOk = true;
    switch (e.type) {
    case Veg01:
        outputsOk = (f == 1 && OneOf(m, {4, 8, 12, 16})) || (f == 2 && OneOf(m, {8, 16, 24, 32}));
        if (!outputsOk) messages << QStringLiteral("ошибка в количестве выходов блока ВЕГ-01\n");
        break;
    case Dkrn:
    case ZolTs:
    case ZolTp:
        outputsOk = m == 1;
        break;
    case Dlts:
        outputsOk = IsAnalogueCode(f) && OneOf(m, {1, 6, 12});
        break;
    case Veg05:
        outputsOk =
            IsAnalogueCode(f) ? OneOf(m, {1, 6, 12}) : m >= 0 && m % 8 == 0 && m < (f == 1 ? 41 : 193);
        break;
    case Others:
        outputsOk = IsAnalogueCode(f) ? m >= 0 : m >= 0 && m < (f == 1 ? 41 : 193);
        break;
    default:
        break;
    }
    if (!outputsOk && e.type != Veg01) messages << QStringLiteral("ошибка в количестве выходов блока\n");

    if (e.type == Veg01) {
        const int decimal = Number(e.start);
        const bool ok = f == 1 ? decimal == 0 : OneOf(decimal, {0, 8, 10, 18});
        if (!ok) messages << QStringLiteral("ошибка в начальном адресе данных в запросе блока ВЕГ-01\n");
    } else if (OneOf(e.type, {Dkrn, ZolTs, ZolTp}) && Number(e.start, 16) != 0) {
        messages << QStringLiteral("ошибка в начальном адресе данных в запросе\n");
    }

    const int count = Number(e.count);
    if (count != m) messages << QStringLiteral("ошибка в количестве данных в запросе\n");
    if (e.type == Veg01 && f == 2 && count + Number(e.start, 16) >= 33)
        messages << QStringLiteral("сумма нач адр и кол-ва данных в запросе >32(Dec)\n");

    const int xmax = Number(e.xmax);
    if (xmax < 0 || xmax > 16384) messages << QStringLiteral("ошибка в максимальном значении кода\n");
    return messages;
}

RequestSnapshot TakeSnapshot(const TConfiguration& cfg) {
    RequestSnapshot s;
    for (int k = 0; k < 194; ++k)
        s.descriptor[size_t(k)] = uint8_t(cfg.MBM.GetByte(k));
    s.discreteCount = cfg.Serv.GetDiscrInCount();
    s.analogueCount = cfg.Serv.GetAnInCount();
    s.netTablesChanged = cfg.MBM.NetEdit.NetTablesChanged;
    return s;
}

void RollBack(TConfiguration& cfg, const RequestSnapshot& s) {
    for (int k = 0; k < 194; ++k)
        cfg.MBM.SetByte(k, s.descriptor[size_t(k)]);
    cfg.Serv.SetDiscrInCount(s.discreteCount);
    cfg.Serv.SetAnInCount(s.analogueCount);
    cfg.MBM.NetEdit.NetTablesChanged = s.netTablesChanged;
}

namespace {

// Moves the tables behind block i (first discrete row d0, first channel a0) from the old needs
// (D, A) to the new ones (D2, A2). A shrinking block also clears, from the new end of the
// discrete inputs endD, as many rows as the following block needs (nextNeed): rows that came
// down from past the old end.
void ShiftTables(TConfiguration& cfg, int d0, int a0, int D, int A, int D2, int A2, int endD, int nextNeed) {
    TProgFBClass& fb = cfg.FB;
    TServClass& serv = cfg.Serv;
    NetEditState& st = cfg.MBM.NetEdit;
    const int anBase = serv.GetGroup6FChannels() + a0;
    const int ds = D2 - D;
    const int as = A2 - A;
    if (ds < 0) {
        fb.FixInputsOnDelete(d0, -ds);
        for (int j = 0; j < D2; ++j)
            fb.FixInputsOnDelete2(d0 + j);
        cfg.Veg.ClearRecords(d0, D);
        serv.ClearNames(d0, D);
        cfg.Veg.DeleteRecords(d0 + D2, -ds);
        serv.DeleteNames(d0 + D2, -ds);
        st.NetTablesChanged = 1;
        cfg.Veg.ClearRecords(endD, nextNeed);
        serv.ClearNames(endD, nextNeed);
    } else if (ds > 0) {
        fb.FixInputsOnMove(d0, D, ds);
        cfg.Veg.InsertRecords(d0 + D, ds);
        serv.InsertNames(d0 + D, ds);
        cfg.Veg.ClearRecords(d0, D2);
        serv.ClearNames(d0, D2);
        st.NetTablesChanged = 1;
    }
    if (as < 0) {
        fb.FixAnInputsOnDelete(anBase, -as);
        for (int j = 0; j < A2; ++j)
            fb.FixInputsOnDelete3(anBase + j);
        cfg.MBM.DeleteChannels(a0, -as);
        cfg.MBM.SetDefaultChannels(a0, A2);
        st.AnGroupsWritten = 0;
    } else if (as > 0) {
        fb.FixInputsOnMove2(anBase, A, as);
        cfg.MBM.InsertChannels(a0, as);
        cfg.MBM.SetDefaultChannels(a0, A2);
        st.AnGroupsWritten = 0;
    }
}

} // namespace

namespace {

// The first used block after i, or −1.
int NextUsed(const TProgMBMClass& mbm, int i) {
    for (int p = i + 1; p < Records; ++p)
        if (mbm.GetKodF(p) != 0) return p;
    return -1;
}

} // namespace

std::pair<int, int> NewBlockStarts(const TConfiguration& cfg, int i) {
    const int next = NextUsed(cfg.MBM, i);
    if (next < 0) return {cfg.Serv.GetDiscrInCount(), cfg.Serv.GetAnInCount()};
    return {cfg.MBM.GetStAddrBeg1(next), cfg.MBM.GetStAddrBeg2(next)};
}

QStringList StoreRequest(TConfiguration& cfg, int i, const RequestEntries& e, int begD, int begA,
                         bool correction) {
    TProgMBMClass& mbm = cfg.MBM;
    NetEditState& st = mbm.NetEdit;
    const int oldCode = correction ? mbm.GetKodF(i) : 0;
    const int oldOutputs = correction ? mbm.GetKolVh(i) : 0;
    const int outputs = Number(e.outputs);

    mbm.SetTipUstr(e.type, i);
    mbm.SetKodF(e.code, i);
    mbm.SetUstr(Number(e.slave), i);
    mbm.SetKolVh(outputs, i);
    mbm.SetAdBegDat(Number(e.start, 16), i);
    mbm.SetKolDat(Number(e.count), i);
    mbm.SetXMax(Number(e.xmax), i);
    mbm.SetStAddrBeg1(begD, i);
    mbm.SetStAddrBeg2(begA, i);

    const auto [endD, endA] = Reallocate(mbm, i, begD, begA);
    QStringList messages;
    if (endD > DiscretePositions) messages << QStringLiteral("не хватает свободных адресов лок. сети\n");
    if (endA > AnaloguePositions) messages << QStringLiteral(" Не хватает адресов для аналоговых входов\n");
    if (!messages.isEmpty()) {
        mbm.SetKodF(0, i);
        return messages;
    }
    const int D = DiscreteNeed(oldCode, oldOutputs), A = AnalogueNeed(oldCode, oldOutputs);
    const int D2 = DiscreteNeed(e.code, outputs), A2 = AnalogueNeed(e.code, outputs);
    st.DiscreteShift = D2 - D;
    st.AnalogueShift = A2 - A;
    const int next = NextUsed(mbm, i);
    if (correction || next >= 0)
        ShiftTables(cfg, begD, begA - cfg.Serv.GetGroup6FChannels(), D, A, D2, A2, endD,
                    next >= 0 ? Need(mbm, next) : 0);
    cfg.Serv.SetDiscrInCount(endD);
    cfg.Serv.SetAnInCount(endA);
    RecountNetInputs(cfg);
    return {};
}

// --- The Ф15 block editor ---

F15Verdict CheckAndStoreF15(TConfiguration& cfg, int k, const F15Entries& e) {
    TProgF15Class& f15 = cfg.F15;
    const int c = Number(e.code);
    if (c == 0 && f15.GetFuncCode(k) == 0) return {F15Fault::None, {}, true};
    if (c != 0 && c != 15) return {F15Fault::CodeHint, {}, false};
    f15.SetFuncCode(k, c);
    const bool used = c != 0;

    if (e.slave < 0 && used) {
        f15.SetB3(k, 0);
        return {F15Fault::Message, QStringLiteral("адрес Slave в локальной сети не задан"), false};
    }
    f15.SetB3(k, e.slave + 1);

    const int inputs = Number(e.inputs);
    if (e.inputs.trimmed().isEmpty() || inputs < 0 || (inputs == 0 && used))
        return {F15Fault::InputsHint, {}, false};
    if (inputs > TProgF15Class::SignalCount) {
        if (used) return {F15Fault::Message, QStringLiteral("ошибка в количестве входов блока"), false};
    } else {
        f15.SetB2(k, inputs);
    }

    f15.SetW4(k, std::max(0, Number(e.start, 16)));
    const int count = Number(e.count);
    if (count != inputs && used)
        return {F15Fault::Message, QStringLiteral("ошибка в количестве данных в запросе"), false};
    f15.SetW6(k, std::max(0, count));

    for (int j = 0; j < std::min(inputs, int(TProgF15Class::SignalCount)); ++j) {
        const int n = Number(e.signalNumbers[size_t(j)]);
        if ((n < 0 || n > 254) && used)
            return {F15Fault::Message,
                    QStringLiteral("ошибка в адресе дискретного сигнала ") + QString::number(j + 1), false};
        f15.SetSignal(k, j, std::max(0, n));
    }
    if (used) {
        f15.SetKvit(k, e.kvit ? 1 : 0);
        f15.SetSbros(k, e.sbros ? 1 : 0);
    }
    return {};
}

} // namespace LocalNet
