#pragma once
// The decimal numbers every window shows and takes: a decimal comma on output, a comma or a
// point on input.

#include <QString>
#include <optional>

// Fixed notation with the given number of decimals: FormatFixed(0.1, 2) == "0,10".
QString FormatFixed(double value, int decimals);

// At most `digits` significant digits, trailing zeros cut, no exponent for the magnitudes a
// device value can have: FormatSignificant(0.1f, 5) == "0,1".
QString FormatSignificant(double value, int digits);

// A decimal number with an optional sign, a comma or a point and blanks around it; nothing else.
std::optional<double> ParseDecimal(const QString& text);

// Range checks compare in single precision, so that a typed "0,1" equals the stored 0,1.
bool InRangeSingle(double value, double low, double high);
