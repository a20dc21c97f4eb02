#include "Float24.h"

#include "NumberText.h"

#include <cmath>
#include <limits>

namespace Float24 {

float ToFloat(const uint8_t* bytes) {
    const int16_t mantissa = int16_t(uint16_t(bytes[0] | (bytes[1] << 8)));
    const int exponent = int8_t(bytes[2]);
    return std::ldexp(float(mantissa), exponent - 15);
}

bool FromFloat(float value, uint8_t* bytes) {
    if (!std::isfinite(value)) return false;
    int exponent = 0;
    const double fraction = std::frexp(double(value), &exponent); // value = fraction × 2^exponent
    long mantissa = std::lround(fraction * 32768.0);
    if (mantissa == 32768) { // rounded up to 1.0: renormalise
        mantissa = 16384;
        ++exponent;
    } else if (mantissa == -32768) { // −1.0 is kept as −0.5 × 2^(e+1), the canonical form
        mantissa = -16384;
        ++exponent;
    }
    if (mantissa == 0 || exponent < -128) {
        bytes[0] = bytes[1] = bytes[2] = 0;
        return true;
    }
    if (exponent > 127) return false;
    const uint16_t m = uint16_t(int16_t(mantissa));
    bytes[0] = uint8_t(m & 0xFF);
    bytes[1] = uint8_t(m >> 8);
    bytes[2] = uint8_t(int8_t(exponent));
    return true;
}

QString ToText(const uint8_t* bytes) {
    return ValueText(ToFloat(bytes));
}

QString ValueText(float value) {
    // The shortest text that reads back as the same number: 0,1 rather than 0,099998.
    uint8_t held[Size];
    if (!FromFloat(value, held)) return FormatSignificant(value, 9);
    const float shown = ToFloat(held);
    uint8_t again[Size];
    for (int digits = 1; digits <= 7; ++digits) {
        const QString text = FormatSignificant(shown, digits);
        if (FromText(text, again) && again[0] == held[0] && again[1] == held[1] && again[2] == held[2])
            return text;
    }
    return FormatSignificant(shown, 9);
}

bool FromText(const QString& text, uint8_t* bytes) {
    const std::optional<double> value = ParseDecimal(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max())) return false;
    return FromFloat(float(*value), bytes);
}

} // namespace Float24
