#include "AnalogRows.h"

#include "AnalogLists.h"
#include "Configuration.h"
#include "NumberText.h"
#include "RtfWriter.h"

#include <algorithm>

namespace AnalogRows {

namespace {

constexpr int FreeScaleKind = 9;

bool FreeScaleOf(int code, int row, int kind) {
    return IsController(code) && row < 2 && kind == FreeScaleKind;
}

// The columns at which the cells of a tab-separated heading start.
std::vector<int> CellColumns(const QString& heading) {
    std::vector<int> columns;
    int column = 0;
    bool inCell = false;
    for (const QChar c : heading) {
        if (c == QLatin1Char('\t')) {
            column = NextTabStop(column);
            inCell = false;
            continue;
        }
        if (!inCell) columns.push_back(column);
        inCell = true;
        ++column;
    }
    return columns;
}

// The start column of every column of a table whose rows are cells joined by tabs: each at least
// where the given columns put it, and at the first tab stop past the longest cell before it.
std::vector<int> TableColumns(const std::vector<QStringList>& rows, std::vector<int> columns) {
    for (size_t c = 1; c < columns.size(); ++c)
        for (const QStringList& cells : rows)
            columns[c] =
                std::max(columns[c], NextTabStop(columns[c - 1] + int(cells.value(qsizetype(c) - 1).size())));
    return columns;
}

// The cells joined by as many tabs as bring each to its column.
QString CellsAtColumns(const QStringList& cells, const std::vector<int>& columns) {
    QString line;
    int column = 0;
    for (qsizetype i = 0; i < cells.size() && i < qsizetype(columns.size()); ++i) {
        while (column < columns[size_t(i)]) {
            line += QLatin1Char('\t');
            column = NextTabStop(column);
        }
        line += cells[i];
        column += int(cells[i].size());
    }
    return line;
}

} // namespace

bool IsController(int code) {
    return code == 13 || code == 15;
}

RowLayout OpeningLayout(int row, int kind) {
    if (row >= 2) return {SkItems::ScaleLaws, TInpItems::Current, false, true};
    return {SkItems::Sensors, kind >= 7 ? TInpItems::Wiring : TInpItems::Hidden, kind != FreeScaleKind,
            false};
}

RowLayout ReplacementLayout(int code, int row, int kind) {
    switch (code) {
    case 6:
        return {SkItems::ScaleLaws, TInpItems::Pressure, false, false};
    case 9:
        return {SkItems::ScaleLaws, TInpItems::Current, false, false};
    case 7:
        return {SkItems::ScaleLaws, TInpItems::Hidden, false, false};
    case 8:
        return {SkItems::Sensors, TInpItems::Hidden, kind != FreeScaleKind, false};
    default:
        return OpeningLayout(row, kind);
    }
}

bool ReplacementShowsInputHeading(int code) {
    return code == 6 || code == 9;
}

QStringList Items(SkItems items) {
    return items == SkItems::Sensors ? ItemList(kSensorTypeNames) : ItemList(kScaleLawNames);
}

QStringList Items(TInpItems items) {
    switch (items) {
    case TInpItems::Wiring:
        return ItemList(kSensorWiringNames);
    case TInpItems::Pressure:
        return ItemList(kPressureInputNames);
    case TInpItems::Current:
        return ItemList(kCurrentInputNames);
    default:
        return {};
    }
}

QString RowHint(int m0, int row) {
    const int n = m0 * 6 + row + 1;
    return QStringLiteral("номер аналогового сигнала в базе %1 (адрес 0x%2)")
        .arg(n)
        .arg(QString::number(n - 1, 16).toUpper().rightJustified(2, QLatin1Char('0')));
}

int ValidatedRows(int code) {
    return std::min(IsController(code) ? 4 : 6, Rows);
}

std::vector<ScaleFinding> CheckScales(int code, const std::array<int, Rows>& kinds,
                                      const std::array<ScaleTexts, Rows>& texts) {
    const int rows = ValidatedRows(code);
    std::vector<ScaleFinding> found;
    for (int c = 0; c < rows; ++c) {
        if (!FreeScaleOf(code, c, kinds[size_t(c)])) continue;
        const ScaleTexts& t = texts[size_t(c)];
        if (t.nsk.isEmpty() || t.vsk.isEmpty())
            return {{ScaleFinding::EmptyFreeLimit, c, t.nsk.isEmpty() ? 0 : 1}};
    }
    // A controller's current rows carry no limits the validation judges.
    const int judged = IsController(code) ? 2 : rows;
    for (int c = 0; c < judged; ++c) {
        const ScaleTexts& t = texts[size_t(c)];
        const bool free = FreeScaleOf(code, c, kinds[size_t(c)]);
        const QString& minText = free ? t.nsk : t.minSk;
        const QString& maxText = free ? t.vsk : t.maxSk;
        if (!free && (minText.isEmpty() || maxText.isEmpty())) {
            found.push_back({ScaleFinding::EmptyStandardLimit, c, minText.isEmpty() ? 0 : 1});
            return found;
        }
        const double span = ParseDecimal(maxText).value_or(0) - ParseDecimal(minText).value_or(0);
        if (span <= 0) found.push_back({ScaleFinding::BadSpan, c, 1});
    }
    return found;
}

void SaveModuleReserve(TConfiguration& cfg, int m0) {
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        cfg.Reserv.ModuleImages().SetByte(m0, k, cfg.MBA.GetModuleByte(m0, k));
}

void RestoreModuleReserve(TConfiguration& cfg, int m0) {
    for (int k = 0; k < TProgMBAClass::RecordSize; ++k)
        cfg.MBA.SetModuleByte(m0, k, cfg.Reserv.ModuleImages().GetByte(m0, k));
    for (int m = 0; m < TProgMBAClass::ModuleCount; ++m)
        cfg.MBA.SetModuleType(m, cfg.Reserv.GetModuleType(m));
}

QStringList ModuleBaseLines(const QString& title, const QString& labMod, const QString& labTMod,
                            const QString& labN, int code, const std::vector<PrintRow>& rows) {
    const QString T = QStringLiteral("\t");
    const QString TT = QStringLiteral("\t\t");
    QStringList lines{title, QString(), QStringLiteral("          ") + labMod + T + labTMod + T + T + T,
                      T + T + T + T + labN, QString()};
    // A controller's rows take the layout with the input-signal column.
    const bool withInput = code == 6 || code == 9 || IsController(code);
    if (!withInput && code != 7 && code != 8) return lines;
    const QString setPoints = QStringLiteral("уставка\t\tуставка\t\tуставка\t\tуставка");
    const QString levels = QStringLiteral("  LL\t\t  L\t\t  H\t\t  HH");
    if (withInput) {
        lines << QStringLiteral("№\tтехнолог\t\tвходной\t\tшкала\t\tразм.\tmin\tmax\t\t") + setPoints
              << QStringLiteral("входа\tпозиция\t\tсигнал\t\t\t\t\tшкалы\tшкалы\t\t") + levels;
    } else {
        lines << QStringLiteral("№\tтехнолог\t\tшкала\t\tразм.\t\tmin\tmax\t\t") + setPoints
              << QStringLiteral("входа\tпозиция\t\t\t\t\t\tшкалы\tшкалы\t\t") + levels;
    }
    if (IsController(code)) {
        // The rows as the window shows them: the input signal where the row has one, the limits
        // of the controls the row shows. The headings' cells, and each value under its heading;
        // a column moves right where a longer text before it needs the room.
        std::vector<QStringList> table{
            {"№", "технолог", "входной", "шкала", "разм.", "min", "max", "уставка", "уставка", "уставка",
             "уставка"},
            {"входа", "позиция", "сигнал", "", "", "шкалы", "шкалы", "  LL", "  L", "  H", "  HH"}};
        for (int r = 0; r < int(rows.size()); ++r) {
            const PrintRow& row = rows[size_t(r)];
            const RowLayout layout = OpeningLayout(r, row.kind);
            const bool standard = layout.standardRange;
            table.push_back({QString::number(r + 1), row.poz,
                             layout.tinp == TInpItems::Hidden ? QString() : row.tinp, row.sk, row.razm,
                             standard ? row.minSk : row.nsk, standard ? row.maxSk : row.vsk, row.ll, row.l,
                             row.h, row.hh});
        }
        const std::vector<int> columns = TableColumns(table, CellColumns(lines[5]));
        lines.resize(5);
        for (const QStringList& cells : table)
            lines << CellsAtColumns(cells, columns);
        return lines;
    }
    int r = 0;
    for (const PrintRow& row : rows) {
        const bool standard = code == 8 && row.kind != 9 && row.kind != 14 && row.kind != 15;
        const QString& min = standard ? row.minSk : row.nsk;
        const QString& max = standard ? row.maxSk : row.vsk;
        QString line = QString::number(++r) + T + row.poz;
        if (code == 6)
            line += TT + row.tinp + T + row.sk + TT + row.razm + T + min + T + max;
        else if (code == 9)
            line += TT + row.tinp + TT + row.sk + TT + row.razm + T + min + T + max;
        else
            line += TT + row.sk + TT + row.razm + TT + min + T + max;
        line += TT + row.ll + TT + row.l + TT + row.h + TT + row.hh;
        lines << line;
    }
    return lines;
}

} // namespace AnalogRows
