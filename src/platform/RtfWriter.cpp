#include "RtfWriter.h"

#include <array>
#include <cmath>

namespace {

// Windows-1251 bytes 0x80..0xBF; 0x98 is unassigned. 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

// A4 in twips.
constexpr int kA4Short = 11906;
constexpr int kA4Long = 16838;

int twips(float points) { return int(std::lround(points * 20.0f)); }

void appendText(QByteArray& out, const QString& text)
{
    static const char hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t ch = qc.unicode();
        if (ch == '\\' || ch == '{' || ch == '}') {
            out += '\\';
            out += char(ch);
        } else if (ch == '\t') {
            out += "\\tab ";
        } else if (ch < 0x20) {
            continue; // other control characters have no place in a table line
        } else if (ch < 0x80) {
            out += char(ch);
        } else if (const auto byte = ToCp1251(ch)) {
            out += "\\'";
            out += hex[*byte >> 4];
            out += hex[*byte & 0xF];
        } else {
            out += "\\u" + QByteArray::number(int(int16_t(ch))) + '?';
        }
    }
}

} // namespace

std::optional<unsigned char> ToCp1251(char16_t ch)
{
    if (ch < 0x80)
        return static_cast<unsigned char>(ch);
    if (ch >= 0x0410 && ch <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (ch - 0x0410));
    for (size_t i = 0; i < kCp1251High.size(); ++i)
        if (kCp1251High[i] != 0 && kCp1251High[i] == ch)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

QByteArray RtfDocument(const QStringList& lines, const std::optional<PageSetup>& page)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\fmodern\\fcharset204 Courier New;}}\r\n";
    if (page) {
        const int width = page->landscape ? kA4Long : kA4Short;
        const int height = page->landscape ? kA4Short : kA4Long;
        out += "\\paperw" + QByteArray::number(width) + "\\paperh" + QByteArray::number(height);
        out += "\\margl" + QByteArray::number(twips(page->leftMargin));
        out += "\\margr" + QByteArray::number(twips(page->rightMargin));
        out += "\\margt" + QByteArray::number(twips(page->topMargin));
        out += "\\margb" + QByteArray::number(twips(page->bottomMargin));
        if (page->landscape)
            out += "\\landscape";
        out += "\r\n";
    }
    out += "\\pard\\plain\\f0\\fs20\r\n";
    for (const QString& line : lines) {
        QString text = line;
        text.remove(QChar('\r'));
        for (const QString& piece : text.split(QChar('\n'))) {
            appendText(out, piece);
            out += "\\par\r\n";
        }
    }
    out += "}\r\n";
    return out;
}
