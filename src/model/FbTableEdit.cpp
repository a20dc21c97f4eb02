#include "FbTableEdit.h"

#include "TCopyBlocksClass.h"
#include "TProgFBClass.h"
#include "TServClass.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace FbTable {

namespace {

constexpr int End = TProgFBClass::AlgEnd;
constexpr int FbKind = 1;
constexpr int ControllerWithRelays = 15; // slot-1 module code of a controller with relays
constexpr int MaxTime = 120;
constexpr int MaxFiveBits = 31; // hysteresis and counter set point

int InputCount(int type, int subtype) {
    return std::min(TProgFBClass::FBInputCount(type, subtype), FbTable::Inputs);
}

// Calls fn(kind, number) for every input of record i, the comparator's bytes 7..8 included; fn
// may change the number.
void ForEachInput(TProgFBClass& fb, int i, const std::function<void(int, int&)>& fn) {
    const int type = fb.GetType(i);
    if (type == TProgFBClass::TypeComparator) {
        int num = fb.GetIn8Num(i);
        fn(fb.GetIn8Kind(i), num);
        fb.SetIn8Num(i, num);
        return;
    }
    for (int j = 0; j < InputCount(type, fb.GetSubtype(i)); ++j) {
        int num = fb.GetInNum(i, j);
        fn(fb.GetInKind(i, j), num);
        fb.SetInNum(i, j, num);
    }
}

// Opens k cleared records at `at`: the records from there move up, those pushed past FBCount
// are dropped.
void OpenRecords(TProgFBClass& fb, int at, int k) {
    const int count = fb.FBCount - at - k;
    if (count > 0) fb.MoveRecords(at, at + k, count);
    for (int i = at; i < at + k && i < fb.FBCount; ++i)
        fb.ClearRecord(i);
}

void ClearSignallingFrom62(TProgFBClass& fb, int end) {
    for (int i = SignalledBlocks; i < end && i < fb.FBCount; ++i) {
        if (fb.GetType(i) == TProgFBClass::TypeCalc) continue;
        fb.SetSigTipS(i, 0);
        fb.SetSigNTabS(i, 0);
        fb.SetSigKont(i, 0);
    }
}

// Algorithm lists hold at most FBCount entries.
int ListLen(const TProgFBClass& fb) {
    return std::clamp(fb.FBCount, 0, int(TProgFBClass::Slots));
}
int AlgCount(const TProgFBClass& fb) {
    return std::clamp(fb.AlgTable.GetCount(), 0, int(TProgFBClass::Slots));
}

struct ListPos {
    int a = 0, j = 0;
};
std::optional<ListPos> Find(const TProgFBClass& fb, int number) {
    for (int a = 0; a < AlgCount(fb); ++a)
        for (int j = 0; j < ListLen(fb) && fb.AlgTable.GetEntry(a, j) != End; ++j)
            if (fb.AlgTable.GetEntry(a, j) == number) return ListPos{a, j};
    return std::nullopt;
}

// Every entry of every list that is at least `from` changes by `by`.
void ShiftEntries(TProgFBClass& fb, int from, int by) {
    for (int a = 0; a < AlgCount(fb); ++a)
        for (int j = 0; j < ListLen(fb); ++j)
            if (const int e = fb.AlgTable.GetEntry(a, j); e != End && e >= from)
                fb.AlgTable.SetEntry(a, j, e + by);
}

// Puts numbers first .. first + k − 1 at position j of list a; the entries from j move on.
void InsertEntries(TProgFBClass& fb, int a, int j, int first, int k) {
    const int len = ListLen(fb);
    for (int t = len - 1; t >= j + k; --t)
        fb.AlgTable.SetEntry(a, t, fb.AlgTable.GetEntry(a, t - k));
    for (int t = 0; t < k && j + t < len; ++t)
        fb.AlgTable.SetEntry(a, j + t, first + t);
}

void AppendEntries(TProgFBClass& fb, int a, int first, int k) {
    int j = 0;
    while (j < ListLen(fb) && fb.AlgTable.GetEntry(a, j) != End)
        ++j;
    InsertEntries(fb, a, j, first, k);
}

// k new numbers from `first` inserted before the block that had the number `first`: into its
// list at its place, or at the end of the previous list when it starts a later algorithm.
void InsertNumbersBefore(TProgFBClass& fb, int first, int k) {
    const std::optional<ListPos> at = Find(fb, first);
    ShiftEntries(fb, first, k);
    if (!at) return;
    if (at->j > 0 || at->a == 0)
        InsertEntries(fb, at->a, at->j, first, k);
    else
        AppendEntries(fb, at->a - 1, first, k);
}

void AppendToLastAlgorithm(TProgFBClass& fb, int first, int k) {
    if (AlgCount(fb) > 0) AppendEntries(fb, AlgCount(fb) - 1, first, k);
}

} // namespace

