#include "RtfWriter.h"

#include "TextCodec.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A4 in twips.
constexpr int kA4Short = 11906;
constexpr int kA4Long = 16838;

// Font sizes in half points: the largest, the smallest, and the least an upright page must allow.
constexpr int kLargestSize = 20;
constexpr int kSmallestSize = 12;
constexpr int kUprightSize = 16;

// A character of the monospaced font is 0.6 of its size wide: 6 twips for each half point.
constexpr int kTwipsPerHalfPoint = 6;

int twips(float points) {
    return int(std::lround(points * 20.0f));
}

void appendText(QByteArray& out, const QString& text) {
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
        } else if (const auto byte = TextCodec::TryEncodeChar(qc)) {
            out += "\\'";
            out += hex[*byte >> 4];
            out += hex[*byte & 0xF];
        } else {
            out += "\\u" + QByteArray::number(int(int16_t(ch))) + '?';
        }
    }
}

// The paragraphs of the lines: carriage returns dropped, a line feed starts a new one.
QStringList paragraphs(const QStringList& lines) {
    QStringList pieces;
    for (const QString& line : lines) {
        QString text = line;
        text.remove(QChar('\r'));
        pieces += text.split(QChar('\n'));
    }
    return pieces;
}

// The width between the margins, in twips.
int printableWidth(const PageSetup& page) {
    return (page.landscape ? kA4Long : kA4Short) - twips(page.leftMargin) - twips(page.rightMargin);
}

bool fits(int columns, int halfPoints, const PageSetup& page) {
    return columns * halfPoints * kTwipsPerHalfPoint <= printableWidth(page);
}

} // namespace

int LineColumns(const QString& line) {
    int column = 0;
    int end = 0; // the column after the last character that is not a blank
    for (const QChar qc : line) {
        if (qc == QChar('\t')) {
            column = NextTabStop(column);
        } else if (qc.unicode() < 0x20) {
            continue; // not written
        } else {
            ++column;
            if (qc == QChar(' ')) continue;
        }
        end = column;
    }
    return end;
}

QByteArray RtfDocument(const QStringList& lines, const std::optional<PageSetup>& page) {
    const QStringList pieces = paragraphs(lines);
    int widest = 0;
    for (const QString& piece : pieces)
        widest = std::max(widest, LineColumns(piece));
    const PageSetup upright{false, kTableMargin, kTableMargin, kTableMargin, kTableMargin};
    PageSetup chosen = page.value_or(upright);
    if (!page && !fits(widest, kUprightSize, upright)) chosen.landscape = true;
    int size = kLargestSize;
    while (size > kSmallestSize && !fits(widest, size, chosen))
        --size;

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\fmodern\\fcharset204 Courier New;}}";
    out += "\\deftab" + QByteArray::number(kTabColumns * size * kTwipsPerHalfPoint) + "\r\n";
    out += "\\paperw" + QByteArray::number(chosen.landscape ? kA4Long : kA4Short);
    out += "\\paperh" + QByteArray::number(chosen.landscape ? kA4Short : kA4Long);
    out += "\\margl" + QByteArray::number(twips(chosen.leftMargin));
    out += "\\margr" + QByteArray::number(twips(chosen.rightMargin));
    out += "\\margt" + QByteArray::number(twips(chosen.topMargin));
    out += "\\margb" + QByteArray::number(twips(chosen.bottomMargin));
    if (chosen.landscape) out += "\\landscape";
    out += "\r\n";
    out += "\\pard\\plain\\f0\\fs" + QByteArray::number(size) + "\r\n";
    for (const QString& piece : pieces) {
        appendText(out, piece);
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}
