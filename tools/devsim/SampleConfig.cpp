#include "SampleConfig.h"

#include "CalcBlocks.h"
#include "DeviceLayouts.h"
#include "ScaleRanges.h"
#include "TProgFBClass.h"
#include "TProgMBAClass.h"
#include "TProgMRClass.h"
#include "TProgRegClass.h"
#include "TServClass.h"

#include <algorithm>

namespace {

enum Type {
    And = 1,
    Nand = 2,
    Or = 3,
    Nor = 4,
    Hysteresis = 5,
    Timer = 6,
    Trigger = 7,
    Comparator = 8,
    Counter = 9
};
enum Kind { DiscreteInput = 0, BlockOutput = 1 };

struct Input {
    int kind;
    int number;
    int direct = 1;
};

struct Block {
    int type;
    int subtype;
    Input in[2];
};

// Inputs 1 and 2 of each block; a comparator's input is its single discrete input (bytes 7..8).
constexpr Block Blocks[SampleConfig::FunctionBlocks] = {
    {And, 0, {{DiscreteInput, 1}, {DiscreteInput, 2}}},
    {Or, 0, {{BlockOutput, 1}, {DiscreteInput, 3, 0}}},
    {Timer, 0, {{BlockOutput, 2}, {DiscreteInput, 4}}},
    {Trigger, 0, {{BlockOutput, 3}, {DiscreteInput, 5}}},
    {Comparator, 0, {{DiscreteInput, 6}, {}}},
    {Counter, 0, {{BlockOutput, 5}, {DiscreteInput, 7}}},
    {Nand, 0, {{BlockOutput, 4}, {BlockOutput, 6}}},
    {Nor, 0, {{DiscreteInput, 8}, {BlockOutput, 7, 0}}},
    {Hysteresis, 0, {{DiscreteInput, 9}, {BlockOutput, 8}}},
    {Timer, 1, {{BlockOutput, 9}, {DiscreteInput, 10}}},
};

void FillFunctionBlocks(std::map<int, std::vector<uint8_t>>& blocks) {
    TProgFBClass fb;
    for (int i = 0; i < SampleConfig::FunctionBlocks; ++i) {
        const Block& b = Blocks[i];
        fb.SetTypeByte(i, b.type);
        fb.SetSubtype(i, b.subtype);
        if (b.type == Comparator) {
            fb.SetIn8Type(i, b.in[0].direct);
            fb.SetIn8Kind(i, b.in[0].kind);
            fb.SetIn8Num(i, b.in[0].number);
            continue;
        }
        for (int j = 0; j < 2; ++j) {
            fb.SetInType(i, j, b.in[j].direct);
            fb.SetInKind(i, j, b.in[j].kind);
            fb.SetInNum(i, j, b.in[j].number);
        }
    }
    fb.SetTimerDiskr(2, 1); // 10 s
    fb.SetTimeUst(2, 10);
    fb.SetTimerDiskr(9, 0); // 5 × 100 ms
    fb.SetTimeUst(9, 5);
    fb.SetX1Src(4, 0); // analogue input 1 above 50 with 2 % hysteresis
    fb.SetX1Num(4, 1);
    fb.SetCompUstText(4, "50");
    fb.SetCompCond(4, 1);
    fb.SetCompHyst(4, 2);
    fb.SetCountUst(5, 10);
    fb.SetSigTipS(SampleConfig::SignallingBlock, 1);
    fb.SetSigNTabS(SampleConfig::SignallingBlock, 3);
    fb.SetB9Plus(SampleConfig::RelayBlock, 1, 0x01); // relay module 1, output 1

    // Behind the logic blocks: two integrators, and three arithmetic blocks, the second taking the
    // first one's result and the third the second one's.
    fb.RecountTable();
    CalcBlocks::IntegratorValues integrators;
    integrators.numbers = {1, 2};
    integrators.numbers[CalcBlocks::IntegratorInputs] = 3;
    integrators.dayStartHour = 8;
    CalcBlocks::StoreIntegrators(fb, integrators, true);
    const CalcBlocks::ArithValues arith[SampleConfig::ArithBlocks] = {
        {1, 0, 1, "1", 0, 2, "0,5", 1},
        {3, 1, 1, "2", 0, 3, "", 2},
        {5, 1, 2, "1", 0, 0, "", 3},
    };
    for (const auto& v : arith)
        CalcBlocks::StoreArith(fb, CalcBlocks::ArithIndex(fb, fb.ArithBlockCount), v, true);

    for (int n = 0; n <= DeviceBlocks::FBLast - DeviceBlocks::FBFirst; ++n) {
        fb.FbsToBlock(n);
        auto& data = blocks[DeviceBlocks::FBFirst + n];
        std::copy_n(fb.Page(), std::min<size_t>(data.size(), TProgFBClass::PageBytes), data.begin());
    }
}

void FillLoops(std::map<int, std::vector<uint8_t>>& blocks) {
    TProgRegClass reg;
    for (int i = 0; i < SampleConfig::Loops; ++i) {
        reg.SetAnVh(i, i + 1); // PV from analogue input 1 or 2
        reg.SetTReg(i, 0, 1);  // a single loop
        reg.SetVyh(i, i);      // current output 1 or 2
        reg.SetTypeOut(i, i);  // the second one reverse
        reg.SetKPText(i, "1,5");
        reg.SetTiText(i, "120");
        reg.SetTdText(i, "0");
        reg.SetOLText(i, "0");
        reg.SetOHText(i, "100");
        reg.SetdSPText(i, "25");
    }
    reg.RecordsToBlock(DeviceBlocks::RegLoops);
    auto& data = blocks[DeviceBlocks::RegLoops];
    for (size_t k = 0; k < data.size(); ++k)
        data[k] = uint8_t(reg.GetBufferByte(int(k)));
}

void FillNames(std::map<int, std::vector<uint8_t>>& blocks) {
    TServClass serv;
    const char* names[] = {"Давление",    "Температура", "Пуск насоса",
                           "Стоп насоса", "Авария",      "Дверь открыта"};
    for (int i = 0; i < int(std::size(names)); ++i)
        serv.SetNameText(i, QString::fromUtf8(names[i]));
    serv.NameTableToBlock(0);
    auto& data = blocks[DeviceBlocks::NamesFirst];
    std::copy_n(serv.NameBlock(), std::min<size_t>(data.size(), TServClass::NameBlockBytes), data.begin());
}

// Every relay module with a base of its own: outputs 1..6 light signals with input numbers
// 1..12, output 7 a sound signal, output 8 a control output; input numbers and sources shift
// with the module.
void FillRelayBase(std::map<int, std::vector<uint8_t>>& blocks) {
    TProgMRClass mr;
    for (int m = 0; m < TProgMRClass::ModuleCount; ++m) {
        for (int o = 0; o < TProgMRClass::OutputCount; ++o) {
            const int kind = o < 6 ? 0 : o - 5; // 0 light, 1 sound, 2 control
            mr.SetTipVyh(kind == 2, o, m);
            mr.SetKvitBlock(kind == 1 || (kind == 2 && m % 2 == 1), o, m);
            if (kind != 2) {
                mr.SetKvitPanel((o + m) % 2, o, m);
                mr.SetKvitTopLevel((o + m + 1) % 2, o, m);
                mr.SetVxKvit(o, m, 1 + (o + m) % 12);
            }
            if (kind != 1) {
                mr.SetSbrPanel((o + m) % 3 == 0, o, m);
                mr.SetSbrTopLevel((o + m) % 3 == 1, o, m);
                mr.SetVhSbr(o, m, 1 + (o + 3 * m + 5) % 12);
            }
        }
    }
    auto& data = blocks[DeviceBlocks::RelayBase];
    for (size_t k = 0; k < data.size(); ++k)
        data[k] = uint8_t(mr.GetModByte(int(k) + 1));
}

// The controller's four channels with scales that agree with their kind and range: channels 1
// and 2 thermocouples on their first standard range, channels 3 and 4 free scales; set points
// inside each scale and a position text, so that calibration and the loops' PV inputs (channels
// 1 and 2) find a usable scale.
void FillAnalogModule(std::map<int, std::vector<uint8_t>>& blocks) {
    struct Channel {
        int unit;
        const char* low;
        const char* high;
        const char* setPoints[4]; // LL, L, H, HH
        const char* position;
    };
    const ScaleRange first = ScaleRangeTable::Ranges(0)[0];
    const QString low = ScaleRangeTable::LimitText(first.Min), high = ScaleRangeTable::LimitText(first.Max);
    const Channel channels[4] = {
        {0, nullptr, nullptr, {"20", "40", "160", "180"}, "Т-1"}, // град.С
        {0, nullptr, nullptr, {"10", "30", "150", "190"}, "Т-2"},
        {3, "0", "1000", {"100", "200", "800", "900"}, "Д-3"}, // КПа
        {1, "0", "100", {"5", "10", "90", "95"}, "У-4"},       // %
    };
    TProgMBAClass mba;
    for (int c = 0; c < 4; ++c) {
        const Channel& ch = channels[c];
        mba.SetChSk(0, c, 0); // sensor type 0 on channels 1 and 2, scale law 0 on 3 and 4
        mba.SetChB1Bits0to5(0, c, 0);
        mba.SetChRazm(0, c, ch.unit);
        mba.SetChNSkText(0, c, ch.low ? QString::fromUtf8(ch.low) : low);
        mba.SetChVSkText(0, c, ch.high ? QString::fromUtf8(ch.high) : high);
        mba.SetChUstLLText(0, c, QString::fromUtf8(ch.setPoints[0]));
        mba.SetChUstLText(0, c, QString::fromUtf8(ch.setPoints[1]));
        mba.SetChUstHText(0, c, QString::fromUtf8(ch.setPoints[2]));
        mba.SetChUstHHText(0, c, QString::fromUtf8(ch.setPoints[3]));
        mba.SetChPozText(0, c, QString::fromUtf8(ch.position));
    }
    auto& data = blocks[DeviceBlocks::AnModuleFirst];
    for (size_t k = 0; k < data.size(); ++k)
        data[k] = uint8_t(mba.GetModuleByte(0, int(k) + 1));
}

} // namespace

void SampleConfig::Fill(std::map<int, std::vector<uint8_t>>& blocks) {
    FillFunctionBlocks(blocks);
    FillLoops(blocks);
    FillNames(blocks);
    FillRelayBase(blocks);
    FillAnalogModule(blocks);
}