Limits Limits::Of(const TServClass& serv) {
    Limits l;
    l.discreteInputs = serv.GetDiscrInCount();
    l.analogueInputs = serv.GetAnInCount();
    l.ownInputs = serv.GetOwnInputCount();
    l.relayModules = serv.GetCntModMR();
    l.controllerRelays = serv.SlotModuleCodes[0] == ControllerWithRelays;
    return l;
}

int KindOfSource(int source) {
    return source == 3 ? 4 : source;
}

int SourceOfKind(int kind) {
    return kind == 4 ? 3 : (kind >= 0 && kind <= 2 ? kind : 0);
}

BlockValues ReadBlock(const TProgFBClass& fb, int i) {
    BlockValues v;
    v.type = fb.GetType(i);
    const int subtype = fb.GetSubtype(i);
    if (v.type == TProgFBClass::TypeTimer) v.timerType = subtype;
    if (v.type == TProgFBClass::TypeTrigger) v.trigger = subtype;
    v.timeUnit = fb.GetTimerDiskr(i);
    v.time = fb.GetTimeUst(i);
    v.hour = fb.GetAlarmHour(i);
    v.minute = fb.GetAlarmMin(i);
    v.second = fb.GetAlarmSec(i);
    v.x1Num = fb.GetX1Num(i);
    v.x1Src = fb.GetX1Src(i);
    v.limit = fb.GetCompUstText(i);
    v.condition = fb.GetCompCond(i);
    v.hysteresis = fb.GetCompHyst(i);
    v.countLimit = fb.GetCountUst(i);
    if (v.type == TProgFBClass::TypeComparator) {
        v.inType[0] = fb.GetIn8Type(i);
        v.inSource[0] = SourceOfKind(fb.GetIn8Kind(i));
        v.inNum[0] = fb.GetIn8Num(i);
    } else {
        for (int j = 0; j < InputCount(v.type, subtype); ++j) {
            v.inType[size_t(j)] = fb.GetInType(i, j);
            v.inSource[size_t(j)] = SourceOfKind(fb.GetInKind(i, j));
            v.inNum[size_t(j)] = fb.GetInNum(i, j);
        }
    }
    v.archive = fb.GetSigKont(i) != 0;
    return v;
}

BlockValues ApplyStoreRules(const TProgFBClass& fb, BlockValues v, const Limits& lim) {
    v.time = std::clamp(v.time, 0, MaxTime);
    v.hysteresis = std::clamp(v.hysteresis, 0, MaxFiveBits);
    v.countLimit = std::clamp(v.countLimit, 0, MaxFiveBits);
    const int x1Max = v.x1Src == 0 ? lim.analogueInputs : fb.ArithBlockCount;
    if (v.x1Num < 0 || v.x1Num > x1Max) v.x1Num = 0;

    const int built = fb.LogicFBCount;
    const int limit = fb.GetLogicFBLimit();
    for (int j = 0; j < InputCount(v.type, v.timerType); ++j) {
        int& num = v.inNum[size_t(j)];
        switch (KindOfSource(v.inSource[size_t(j)])) {
        case 0:
        case 4:
            if (num > lim.discreteInputs) num = 0;
            break;
        case 2:
            if (num > lim.analogueInputs) num = 0;
            break;
        case FbKind: {
            const bool notBuilt = num > built && num <= limit;
            const bool integrator = num > limit && num <= limit + fb.IntegratorCount;
            if (notBuilt || integrator || num > fb.KvuLimit()) num = 0;
            break;
        }
        default:
            break;
        }
        num = std::max(num, 0);
    }
    return v;
}

