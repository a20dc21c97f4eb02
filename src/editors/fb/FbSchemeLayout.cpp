#include "FbSchemeLayout.h"

#include "TProgFBClass.h"
#include "TServClass.h"

#include <algorithm>

namespace FbScheme {

namespace {

constexpr int MaxSignal = TProgFBClass::MaxSignal;
// Offsets from the panel's top left.
constexpr QPoint MarkOffset{150, 72};
constexpr QPoint OutputOffset{230, 20};
constexpr QPoint SignPanelOffset{165, 10};
constexpr QPoint SignConnectorOffset{192, 17};
constexpr int RelayPanelDown = 24;
constexpr int RelayLineDown = 44;
// Algorithm labels: above their first block, or below the last panel.
constexpr int LabelLeft = 8;
constexpr int LabelAbove = 12;
constexpr int LabelBelowLast = 108;
constexpr int SchemeBottomMargin = 20;

// The output connector that reaches input j of the next block.
constexpr ShapeZType Reach[Inputs] = {stZigzag3, stZigzag2, stZigzag1, stZigzag0};

QString InputCaption(const TProgFBClass& fb, const TServClass& serv,
                     const std::function<QString(int)>& analogueIdent, int kind, int number) {
    const int kvuLimit = fb.KvuLimit();
    if (number < 1) return {};
    switch (kind) {
    case 0:
        return number <= MaxSignal ? serv.GetInputText(number - 1) : QString();
    case 1:
        if (number <= fb.FBCount) return "ФБ" + QString::number(number);
        return number <= kvuLimit ? "КВУ" + QString::number(number) : QString();
    case 2:
        return number <= MaxSignal ? analogueIdent(number) + "  b" : QString();
    case 4:
        return number <= MaxSignal ? serv.GetInputText(number - 1) + "  b" : QString();
    default:
        return {};
    }
}

// Row and column of block n, after the block before it.
std::pair<int, int> Place(const TProgFBClass& fb, int n, const Block* before) {
    if (!before) return {0, 0};
    int row = before->link.row;
    int col = before->relay ? 2 : before->link.column;
    if (col == 2) {
        ++row;
        col = 0;
    } else {
        ++col;
    }
    if (col != 0 && fb.AlgTable.GetMark(n) != TProgFBClass::AlgEnd) {
        ++row;
        col = 0;
    }
    return {row, col};
}

// A field outside its enumeration shows as the enumeration's first member.
Settings Decode(const TProgFBClass& fb, int n, int type, int subtype) {
    Settings s;
    if (type == TProgFBClass::TypeTimer) {
        s.timer = EnumFromRawOrFirst<TimerType>(subtype);
        if (subtype == T5)
            s.alarm = Settings::Alarm{fb.GetAlarmHour(n), fb.GetAlarmMin(n), fb.GetAlarmSec(n)};
    }
    if (type == TProgFBClass::TypeTimer || type == TProgFBClass::TypeComparator) {
        s.timeUnit = EnumFromRawOrFirst<TimerDiskr>(fb.GetTimerDiskr(n));
        s.time = std::clamp(fb.GetTimeUst(n), 0, 120);
    }
    if (type == TProgFBClass::TypeTrigger) s.trigger = EnumFromRawOrFirst<TriggerType>(subtype);
    if (type == TProgFBClass::TypeComparator) {
        s.condition = EnumFromRawOrFirst<ComparatorCondition>(fb.GetCompCond(n));
        s.limit = fb.GetCompUstText(n).replace(',', '.').toFloat();
        s.hysteresis = std::clamp(fb.GetCompHyst(n), 0, 31);
    }
    if (type == TProgFBClass::TypeCounter) s.countLimit = fb.GetCountUst(n);
    return s;
}

Block LayOutBlock(const TProgFBClass& fb, const TServClass& serv,
                  const std::function<QString(int)>& analogueIdent, int panelHeight, int n, Block* before,
                  int addingRelay) {
    const int type = fb.GetType(n);
    const int subtype = fb.GetSubtype(n);
    Block b;
    b.type = EnumFromRawOrFirst<TFBType>(type - 1);
    b.settings = Decode(fb, n, type, subtype);

    // The comparator's analogue operand shows on input 2; its single discrete input is kept in
    // bytes 7..8.
    const bool comparator = type == TProgFBClass::TypeComparator;
    if (comparator) {
        if (const int x1 = fb.GetX1Num(n))
            b.inputs[1].caption = fb.GetX1Src(n) == 0 ? analogueIdent(x1) : "МБ" + QString::number(x1);
    }
    for (int j = 0; j < std::min(TProgFBClass::FBInputCount(type, subtype), Inputs); ++j) {
        const int inType = comparator ? fb.GetIn8Type(n) : fb.GetInType(n, j);
        const int kind = comparator ? fb.GetIn8Kind(n) : fb.GetInKind(n, j);
        const int number = comparator ? fb.GetIn8Num(n) : fb.GetInNum(n, j);
        b.inputs[j] = {InputCaption(fb, serv, analogueIdent, kind, number),
                       inType == 0 ? itInverse : itNormal};
        if (kind == 1 && number >= 1 && number <= fb.FBCount) {
            b.link.feeders[j] = number;
            // The block just before reaches the input that takes it, unless it drives relays.
            if (number == n && before && !before->relay)
                before->output = {before->output.pos, Reach[j], true};
        }
    }

    const auto [row, col] = Place(fb, n, before);
    b.link.index = n;
    b.link.row = row;
    b.link.column = col;
    b.link.left = col * ColumnWidth;
    b.link.top = row * RowHeight + SchemeTop;
    b.panel = {b.link.left, b.link.top};
    b.background = QRect(b.panel, QSize(ColumnWidth, panelHeight));
    b.mark = b.panel + MarkOffset;
    b.output = {b.panel + OutputOffset, stZigzag0, false};

    if (const int sign = fb.GetSigTipS(n)) b.signalling = SignallingAt(b.panel, sign, fb.GetSigNTabS(n));

    RelayOutput relay;
    int relaySum = 0;
    for (int k = 0; k < int(relay.masks.size()); ++k) {
        const int mask = fb.GetB9Plus(n, k + 1);
        relay.masks[size_t(k)] = uint8_t(mask);
        relaySum += mask;
    }
    if (relaySum != 0 || n == addingRelay) {
        relay.panel = {RelayLeft, b.link.top + RelayPanelDown};
        relay.line = {b.link.left + ColumnWidth, b.link.top + RelayLineDown};
        relay.lineWidth = RelayLeft - relay.line.x();
        b.background.setWidth(ColumnWidth + RelayWidth + relay.lineWidth);
        b.output.shape = stZigzag2;
        b.output.shown = true;
        b.relay = relay;
    }
    return b;
}

} // namespace

Signalling SignallingAt(QPoint panel, int type, int cell) {
    return Signalling{type, cell, panel + SignPanelOffset, {panel + SignConnectorOffset, stZigzag2, true}};
}

FBLinkRecord Link::ToRecord() const {
    FBLinkRecord r;
    r.w = {index, left, top, row, column, feeders[0], feeders[1], feeders[2], feeders[3]};
    return r;
}

Layout LayOut(const TProgFBClass& fb, const TServClass& serv,
              const std::function<QString(int)>& analogueIdent, int panelHeight, int addingRelay) {
    Layout layout;
    auto& blocks = layout.blocks;
    const int limit = std::min(fb.FBCount, int(TProgFBClass::FBCapacity));
    blocks.reserve(size_t(std::max(limit, 0)));
    for (int n = 0; n < limit; ++n) {
        const int type = fb.GetType(n);
        if (!FBTypeFromCode(type)) break;
        Block* before = blocks.empty() ? nullptr : &blocks.back();
        blocks.push_back(LayOutBlock(fb, serv, analogueIdent, panelHeight, n, before, addingRelay));
    }
    const int count = int(blocks.size());

    const TProgFBClass::CalcCounts calc = fb.CountCalcRecords(count);
    layout.integrators = calc.integrators;
    layout.arithBlocks = calc.arithBlocks;

    if (blocks.empty()) return layout;
    const Link& last = blocks.back().link;
    layout.height = last.top + panelHeight + SchemeBottomMargin;
    // An algorithm whose first block has no panel (an empty list) is placed below the last panel.
    const int algorithms = std::clamp(fb.AlgTable.GetCount(), 0, int(TProgFBClass::Slots));
    for (int a = 0; a < algorithms; ++a) {
        const int first = fb.AlgTable.GetEntry(a, 0);
        const int top = first >= 1 && first <= count ? blocks[size_t(first - 1)].link.top - LabelAbove
                                                     : last.top + LabelBelowLast;
        layout.labels.push_back({fb.GetFbText(a), QPoint(LabelLeft, top)});
    }
    return layout;
}

} // namespace FbScheme
