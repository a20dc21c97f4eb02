#include "CreatRegRules.h"

#include "NumberText.h"
#include "TProgRegClass.h"

#include <algorithm>
#include <cmath>

const QString InputErrorText = QStringLiteral(" Ошибка ввода ");

namespace {

constexpr int PZScale = 16383;
constexpr int IntervalMax = 65535;
constexpr std::array OuterParams{RegField::Kp, RegField::Ti, RegField::Td,
                                 RegField::OL, RegField::OH, RegField::dSP};
constexpr std::array InnerParams{RegField::Kp1, RegField::Ti1, RegField::Td1,
                                 RegField::OL1, RegField::OH1, RegField::dSP1};
struct Limits {
    double low, high;
};
// Kp, Ti, Td, OL, OH, OSF.
constexpr std::array<Limits, 6> ParamLimits{
    {{0.1, 1000}, {0.1, 10000}, {0, 1000}, {0, 100}, {0, 100}, {0, 100}}};
constexpr std::array<float, 6> Defaults{TProgRegClass::DefaultKp, TProgRegClass::DefaultTi,
                                        TProgRegClass::DefaultTd, TProgRegClass::DefaultOL,
                                        TProgRegClass::DefaultOH, TProgRegClass::DefaultOSF};

std::optional<int> ParseWhole(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// A whole number in low..high; a text that is no number fails as well.
bool WholeIn(const QString& text, int low, int high) {
    const auto v = ParseWhole(text);
    return v && *v >= low && *v <= high;
}

std::optional<Refusal> CheckParams(const CreatRegForm& f, const std::array<RegField, 6>& params) {
    for (size_t i = 0; i < params.size(); ++i)
        if (auto bad = CheckEditRange(f[params[i]], ParamLimits[i].high, ParamLimits[i].low, f.kind))
            return Refusal{params[i], *bad};
    return std::nullopt;
}

std::optional<Refusal> CheckPoints(const CreatRegForm& f, const CloseContext& ctx) {
    const double span = ctx.pvHigh - ctx.pvLow;
    // What the stored form holds, within the scale.
    const double low = std::max(ctx.pvLow, -32768.0 * span / PZScale);
    const double high = std::min(ctx.pvHigh, 32767.0 * span / PZScale);
    for (int k = 0; k < 6; ++k) {
        const QString& interval = f[Interval(k)];
        if (interval.isEmpty()) return Refusal{Interval(k), InputErrorText};
        const auto t = ParseWhole(interval);
        if (!t) return Refusal{Interval(k), InputErrorText};
        if (*t < 0 || *t > IntervalMax) return Refusal{Interval(k), OutOfRangeText(0, IntervalMax)};
        const QString& value = f[Value(k)];
        if (value.isEmpty() || !(span > 0)) return Refusal{Value(k), InputErrorText};
        if (auto bad = CheckEditRange(value, high, low, f.kind)) return Refusal{Value(k), *bad};
        if (!PZStoredValue(*ParseDecimal(value), span)) return Refusal{Value(k), OutOfRangeText(low, high)};
    }
    return std::nullopt;
}

} // namespace

QString DefaultText(float value) {
    return FormatFixed(value, 4);
}

QString OutOfRangeText(double low, double high) {
    return QStringLiteral("Величина вне диапазона %1 - %2")
        .arg(FormatSignificant(low, 6), FormatSignificant(high, 6));
}

int ChooseKind(CreatRegForm& f, int index, const KindContext& ctx) {
    f.comp = f.regInt = f.pz = false;
    if (ctx.controllerCode == 15 && (index == 1 || index == 2)) index = -1;
    if (ctx.controllerCode == 13 && index == 2 && ctx.curRegIndex == 1) index = 1;
    f.kind = index;

    for (int k = 0; k < 6; ++k)
        f[Interval(k)] = f[Value(k)] = QStringLiteral("0");
    f[RegField::VhPZ] = QStringLiteral("0");
    f[RegField::AReg] = QStringLiteral("00");
    for (RegField r : {RegField::VhSP, RegField::NReg1, RegField::AdOUT1})
        f[r] = QStringLiteral("00");
    for (size_t i = 0; i < 6; ++i)
        f[OuterParams[i]] = f[InnerParams[i]] = QStringLiteral("00");
    f.cascadeCaption = false;

    const QString nextOutput = QString::number(ctx.curRegIndex + 1);
    if (index == 0 || index == 1) {
        f.comp = true;
        f[RegField::AdOUT] = nextOutput;
    }
    if (index >= 1 && index <= 4) {
        for (size_t i = 0; i < 6; ++i)
            f[OuterParams[i]] = DefaultText(Defaults[i]);
    } else if (index == 0) {
        f[RegField::OL] = DefaultText(TProgRegClass::DefaultOL);
        f[RegField::OH] = DefaultText(TProgRegClass::DefaultOH);
    }
    if (index == 2) {
        f.comp = f.regInt = true;
        f[RegField::VhSP] = f[RegField::NReg];
        f.cascadeCaption = true;
        f[RegField::AdOUT] = f[RegField::AdOUT1] = QString::number(ctx.curRegIndex + 2);
        f[RegField::NReg1] = f[RegField::AdOUT];
        for (size_t i = 0; i < 6; ++i)
            f[InnerParams[i]] = DefaultText(Defaults[i]);
    }
    if (index == 3) {
        f.comp = f.pz = true;
        f[RegField::VhPZ] = QString::number(ctx.curPZIndex + 1);
        f[RegField::NPZ] = f[RegField::VhPZ];
        f[RegField::AReg] = f[RegField::NReg];
        // The loop drives the DAC output of the new row; the output field is disabled here.
        f[RegField::AdOUT] = nextOutput;
    }
    f.outAction = 0;
    return index;
}

std::optional<QString> CheckEditRange(const QString& text, double high, double low, int kind) {
    if (text.isEmpty()) return InputErrorText;
    const auto v = ParseDecimal(text);
    if (!v) return InputErrorText;
    if (kind != 0 && !InRangeSingle(*v, low, high)) return OutOfRangeText(low, high);
    return std::nullopt;
}

std::optional<Refusal> CheckClose(const CreatRegForm& f, const CloseContext& ctx) {
    using F = RegField;
    const auto refuse = [](RegField field) { return std::optional<Refusal>(Refusal{field, InputErrorText}); };
    const int kind = f.kind;
    if (kind < 0 || kind > 3) return refuse(F::TReg);
    for (RegField r : {F::AnVh, F::VhSP, F::AdOUT})
        if (f[r].isEmpty()) return refuse(r);
    if (kind == 2) {
        const auto nReg = ParseWhole(f[F::NReg]);
        if (!nReg) return refuse(F::NReg);
        if (!WholeIn(f[F::AdOUT], 1, ctx.regCount) || *ParseWhole(f[F::AdOUT]) != *nReg + 1)
            return refuse(F::AdOUT);
        // The inner loop's type code names the outer loop by this field.
        if (ParseWhole(f[F::VhSP]) != nReg) return refuse(F::VhSP);
    }
    if (auto bad = CheckParams(f, OuterParams)) return bad;
    if (f[F::AReg].isEmpty()) return refuse(F::AReg);
    if (f.pz) {
        if (!WholeIn(f[F::VhPZ], 1, ctx.regCount)) return refuse(F::VhPZ);
        if (auto bad = CheckPoints(f, ctx)) return bad;
    }
    if (!WholeIn(f[F::AdOUT], 1, ctx.regCount)) return refuse(F::AdOUT);
    if (!WholeIn(f[F::AnVh], 1, ctx.anInCount)) return refuse(F::AnVh);
    if (f.regInt) {
        if (!WholeIn(f[F::AdOUT1], 1, ctx.regCount)) return refuse(F::AdOUT1);
        if (!WholeIn(f[F::AnVh1], 1, ctx.anInCount)) return refuse(F::AnVh1);
        if (auto bad = CheckParams(f, InnerParams)) return bad;
    }
    if (ctx.reg) {
        const RegField out = kind == 2 ? F::AdOUT1 : F::AdOUT;
        const auto output = ParseWhole(f[out]);
        const auto loop = ParseWhole(f[kind == 2 ? F::NReg1 : F::NReg]);
        if (!loop) return refuse(kind == 2 ? F::NReg1 : F::NReg);
        for (int i = 0; i < TProgRegClass::RegMaxCount; ++i) {
            if (ctx.reg->GetAnVh(i) == 0) continue;
            if (*output - 1 == ctx.reg->GetVyh(i) && *loop - 1 != i)
                return Refusal{out, QStringLiteral("Такой выход ЦАП уже использован")};
        }
    }
    return std::nullopt;
}

std::optional<int> PZStoredValue(double value, double span) {
    if (!(span > 0)) return std::nullopt;
    const double stored = std::trunc(value / span * PZScale);
    if (stored < -32768 || stored > 32767) return std::nullopt;
    return int(stored);
}

double PZShownValue(int stored, double span) {
    return stored * span / PZScale;
}