void StoreBlock(TProgFBClass& fb, int i, const BlockValues& v, bool edit) {
    if (edit && fb.GetType(i) != v.type)
        for (int k = 0; k <= 8; ++k)
            fb.SetRecByte(i, k, 0);
    fb.SetTypeByte(i, v.type);
    const bool timer = v.type == TProgFBClass::TypeTimer;
    const bool comparator = v.type == TProgFBClass::TypeComparator;
    if (timer) fb.SetSubtype(i, v.timerType);
    if (timer || comparator) {
        fb.SetTimerDiskr(i, v.timeUnit);
        fb.SetTimeUst(i, std::clamp(v.time, 0, MaxTime));
    }
    if (timer && v.timerType == 5) {
        fb.SetAlarmHour(i, v.hour);
        fb.SetAlarmMin(i, v.minute);
        fb.SetAlarmSec(i, v.second);
    }
    if (v.type == TProgFBClass::TypeTrigger) fb.SetSubtype(i, v.trigger);
    if (comparator) {
        fb.SetX1Num(i, v.x1Num);
        fb.SetX1Src(i, v.x1Src);
        fb.SetCompUstText(i, v.limit);
        fb.SetCompCond(i, v.condition);
        fb.SetCompHyst(i, std::clamp(v.hysteresis, 0, MaxFiveBits));
        fb.SetIn8Type(i, v.inType[0]);
        fb.SetIn8Kind(i, KindOfSource(v.inSource[0]));
        fb.SetIn8Num(i, v.inNum[0]);
    } else {
        for (int j = 0; j < InputCount(v.type, v.timerType); ++j) {
            fb.SetInType(i, j, v.inType[size_t(j)]);
            fb.SetInKind(i, j, KindOfSource(v.inSource[size_t(j)]));
            fb.SetInNum(i, j, v.inNum[size_t(j)]);
        }
    }
    if (v.type == TProgFBClass::TypeCounter) fb.SetCountUst(i, std::clamp(v.countLimit, 0, MaxFiveBits));
    fb.SetSigKont(i, v.archive ? 1 : 0);
}

bool InsertBlock(TProgFBClass& fb, int q, const BlockValues& v, Place place) {
    fb.RecountTable();
    const int n = fb.LogicFBCount;
    if (n + 1 > fb.GetLogicFBLimit() || q < 0 || q > n) return false;
    OpenRecords(fb, n, 1); // the calculation records first
    BlockValues own = v;
    if (q < n) {
        fb.FixFbRefsOnShift(q, 0, 0, n);
        for (int j = 0; j < InputCount(own.type, own.timerType); ++j)
            if (KindOfSource(own.inSource[size_t(j)]) == FbKind && own.inNum[size_t(j)] > q &&
                own.inNum[size_t(j)] <= n)
                ++own.inNum[size_t(j)];
    }
    StoreBlock(fb, q, own, false);
    if (place != Place::End) ClearSignallingFrom62(fb, n + 1);

    if (fb.AlgTable.GetCount() > 0) {
        const int number = q + 1;
        if (place == Place::End) {
            AppendToLastAlgorithm(fb, number, 1);
        } else if (place == Place::Before) {
            InsertNumbersBefore(fb, number, 1);
        } else {
            // After block q (number q): right behind it in its list.
            const std::optional<ListPos> at = Find(fb, q);
            ShiftEntries(fb, number, 1);
            if (at) InsertEntries(fb, at->a, at->j + 1, number, 1);
        }
        RecomputeAlgMarks(fb);
    }
    fb.RecountTable();
    return true;
}

int CopyChosen(const TProgFBClass& fb, TCopyBlocksClass& copy) {
    int count = 0;
    for (int i = 0; i < TCopyBlocksClass::FbSlots; ++i) {
        const bool chosen = i < fb.GetLogicFBLimit() && fb.EditorState.Chosen[size_t(i)] != 0;
        copy.SetFbCopyMark(i, chosen ? 1 : 0);
        if (!chosen) continue;
        ++count;
        const auto rec = fb.GetRecord(i);
        copy.FbRecords().Set(i, rec.data(), int(rec.size()));
    }
    copy.SetFbCopyCount(count);
    return count;
}

