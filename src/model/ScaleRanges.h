#pragma once
// The standard scale ranges of each sensor type and the unit-name tables.

#include <QString>
#include <QStringList>
#include <span>

struct ScaleRange {
    double Min;
    double Max;
};

namespace ScaleRangeTable {

constexpr int KindCount = 16;

// The standard ranges of scale kind 0..15 (sensor type of a temperature input), in list order.
// Kind 9 has a free scale and no standard ranges; a kind out of range has none either.
std::span<const ScaleRange> Ranges(int kind);

// The text a range limit is shown and stored with ("-50", "1300").
QString LimitText(double limit);

} // namespace ScaleRangeTable

namespace UnitNameTables {

// "кПа", "кгС/см2", "атм", "бар".
const QStringList& PressureUnits();
// "мА", "мВ", "В".
const QStringList& SignalUnits();

} // namespace UnitNameTables
