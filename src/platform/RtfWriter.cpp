#include "RtfWriter.h"

#include "TextCodec.h"

#include <array>
#include <cmath>

namespace {

// A4 in twips.
constexpr int kA4Short = 11906;
constexpr int kA4Long = 16838;

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

} // namespace

QByteArray RtfDocument(const QStringList& lines, const std::optional<PageSetup>& page) {
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
        if (page->landscape) out += "\\landscape";
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
