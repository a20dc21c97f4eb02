#include "TextCodec.h"

#include <array>

namespace TextCodec {
namespace {

// Unicode of bytes 0x80..0xBF; 0x98 is unassigned. 0xC0..0xFF are А..я in order.
constexpr std::array<char16_t, 64> High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

QChar DecodeChar(uint8_t b) {
    if (b < 0x80) return QChar(b);
    if (b >= 0xC0) return QChar(char16_t(0x0410 + (b - 0xC0)));
    return QChar(High[b - 0x80]);
}

} // namespace

std::optional<uint8_t> TryEncodeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return uint8_t(u);
    if (u >= 0x0410 && u <= 0x044F) return uint8_t(0xC0 + (u - 0x0410));
    for (size_t i = 0; i < High.size(); ++i)
        if (High[i] == u && u != 0xFFFD) return uint8_t(0x80 + i);
    return std::nullopt;
}

uint8_t EncodeChar(QChar c) {
    return TryEncodeChar(c).value_or('?');
}

QString Decode(const uint8_t* bytes, int length) {
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text.append(DecodeChar(bytes[i]));
    return text;
}

QString Decode(const QByteArray& bytes) {
    return Decode(reinterpret_cast<const uint8_t*>(bytes.constData()), int(bytes.size()));
}

QByteArray Encode(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(char(EncodeChar(c)));
    return out;
}

void EncodePadded(const QString& text, uint8_t* out, int width) {
    const QByteArray encoded = Encode(text.left(width));
    for (int i = 0; i < width; ++i)
        out[i] = i < encoded.size() ? uint8_t(encoded[i]) : uint8_t(' ');
}

QString DecodeTrimmed(const uint8_t* bytes, int length) {
    int end = 0;
    while (end < length && bytes[end] != 0)
        ++end;
    while (end > 0 && bytes[end - 1] == ' ')
        --end;
    return Decode(bytes, end);
}

} // namespace TextCodec
