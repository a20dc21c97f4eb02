#pragma once
// The enumerations the scheme panels take, and the checked conversion of raw record values
// (from a device or a file) into them.

#include <array>
#include <optional>

enum TFBType { ftAND, ftANDInv, ftOR, ftORInv, ftGisterezis, ftTimer, ftTrigger, ftComparator, ftCounter };
enum InputType { itNormal, itInverse };
enum TimerType { T0, T1, T2, T3, T4, T5 };
enum TimerDiskr { tdms, tdsec, tdDecsec }; // hundreds of milliseconds, seconds, tens of seconds
enum TriggerType { ttRS, ttSR };
enum ComparatorCondition { ccL, ccH };
enum TRegType { rtPS, rtPID, rtPZ }; // repeater, PID loop, program set point
enum TTypeOut { toDirect, toInverse };
enum TTypeRFC { rfcNone, rfcFC }; // whether the loop panel carries the "FC" mark
// Connector shapes: zigzags 0..3 reach inputs 4..1 of the next block panel; 6 joins a cascade's
// outer loop mark to the inner loop, 8 a program set point mark to its loop.
enum ShapeZType {
    stZigzag0 = 0,
    stZigzag1 = 1,
    stZigzag2 = 2,
    stZigzag3 = 3,
    stCascade = 6,
    stProgramSP = 8
};

// The members of each enumeration, first member first.
template <class E> inline constexpr std::array<E, 0> kEnumMembers{};
template <>
inline constexpr std::array kEnumMembers<TFBType>{ftAND,   ftANDInv,  ftOR,         ftORInv,  ftGisterezis,
                                                  ftTimer, ftTrigger, ftComparator, ftCounter};
template <> inline constexpr std::array kEnumMembers<InputType>{itNormal, itInverse};
template <> inline constexpr std::array kEnumMembers<TimerType>{T0, T1, T2, T3, T4, T5};
template <> inline constexpr std::array kEnumMembers<TimerDiskr>{tdms, tdsec, tdDecsec};
template <> inline constexpr std::array kEnumMembers<TriggerType>{ttRS, ttSR};
template <> inline constexpr std::array kEnumMembers<ComparatorCondition>{ccL, ccH};
template <> inline constexpr std::array kEnumMembers<TRegType>{rtPS, rtPID, rtPZ};
template <> inline constexpr std::array kEnumMembers<TTypeOut>{toDirect, toInverse};
template <> inline constexpr std::array kEnumMembers<TTypeRFC>{rfcNone, rfcFC};
template <>
inline constexpr std::array kEnumMembers<ShapeZType>{stZigzag0, stZigzag1, stZigzag2,
                                                     stZigzag3, stCascade, stProgramSP};

// The member whose value is raw, or nothing when raw names no member.
template <class E> constexpr std::optional<E> EnumFromRaw(int raw) {
    for (E member : kEnumMembers<E>)
        if (static_cast<int>(member) == raw) return member;
    return std::nullopt;
}

// The member whose value is raw, or the enumeration's first member when raw names none.
// The panels pass every value they are given through this, so a cast of a bad number
// cannot index past their tables.
template <class E> constexpr E EnumFromRawOrFirst(int raw) {
    return EnumFromRaw<E>(raw).value_or(kEnumMembers<E>.front());
}

// The block type of a function-block record's type code (1..9); nothing for other codes.
constexpr std::optional<TFBType> FBTypeFromCode(int typeCode) {
    return EnumFromRaw<TFBType>(typeCode - 1);
}
