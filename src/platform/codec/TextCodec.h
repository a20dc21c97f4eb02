#pragma once
// Texts in records and blocks are single-byte Windows-1251, blank padded (or zero filled).

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace TextCodec {

QString Decode(const uint8_t* bytes, int length);
QString Decode(const QByteArray& bytes);

// A character Windows-1251 lacks becomes '?'.
QByteArray Encode(const QString& text);
uint8_t EncodeChar(QChar c);
// The Windows-1251 byte of a character, nothing when the code page lacks it.
std::optional<uint8_t> TryEncodeChar(QChar c);

// Writes the text into exactly `width` bytes: cut when longer, blank padded when shorter.
void EncodePadded(const QString& text, uint8_t* out, int width);

// Decodes a text field of `length` bytes from the device or a file: the text ends at the
// first zero byte (a zero-filled field is empty), then loses its trailing blanks.
QString DecodeTrimmed(const uint8_t* bytes, int length);

} // namespace TextCodec
