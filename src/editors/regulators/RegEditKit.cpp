#include "RegEditKit.h"

#include "Configuration.h"
#include "NumberText.h"
#include "PvInput.h"
#include "RegSchemeLayout.h"

#include <algorithm>

namespace RegEdit {

namespace {

using F = RegField;
constexpr std::array OuterParams{F::Kp, F::Ti, F::Td, F::OL, F::OH, F::dSP};
constexpr std::array InnerParams{F::Kp1, F::Ti1, F::Td1, F::OL1, F::OH1, F::dSP1};

bool InRecords(int i) {
    return i >= 0 && i < TProgRegClass::RegMaxCount;
}

int Whole(const QString& text) {
    return text.trimmed().toInt();
}

int KindOf(const TProgRegClass& reg, int rec) {
    const int type = reg.GetTReg(rec);
    return RegScheme::KnownType(type) ? reg.GetLoopClass(rec) : type;
}

std::array<QString, 6> ParamTexts(const TProgRegClass& reg, int i) {
    return {reg.GetKPText(i), reg.GetTiText(i), reg.GetTdText(i),
            reg.GetOLText(i), reg.GetOHText(i), reg.GetdSPText(i)};
}

void StoreParams(TProgRegClass& reg, int i, const CreatRegForm& f, const std::array<F, 6>& fields) {
    reg.SetKPText(i, f[fields[0]]);
    reg.SetTiText(i, f[fields[1]]);
    reg.SetTdText(i, f[fields[2]]);
    reg.SetOLText(i, f[fields[3]]);
    reg.SetOHText(i, f[fields[4]]);
    reg.SetdSPText(i, f[fields[5]]);
}

// The scale of PV input n from its texts, and the box a zero span gives.
struct Scale {
    float low = 0, high = 0;
    std::optional<QString> refusal;
};

Scale ScaleOf(const TConfiguration& cfg, int n) {
    Scale s;
    const auto in = LookUpPvInput(cfg, n);
    if (in) {
        s.low = float(ParseDecimal(in->lowText).value_or(0));
        s.high = float(ParseDecimal(in->highText).value_or(0));
    }
    if (s.high - s.low != 0) return s;
    QString text = QStringLiteral("проверить шкалы анал. вх. ");
    const int perModule = 6;
    if (n >= 1 && n <= perModule * cfg.Serv.GetCntMod6F())
        text += QString::number((n - 1) % perModule + 1) + QStringLiteral(" мод ") +
                QString::number((n - 1) / perModule + 1);
    else if (in && in->network)
        text += QString::number(in->channel);
    s.refusal = text;
    return s;
}

} // namespace

int FirstFreeRecord(const TProgRegClass& reg) {
    for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
        if (reg.GetAnVh(i) == 0) return i;
    return -1;
}

int FirstFreePZ(const TProgRegClass& reg) {
    for (int p = 0; p < TProgRegClass::RegMaxCount; ++p) {
        bool used = false;
        for (int i = 0; i < TProgRegClass::RegMaxCount; ++i)
            used = used || (reg.GetAnVh(i) != 0 && reg.GetTReg(i) == 16 + p);
        if (!used) return p;
    }
    return -1;
}

CreatRegForm ResetForm() {
    CreatRegForm f;
    f[F::AnVh] = f[F::AnVh1] = f[F::AReg] = QStringLiteral("00");
    for (F r : {F::NReg, F::AdOUT, F::NReg1, F::VhSP, F::AdOUT1, F::NPZ, F::VhPZ})
        f[r] = QStringLiteral("0");
    const std::array<float, 6> defaults{TProgRegClass::DefaultKp, TProgRegClass::DefaultTi,
                                        TProgRegClass::DefaultTd, TProgRegClass::DefaultOL,
                                        TProgRegClass::DefaultOH, TProgRegClass::DefaultOSF};
    for (size_t i = 0; i < 6; ++i) {
        f[OuterParams[i]] = DefaultText(defaults[i]);
        f[InnerParams[i]] = QStringLiteral("0");
    }
    for (int k = 0; k < TProgRegClass::PZPoints; ++k)
        f[Interval(k)] = f[Value(k)] = QStringLiteral("0");
    return f;
}

CreatRegForm EditForm(const TConfiguration& cfg, int rec, int& innerAction, PreparedPZ& pz) {
    const TProgRegClass& reg = cfg.Reg;
    CreatRegForm f = ResetForm();
    innerAction = 0;
    pz = PreparedPZ{};
    const int kind = KindOf(reg, rec);
    f.kind = kind;
    f.comp = true;
    f.regInt = kind == RegScheme::Cascade;
    f.pz = kind == RegScheme::ProgramFed;
    f.cascadeCaption = kind == RegScheme::Cascade;
    f.outAction = reg.GetTypeOut(rec);
    f[F::NReg] = QString::number(rec + 1);
    f[F::AnVh] = QString::number(reg.GetAnVh(rec));
    const int out = reg.GetVyh(rec);
    f[F::AdOUT] = QString::number(kind == RegScheme::Cascade ? out - 7 : out + 1);
    const auto params = ParamTexts(reg, rec);
    for (size_t i = 0; i < 6; ++i)
        f[OuterParams[i]] = params[i];
    if (kind == RegScheme::Repeater)
        for (F r : {F::Kp, F::Ti, F::Td, F::dSP})
            f[r] = QStringLiteral("00");

    if (kind == RegScheme::Cascade) {
        const int inner = out - 8;
        if (InRecords(inner)) {
            f[F::NReg1] = QString::number(inner + 1);
            f[F::AnVh1] = QString::number(reg.GetAnVh(inner));
            innerAction = reg.GetTypeOut(inner);
            f[F::AdOUT1] = QString::number(reg.GetVyh(inner) + 1);
            const auto innerParams = ParamTexts(reg, inner);
            for (size_t i = 0; i < 6; ++i)
                f[InnerParams[i]] = innerParams[i];
            f[F::VhSP] = QString::number(reg.GetTReg(inner) - 7);
        }
    }
    if (kind == RegScheme::ProgramFed) {
        const int type = reg.GetTReg(rec);
        f[F::VhPZ] = f[F::NPZ] = QString::number(type - 15);
        const int p = type - 16;
        if (InRecords(p)) {
            pz.pz = p;
            f[F::AReg] = QString::number(reg.GetPZReg(p));
            const double span = RegScheme::PvSpan(cfg, reg.GetAnVh(rec));
            for (int k = 0; k < TProgRegClass::PZPoints; ++k) {
                f[Interval(k)] = QString::number(reg.GetPZTime(p, k));
                pz.stored[size_t(k)] = reg.GetPZValue(p, k);
                pz.text[size_t(k)] = f[Value(k)] = FormatFixed(PZShownValue(pz.stored[size_t(k)], span), 4);
            }
        }
    }
    return f;
}

void StoreForm(TConfiguration& cfg, RegEditState& st, const CreatRegForm& f, int frame, int kind,
               int innerAction, const PreparedPZ& pz) {
    TProgRegClass& reg = cfg.Reg;
    st.CurFrame = frame;
    st.SelectedRecord = Whole(f[F::NReg]) - 1;
    if (st.SelectedRow >= 0 && st.SelectedRow < RegEditState::Slots) {
        st.RowRecord[size_t(st.SelectedRow)] = st.SelectedRecord;
        st.RowFrame[size_t(st.SelectedRow)] = st.CurFrame;
    }
    const int rec = st.SelectedRecord;
    if (!InRecords(rec)) return;
    reg.SetAnVh(rec, Whole(f[F::AnVh]));
    const int adOut = Whole(f[F::AdOUT]);
    reg.SetVyh(rec, kind == RegScheme::Cascade ? adOut + 7 : adOut - 1);
    const int type = kind == RegScheme::Repeater     ? 0
                     : kind == RegScheme::ProgramFed ? Whole(f[F::VhPZ]) + 15
                                                     : 1;
    reg.SetTReg(rec, kind, type);
    reg.SetTypeOut(rec, f.outAction);
    StoreParams(reg, rec, f, OuterParams);

    if (kind == RegScheme::Cascade) {
        const int inner = adOut - 1;
        if (InRecords(inner) && inner != rec) {
            reg.SetAnVh(inner, Whole(f[F::AnVh1]));
            reg.SetTypeOut(inner, innerAction);
            reg.SetVyh(inner, Whole(f[F::AdOUT1]) - 1);
            StoreParams(reg, inner, f, InnerParams);
            reg.SetTReg(inner, kind, Whole(f[F::VhSP]) + 7);
        }
    }
    if (kind == RegScheme::ProgramFed) {
        const int p = Whole(f[F::VhPZ]) - 1;
        if (!InRecords(p)) return;
        reg.SetPZReg(p, Whole(f[F::AReg]));
        const double span = RegScheme::PvSpan(cfg, Whole(f[F::AnVh]));
        for (int k = 0; k < TProgRegClass::PZPoints; ++k) {
            reg.SetPZTime(p, k, Whole(f[Interval(k)]));
            const QString& text = f[Value(k)];
            if (p == pz.pz && text == pz.text[size_t(k)]) {
                reg.SetPZValue(p, k, pz.stored[size_t(k)]);
                continue;
            }
            // A value the stored form cannot hold keeps the stored one rather than wrap.
            if (const auto v = ParseDecimal(text))
                if (const auto stored = PZStoredValue(*v, span)) reg.SetPZValue(p, k, *stored);
        }
    }
}

std::vector<int> DeleteGroup(TProgRegClass& reg, int rec, const std::vector<int>& laterMains) {
    reg.SetRegModified(1);
    if (!InRecords(rec)) return {};
    const int kind = KindOf(reg, rec);
    const int d = kind == RegScheme::Cascade ? 2 : 1;
    const int type = reg.GetTReg(rec);
    const int out = reg.GetVyh(rec);
    const int deletedPZ = kind == RegScheme::ProgramFed ? type - 16 : -1;
    for (int m : laterMains) {
        if (!InRecords(m)) continue;
        const int mk = KindOf(reg, m);
        if (mk == RegScheme::Cascade && reg.GetTReg(m) == 1) {
            const int inner = reg.GetVyh(m) - 8;
            if (InRecords(inner)) reg.SetTReg(inner, 0, reg.GetTReg(inner) - d);
            reg.SetVyh(m, reg.GetVyh(m) - d);
        }
        if (mk == RegScheme::ProgramFed) {
            const int p = reg.GetTReg(m) - 16;
            if (deletedPZ >= 0 && p > deletedPZ) reg.SetTReg(m, 0, reg.GetTReg(m) - 1);
            if (InRecords(p)) reg.SetPZReg(p, reg.GetPZReg(p) - d);
        }
    }
    std::vector<int> removed{rec};
    reg.DeleteRecords(rec, 1);
    if (kind == RegScheme::Cascade) {
        const int inner = out - 8;
        if (InRecords(inner) && inner != rec) {
            reg.DeleteRecords(inner > rec ? inner - 1 : inner, 1);
            removed.push_back(inner);
        }
    }
    if (kind == RegScheme::ProgramFed && InRecords(deletedPZ)) reg.DeletePZRecords(deletedPZ, 1);
    return removed;
}

int DeleteSelected(TProgRegClass& reg, const RegEditState& st, int rowCount) {
    // The main record of every frame, renumbered as records go.
    std::vector<int> mains;
    std::vector<bool> chosen;
    for (int f = 0; f < st.FrameCount; ++f) {
        const int row = RegScheme::FindRegRow(reg, st, rowCount, f);
        mains.push_back(row >= 0 ? st.RowRecord[size_t(row)] : -1);
        chosen.push_back(row >= 0 && st.Reg_Choose[size_t(row)] != 0);
    }
    int deleted = 0;
    for (size_t f = 0; f < mains.size(); ++f) {
        if (!chosen[f] || mains[f] < 0) continue;
        const std::vector<int> later(mains.begin() + long(f) + 1, mains.end());
        const std::vector<int> removed = DeleteGroup(reg, mains[f], later);
        ++deleted;
        for (int& m : mains) {
            if (m < 0) continue;
            if (std::find(removed.begin(), removed.end(), m) != removed.end()) {
                m = -1;
                continue;
            }
            m -= int(std::count_if(removed.begin(), removed.end(), [m](int r) { return r < m; }));
        }
    }
    return deleted;
}

int ChosenCount(const RegEditState& st, int rowCount) {
    int n = 0;
    for (int r = 0; r < rowCount && r < RegEditState::Slots; ++r)
        n += st.Reg_Choose[size_t(r)] != 0;
    return n;
}

int CopySelected(const TProgRegClass& reg, const RegEditState& st, int rowCount, TCopyBlocksClass& copy) {
    copy.NReg_Copy = 0;
    if (ChosenCount(st, rowCount) == 0) return 0;
    for (int r = 0; r < TCopyBlocksClass::LoopRows; ++r)
        copy.SetRegCopyFlag(r, 0);
    for (int r = 0; r < rowCount && r < TCopyBlocksClass::LoopRows; ++r) {
        if (!st.Reg_Choose[size_t(r)]) continue;
        ++copy.NReg_Copy;
        copy.SetRegCopyFlag(r, 1);
        std::array<uint8_t, TProgRegClass::RecordSize> bytes{};
        for (int k = 0; k < TProgRegClass::RecordSize; ++k)
            bytes[size_t(k)] = uint8_t(reg.GetRecByte(r, k));
        copy.RegRecords().Set(r, bytes.data(), int(bytes.size()));
    }
    return copy.NReg_Copy;
}

bool GroupFits(const TCopyBlocksClass& copy, int rowCount) {
    const int rows = TProgRegClass::RegMaxCount;
    int beg = 0;
    while (beg < rows && !copy.GetRegCopyFlag(beg))
        ++beg;
    if (beg == rows) return true;
    int end = beg;
    while (end + 1 < rows && copy.GetRegCopyFlag(end + 1))
        ++end;
    return end - beg + 1 <= rows - rowCount;
}

OnlineEntry PrepareOnline(const TConfiguration& cfg, int rec) {
    const TProgRegClass& reg = cfg.Reg;
    OnlineEntry e;
    e.kind = KindOf(reg, rec);
    e.record = rec;
    e.input = reg.GetAnVh(rec);
    const Scale outer = ScaleOf(cfg, e.input);
    e.low[0] = outer.low, e.high[0] = outer.high;
    if (outer.refusal) {
        e.refusal = outer.refusal;
        return e;
    }
    const int inner = reg.GetVyh(rec) - 8;
    if (e.kind == RegScheme::Cascade && InRecords(inner)) {
        e.inner = inner;
        e.innerInput = reg.GetAnVh(inner);
        e.flags = {1, 0, 1};
        const Scale in = ScaleOf(cfg, e.innerInput);
        e.low[1] = in.low, e.high[1] = in.high;
        e.refusal = in.refusal;
    }
    return e;
}

} // namespace RegEdit
