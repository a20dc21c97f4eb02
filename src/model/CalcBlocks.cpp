#include "CalcBlocks.h"

#include "Float24.h"
#include "TProgFBClass.h"

#include <algorithm>

namespace CalcBlocks {

namespace {

constexpr int ResultAfterC2 = 1; // CalcByte selector of byte 9
constexpr int ResultAfterX2 = 2; // CalcByte selector of byte 6
constexpr int LastWithC2 = 2;    // add and subtract keep C2 and Y in byte 9

int CountNonZero(const IntegratorValues& v, int from) {
    return int(std::count_if(v.numbers.begin() + from, v.numbers.begin() + from + IntegratorInputs,
                             [](int n) { return n != 0; }));
}

bool ConstantTextOk(const QString& text) {
    uint8_t bytes[Float24::Size] = {};
    return Float24::FromText(text, bytes);
}

} // namespace

int IntegratorOffset(const TProgFBClass& fb) {
    return fb.IntegratorCount != 0 ? 2 : 0;
}

int ArithIndex(const TProgFBClass& fb, int k) {
    return fb.LogicFBCount + IntegratorOffset(fb) + k;
}

int OperationAt(const TProgFBClass& fb, int i) {
    if (fb.GetType(i) != TProgFBClass::TypeCalc) return 0;
    const int op = fb.GetCalcOp(i);
    return op >= FirstOperation && op <= LastOperation ? op : 0;
}

QString OperationSign(int op) {
    static const std::array<QString, LastOperation + 1> signs = {QString(),           QStringLiteral("+"),
                                                                 QStringLiteral("-"), QStringLiteral("X"),
                                                                 QStringLiteral(":"), QStringLiteral("SQRT")};
    return op >= FirstOperation && op <= LastOperation ? signs[size_t(op)] : QString();
}

bool HasX2(int op) {
    return op < LastOperation;
}

bool HasC2(int op) {
    return op <= LastWithC2;
}

int ResultOf(const TProgFBClass& fb, int i) {
    return fb.GetCalcByte(i, HasC2(fb.GetCalcOp(i)) ? ResultAfterC2 : ResultAfterX2);
}

void SetResultOf(TProgFBClass& fb, int i, int y) {
    fb.SetCalcByte(i, HasC2(fb.GetCalcOp(i)) ? ResultAfterC2 : ResultAfterX2, y);
}

Refusal CheckAction(const TProgFBClass& fb, int action) {
    const int used = fb.LogicFBCount + IntegratorOffset(fb) + fb.ArithBlockCount;
    const bool creating = action == CreateIntegrators || action == CreateArith;
    // New integrators need two records.
    const int needed = action == CreateIntegrators && fb.IntegratorCount == 0 ? 2 : 1;
    if (creating && used + needed > fb.FBCount) return Refusal::TableFull;
    if (action == CreateIntegrators && fb.IntegratorCount != 0) return Refusal::IntegratorsExist;
    if (action == CreateArith && fb.ArithBlockCount >= MaxArithBlocks) return Refusal::ArithFull;
    if (action == EditIntegrators && fb.IntegratorCount == 0) return Refusal::NoIntegrators;
    if (action == EditArith && fb.ArithBlockCount == 0) return Refusal::NoArith;
    return Refusal::None;
}

QString RefusalText(Refusal r) {
    switch (r) {
    case Refusal::None:
        return {};
    case Refusal::TableFull:
        return QStringLiteral("Все функциональные блоки созданы");
    case Refusal::IntegratorsExist:
        return QStringLiteral("Интеграторы расхода уже созданы.\nВоспользуйтесь меню Программирование");
    case Refusal::ArithFull:
        return QStringLiteral("Арифметические блоки уже созданы.\nВоспользуйтесь меню Программирование");
    case Refusal::NoIntegrators:
        return QStringLiteral("Интеграторы расхода не созданы.\nВоспользуйтесь меню Создание");
    case Refusal::NoArith:
        return QStringLiteral("Арифметические блоки не созданы.\nВоспользуйтесь меню Создание");
    }
    return {};
}

IntegratorValues ReadIntegrators(const TProgFBClass& fb) {
    IntegratorValues v;
    const int first = fb.LogicFBCount;
    for (int j = 0; j < IntegratorInputs; ++j) {
        v.numbers[size_t(j)] = fb.GetIntegrNum(first, j);
        v.numbers[size_t(IntegratorInputs + j)] = fb.GetIntegrNum(first + 1, j);
    }
    v.dayStartHour = fb.GetDayStartHour(first);
    return v;
}

bool StoreIntegrators(TProgFBClass& fb, const IntegratorValues& v, bool create) {
    const int first = fb.LogicFBCount;
    const int u1 = CountNonZero(v, 0);
    const int u2 = CountNonZero(v, IntegratorInputs);
    if (create) {
        if (fb.IntegratorCount != 0 || u1 + u2 == 0 || first + 2 + fb.ArithBlockCount > fb.FBCount)
            return false;
        fb.MoveRecords(first, first + 2, fb.FBCount - 2 - first);
        fb.ClearRecord(first);
        fb.ClearRecord(first + 1);
    } else if (fb.IntegratorCount == 0 || first + 2 > fb.FBCount) {
        return false;
    }
    for (int r = 0; r < 2; ++r) {
        const int i = first + r;
        const bool used = (r == 0 ? u1 : u2) != 0;
        fb.SetTypeByte(i, used ? TProgFBClass::TypeCalc : 0);
        for (int j = 0; j < IntegratorInputs; ++j)
            fb.SetIntegrNum(i, j, v.numbers[size_t(r * IntegratorInputs + j)]);
        fb.SetB13(i, r == 1 && used ? IntegratorMark : 0);
        fb.SetDayStartHour(i, v.dayStartHour);
    }
    // Integrator 2 alone keeps integrator 1 as an empty calculation record, so both stay in place.
    if (u2 != 0 && u1 == 0) fb.SetTypeByte(first, TProgFBClass::TypeCalc);
    if (!create && u1 + u2 == 0) {
        fb.MoveRecords(first + 2, first, fb.FBCount - 2 - first);
        fb.ClearRecord(fb.FBCount - 2);
        fb.ClearRecord(fb.FBCount - 1);
    }
    fb.RecountTable();
    return true;
}

ArithValues ReadArith(const TProgFBClass& fb, int i) {
    ArithValues v;
    v.op = OperationAt(fb, i);
    const int op = fb.GetCalcOp(i);
    v.x1Src = fb.GetX1SrcCalc(i);
    v.x1Num = fb.GetX1NumCalc(i);
    v.c1 = fb.GetConstText(i, 1);
    if (HasX2(op)) {
        v.x2Src = fb.GetX2Src(i);
        v.x2Num = fb.GetX2Num(i);
    }
    v.c2 = HasC2(op) ? fb.GetConstText(i, 2) : QString();
    v.y = ResultOf(fb, i);
    return v;
}

bool StoreArith(TProgFBClass& fb, int i, const ArithValues& v, bool create) {
    if (v.op < FirstOperation || v.op > LastOperation || i < 0 || i >= fb.FBCount) return false;
    const int first = ArithIndex(fb, 0);
    const bool slotOk = create ? fb.ArithBlockCount < MaxArithBlocks && i == first + fb.ArithBlockCount
                               : i >= first && i < first + fb.ArithBlockCount;
    if (!slotOk || !ConstantTextOk(v.c1) || (HasC2(v.op) && !ConstantTextOk(v.c2))) return false;
    fb.SetTypeByte(i, TProgFBClass::TypeCalc | v.op << 4);
    fb.SetX1SrcCalc(i, v.x1Src);
    fb.SetX1NumCalc(i, v.x1Num);
    fb.SetConstText(i, 1, v.c1);
    fb.SetCalcByte(i, ResultAfterX2, v.y);
    if (HasX2(v.op)) {
        fb.SetX2Src(i, v.x2Src);
        fb.SetX2Num(i, v.x2Num);
    }
    if (HasC2(v.op)) {
        fb.SetConstText(i, 2, v.c2);
        fb.SetCalcByte(i, ResultAfterC2, v.y);
    }
    fb.RecountTable();
    return true;
}

DeleteResult DeleteArith(TProgFBClass& fb, int k) {
    DeleteResult r;
    const int first = ArithIndex(fb, 0);
    const int del = first + k;
    if (k < 0 || k >= MaxArithBlocks || del >= fb.FBCount || OperationAt(fb, del) == 0) return r;
    const int last = std::min(first + fb.ArithBlockCount, fb.FBCount) - 1;
    const int deletedY = ResultOf(fb, del);
    const auto follow = [deletedY](int n) { return n == deletedY ? 0 : n > deletedY ? n - 1 : n; };
    for (int i = first; i <= last; ++i) {
        const int op = OperationAt(fb, i);
        if (op == 0) continue;
        if (fb.GetX1SrcCalc(i)) fb.SetX1NumCalc(i, follow(fb.GetX1NumCalc(i)));
        if (HasX2(op) && fb.GetX2Src(i)) fb.SetX2Num(i, follow(fb.GetX2Num(i)));
    }
    for (int i = 0; i < fb.LogicFBCount; ++i) {
        if (fb.GetType(i) != TProgFBClass::TypeComparator) continue;
        r.comparatorPresent = true;
        if (fb.GetX1Src(i)) fb.SetX1Num(i, follow(fb.GetX1Num(i)));
    }
    for (int i = del; i <= last; ++i)
        if (OperationAt(fb, i) != 0) SetResultOf(fb, i, std::max(ResultOf(fb, i) - 1, 0));
    for (int i = del; i <= last; ++i) {
        if (i + 1 <= last && OperationAt(fb, i + 1) != 0)
            fb.SetRecord(i, fb.GetRecord(i + 1));
        else
            fb.ClearRecord(i);
    }
    fb.RecountTable();
    r.deleted = true;
    return r;
}

std::array<QString, MaxArithBlocks> OverviewCaptions(const TProgFBClass& fb) {
    std::array<QString, MaxArithBlocks> captions;
    if (fb.ArithBlockCount == 0) return captions;
    for (int k = 0; k < MaxArithBlocks; ++k)
        if (const int i = ArithIndex(fb, k); i < fb.FBCount)
            captions[size_t(k)] = OperationSign(OperationAt(fb, i));
    return captions;
}

} // namespace CalcBlocks
