#include "RegSchemeLayout.h"

#include "Configuration.h"
#include "PvInput.h"

namespace RegScheme {

namespace {

constexpr int PZScale = 16383;

bool InRecords(int i) {
    return i >= 0 && i < TProgRegClass::RegMaxCount;
}

Loop LoopOf(const TProgRegClass& reg, int record, int row, QPoint panel,
            const std::function<QString(int)>& analogueIdent) {
    Loop l;
    l.row = row;
    l.record = record;
    l.type = reg.GetTReg(record) == 0 ? rtPS : rtPID;
    l.out = reg.GetTypeOut(record) ? toInverse : toDirect;
    l.spType = reg.GetTReg(record);
    l.ident = analogueIdent(reg.GetAnVh(record));
    l.params = {reg.GetKP(record), reg.GetTi(record), reg.GetTd(record),
                reg.GetOL(record), reg.GetOH(record), reg.GetdSP(record)};
    l.panel = panel;
    const int markTop = l.type == rtPS ? TPanReg::kMarkTopPS : TPanReg::kMarkTopPID;
    l.mark = panel + QPoint(MarkLeft, markTop);
    return l;
}

QString DacMark(int output) {
    return QStringLiteral("вых ЦАП №") + QString::number(output + 1);
}
QString LoopMark(int n) {
    return QStringLiteral("на рег ") + QString::number(n);
}

} // namespace

bool KnownType(int t) {
    return t == 0 || t == 1 || (t >= 8 && t <= 13) || (t >= 16 && t <= 21);
}

double PvSpan(const TConfiguration& cfg, int n) {
    const auto in = LookUpPvInput(cfg, n);
    return in ? double(in->high) - double(in->low) : 0.0;
}

Layout LayOut(const TConfiguration& cfg, const std::function<QString(int)>& analogueIdent) {
    const TProgRegClass& reg = cfg.Reg;
    Layout lay;
    RegEditState& st = lay.rows;
    const auto addRow = [&](int frame, int record) {
        if (lay.rowCount >= RegEditState::Slots) return false;
        st.RowFrame[size_t(lay.rowCount)] = frame;
        st.RowRecord[size_t(lay.rowCount)] = record;
        ++lay.rowCount;
        return true;
    };
    for (int rec = 0; rec < reg.GetRegCount(); ++rec) {
        const int type = reg.GetTReg(rec);
        const int kind = KnownType(type) ? reg.GetLoopClass(rec) : type;
        int output = reg.GetVyh(rec);
        // An inner loop that drives a DAC is drawn with its outer loop.
        if (kind == Cascade && output < 6) continue;
        if (reg.GetAnVh(rec) == 0) continue;

        const int frameNo = st.FrameCount;
        Frame f;
        f.kind = kind;
        f.rect = QRect(FrameLeft, frameNo * FrameHeight, FrameWidth, FrameHeight);
        const int row = lay.rowCount;
        if ((kind == Repeater || kind == Single) && output != row) {
            lay.fixes.push_back({rec, row});
            output = row;
        }
        const int left = FrameLeft + (kind == Cascade ? OuterLeft : LoopLeft);
        Loop main = LoopOf(reg, rec, row, QPoint(left, f.rect.top() + PanelTop), analogueIdent);
        if (kind == Cascade)
            main.markText = LoopMark(output - 7);
        else if (kind == ProgramFed && output >= 16)
            main.markText = LoopMark(output - 15);
        else
            main.markText = DacMark(output);
        const QPoint mainMark = main.mark;
        const QPoint mainPanel = main.panel;
        f.loops.push_back(main);
        if (!addRow(frameNo, rec)) break;

        if (kind == Cascade) {
            const int inner = output - 8;
            if (InRecords(inner) && inner != rec && reg.GetLoopClass(inner) == Cascade &&
                reg.GetVyh(inner) <= 5 && reg.GetTReg(inner) == rec + 1 + 7 &&
                lay.rowCount < RegEditState::Slots) {
                Loop in = LoopOf(reg, inner, lay.rowCount,
                                 QPoint(FrameLeft + LoopLeft, f.rect.top() + PanelTop), analogueIdent);
                in.markText = DacMark(reg.GetVyh(inner));
                f.loops.push_back(in);
                f.cascadeConnector = QPoint(mainMark.x() + ConnectorLeft, mainPanel.y() + ConnectorTop);
                addRow(frameNo, inner);
            }
        }
        if (kind == ProgramFed) {
            const int p = type - 16;
            if (InRecords(p) && lay.pzCount < RegEditState::Slots) {
                ProgramPanel pz;
                pz.slot = lay.pzCount;
                pz.pz = p;
                pz.panel = QPoint(FrameLeft + OuterLeft, f.rect.top() + PanelTop);
                const double k = PvSpan(cfg, reg.GetAnVh(rec)) / PZScale;
                for (int j = 0; j < TProgRegClass::PZPoints; ++j) {
                    pz.times[size_t(j)] = reg.GetPZTime(p, j);
                    pz.values[size_t(j)] = float(reg.GetPZValue(p, j) * k);
                }
                pz.mark = pz.panel + QPoint(MarkLeft, TPanReg::kMarkTopPZ);
                pz.markText = LoopMark(reg.GetPZReg(p));
                pz.connector = QPoint(pz.mark.x() + ConnectorLeft, pz.panel.y() + ConnectorTop);
                st.PZFrame[size_t(pz.slot)] = frameNo;
                st.PZNumber[size_t(pz.slot)] = p;
                ++lay.pzCount;
                f.program = pz;
            }
        }
        lay.frames.push_back(std::move(f));
        ++st.FrameCount;
    }
    if (!lay.frames.empty()) lay.height = lay.frames.back().rect.bottom() + 1 + HeightMargin;
    return lay;
}

int FindRegRow(const TProgRegClass& reg, const RegEditState& st, int rowCount, int frame) {
    int found = -1;
    for (int r = 0; r < rowCount && r < RegEditState::Slots; ++r) {
        if (st.RowFrame[size_t(r)] != frame) continue;
        const int rec = st.RowRecord[size_t(r)];
        const int type = reg.GetTReg(rec);
        if (!(type >= 8 && type <= 13)) found = r; // not a cascade's inner loop
    }
    return found;
}

int FindPZSlot(const RegEditState& st, int pzCount, int frame) {
    int found = -1;
    for (int s = 0; s < pzCount && s < RegEditState::Slots; ++s)
        if (st.PZFrame[size_t(s)] == frame) found = s;
    return found;
}

int PartnerRow(const RegEditState& st, int rowCount, int frame, int row) {
    for (int r = 0; r < rowCount && r < RegEditState::Slots; ++r)
        if (r != row && st.RowFrame[size_t(r)] == frame) return r;
    return -1;
}

} // namespace RegScheme