GroupResult InsertCopiedRun(TProgFBClass& fb, const TCopyBlocksClass& copy, int destination,
                            const Limits& lim) {
    fb.RecountTable();
    const int n = fb.LogicFBCount;
    const int limit = fb.GetLogicFBLimit();
    const int copySlots = std::min(fb.FBCount, int(TCopyBlocksClass::FbSlots));
    int f = 0;
    while (f < copySlots && !copy.GetFbCopyMark(f))
        ++f;
    if (f == copySlots) return GroupResult::NothingCopied;
    int l = f;
    while (l + 1 < copySlots && copy.GetFbCopyMark(l + 1))
        ++l;
    for (int i = l + 1; i < copySlots; ++i)
        if (copy.GetFbCopyMark(i)) return GroupResult::Gap;
    const int k = l - f + 1;
    const bool before = destination >= 0;
    const int d = before ? destination : n;
    if (before && d >= n) return GroupResult::NoTarget;
    if (limit - n < k) return GroupResult::NoRoom;

    OpenRecords(fb, n, k); // the calculation records first
    if (before && d < n) fb.FixFbRefsOnShift(d, f, l, n);
    for (int i = f; i <= l; ++i) {
        const int at = d + i - f;
        const QByteArray bytes = copy.FbRecords().Get(i);
        std::array<uint8_t, TProgFBClass::RecordLen> rec{};
        std::copy_n(reinterpret_cast<const uint8_t*>(bytes.constData()), rec.size(), rec.begin());
        fb.SetRecord(at, rec);
        ForEachInput(fb, at, [&](int kind, int& num) {
            if (kind == 0 && num > lim.discreteInputs) num = 0;
            if (kind != FbKind || num < 1 || num > limit) return;
            if (num >= f + 1 && num <= l + 1)
                num += d - f; // follows the copy
            else if (num > n)
                num = 0;
            else if (num > d)
                num += k;
            if (num > limit) num = 0;
        });
        if (fb.GetType(at) == TProgFBClass::TypeComparator && fb.GetX1Num(at) > lim.analogueInputs)
            fb.SetX1Num(at, 0);
        if (fb.GetSigNTabS(at) > lim.ownInputs) {
            fb.SetSigNTabS(at, 0);
            fb.SetSigTipS(at, 0);
        }
        for (int m = 0; m < 5; ++m) {
            const bool kept = m == 0 ? lim.controllerRelays || lim.relayModules > 0 : m < lim.relayModules;
            if (!kept) fb.SetB9Plus(at, m + 1, 0);
        }
    }
    ClearSignallingFrom62(fb, limit);

    if (fb.AlgTable.GetCount() > 0) {
        if (before)
            InsertNumbersBefore(fb, d + 1, k);
        else
            AppendToLastAlgorithm(fb, n + 1, k);
        RecomputeAlgMarks(fb);
    }
    fb.RecountTable();
    return GroupResult::Inserted;
}

void DeleteBlock(TProgFBClass& fb, int p) {
    fb.RecountTable();
    const int n = fb.LogicFBCount;
    if (p < 0 || p >= n) return;
    for (int i = 0; i < n; ++i)
        ForEachInput(fb, i, [&](int kind, int& num) {
            if (kind != FbKind) return;
            if (num == p + 1)
                num = 0;
            else if (num > p + 1 && num <= n)
                --num;
        });
    if (fb.FBCount - p - 1 > 0) fb.MoveRecords(p + 1, p, fb.FBCount - p - 1);
    fb.ClearRecord(fb.FBCount - 1);

    if (fb.AlgTable.GetCount() > 0) {
        const int len = ListLen(fb);
        if (const std::optional<ListPos> at = Find(fb, p + 1)) {
            for (int j = at->j; j < len; ++j)
                fb.AlgTable.SetEntry(at->a, j, j + 1 < len ? fb.AlgTable.GetEntry(at->a, j + 1) : End);
            if (fb.AlgTable.GetEntry(at->a, 0) == End) {
                const int count = AlgCount(fb);
                for (int a = at->a; a < count; ++a) {
                    const bool last = a + 1 >= count;
                    for (int j = 0; j < len; ++j)
                        fb.AlgTable.SetEntry(a, j, last ? End : fb.AlgTable.GetEntry(a + 1, j));
                    fb.SetFbText(a, last ? QString() : fb.GetFbText(a + 1));
                }
                fb.AlgTable.SetCount(count - 1);
            }
        }
        ShiftEntries(fb, p + 2, -1);
        RecomputeAlgMarks(fb);
    }
    fb.RecountTable();
}

void RecomputeAlgMarks(TProgFBClass& fb) {
    for (int b = 0; b < TProgFBClass::Slots; ++b)
        fb.AlgTable.SetMark(b, End);
    for (int a = 0; a < AlgCount(fb); ++a)
        if (const int first = fb.AlgTable.GetEntry(a, 0); first != End && first >= 1)
            fb.AlgTable.SetMark(first - 1, first);
}

} // namespace FbTable
