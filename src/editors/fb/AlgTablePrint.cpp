#include "AlgTablePrint.h"

#include <array>

namespace {

const QString kTab = QStringLiteral("\t");
const QString kLineFeed = QStringLiteral("\n");

constexpr std::array<int, 7> kBlockWidths{3, 8, 27, 15, 15, 15, 15};
constexpr int kBlockTypeColumn = 2;
constexpr int kShortBlockType = 6;
constexpr std::array<int, 3> kAlgWidths{4, 100, 150};
constexpr int kAlgNameColumn = 1;
// A name gets one tab for each of these lengths it stays below.
constexpr std::array<int, 10> kAlgNameTabLimits{100, 98, 71, 62, 53, 44, 35, 26, 17, 9};

QStringList Head(const QString& title, const QString& subtitle) {
    return {title, kLineFeed, QString(10, QChar(' ')) + subtitle, kLineFeed};
}

// The text followed by blanks up to one past the width; a longer text stays as it is.
QString Padded(const QString& text, int width) {
    const qsizetype pad = width - text.size();
    return pad >= 0 ? text + QString(pad + 1, QChar(' ')) : text;
}

QString Cell(const QStringList& row, int c) {
    return row.value(c);
}

} // namespace

QStringList BlockTableLines(const QString& title, const QString& subtitle,
                            const std::vector<QStringList>& rows) {
    QStringList lines = Head(title, subtitle);
    for (size_t r = 0; r < rows.size(); ++r) {
        QStringList cells;
        for (int c = 0; c < int(kBlockWidths.size()); ++c) {
            const QString text = Cell(rows[r], c);
            QString cell = Padded(text, kBlockWidths[size_t(c)]);
            if (c == kBlockTypeColumn && text.size() < kShortBlockType) cell += kTab;
            cells << cell;
        }
        if (r == 2) lines << kLineFeed;
        lines << cells.join(kTab);
    }
    return lines;
}

QStringList AlgorithmTableLines(const QString& title, const QString& subtitle,
                                const std::vector<QStringList>& rows) {
    QStringList lines = Head(title, subtitle);
    for (const QStringList& row : rows) {
        std::array<QString, 3> cells;
        for (int c = 0; c < int(kAlgWidths.size()); ++c) {
            QString text = Cell(row, c);
            const int width = kAlgWidths[size_t(c)];
            // A name too long is cut to the width and gets no blanks.
            const bool cut = c == kAlgNameColumn && text.size() > width;
            if (cut) text.truncate(width);
            QString cell = cut ? text : Padded(text, width);
            if (c == kAlgNameColumn)
                for (int limit : kAlgNameTabLimits)
                    if (text.size() < limit) cell += kTab;
            cells[size_t(c)] = cell;
        }
        lines << cells[0] + kTab + cells[1] + cells[2];
    }
    return lines;
}
