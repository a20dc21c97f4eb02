#include "ScalingKit.h"

#include "Configuration.h"
#include "LocalNetwork.h"

#include <algorithm>

namespace Scaling {

BlockRows RowsOf(const TConfiguration& cfg, int i) {
    const int n = cfg.MBM.GetKolVh(i);
    const int s = cfg.MBM.GetStAddrBeg2(i) - cfg.Serv.GetGroup6FChannels();
    if (n <= 0 || s < 0 || s + n > Rows) return {};
    return {s, n};
}

int SentGroups(const TConfiguration& cfg) {
    return std::clamp(TProgMBMClass::GroupCount - cfg.Serv.GetCntMod6F(), 0, TProgMBMClass::GroupCount);
}

int SentRows(const TConfiguration& cfg) {
    return TProgMBMClass::ChannelsPerGroup * SentGroups(cfg);
}

BlockRows EditableRows(const TConfiguration& cfg, int i) {
    const BlockRows rows = RowsOf(cfg, i);
    return {rows.first, std::clamp(SentRows(cfg) - rows.first, 0, rows.count)};
}

std::vector<RowLabels> Labels(const TConfiguration& cfg) {
    std::vector<RowLabels> labels;
    const int cnt = cfg.Serv.GetCntMod6F();
    for (int i = 0; i < TProgMBMClass::RequestCount; ++i) {
        if (!LocalNet::IsAnalogueCode(cfg.MBM.GetKodF(i))) continue;
        const BlockRows rows = RowsOf(cfg, i);
        for (int v = 0; v < rows.count; ++v) {
            const int r = rows.first + v;
            const int n = 6 * cnt + r + 1;
            labels.push_back({r, cfg.Serv.GetNetAnInputText(cfg.MBM.GetStAddrBeg1(i), v),
                              QString::number(4 * cnt + r + 1),
                              QStringLiteral("номер аналогового сигнала в базе ") + QString::number(n) +
                                  QStringLiteral(" (адрес 0x") +
                                  QStringLiteral("%1").arg(n - 1, 2, 16, QLatin1Char('0')).toUpper() +
                                  QStringLiteral(")")});
        }
    }
    return labels;
}

namespace {

QString Tabs(int n) {
    return QString(n, QLatin1Char('\t'));
}

// Cells joined by 2, 1, 2, 1, 1, 2, 2, 2, 2 tabs.
QString TabLine(const TableRow& cells) {
    static constexpr int gaps[Columns - 1] = {2, 1, 2, 1, 1, 2, 2, 2, 2};
    QString line = cells[0];
    for (int c = 1; c < Columns; ++c)
        line += Tabs(gaps[c - 1]) + cells[size_t(c)];
    return line;
}

QString Padded(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '));
}

QString FixedLine(const TableRow& cells) {
    static constexpr int widths[Columns - 1] = {11, 10, 14, 7, 8, 8, 8, 8, 8};
    QString line = Padded(cells[0], widths[0]) + Padded(cells[1], widths[1]) + Padded(cells[2], widths[2]) +
                   QStringLiteral("   \t");
    for (int c = 3; c < Columns - 1; ++c)
        line += Padded(cells[size_t(c)], widths[c]) + QLatin1Char('\t');
    return line + cells[Columns - 1];
}

QStringList Heading(const QString& identity, const QString& title) {
    return {identity, title + QString(10, QLatin1Char(' ')), QString()};
}

} // namespace

QStringList TabLines(const QString& identity, const QString& title, const std::vector<TableRow>& rows) {
    QStringList lines = Heading(identity, title);
    lines << TabLine(
                 {"", "№", "технолог", "размер", "min", "max", "уставка", "уставка", "уставка", "уставка"})
          << TabLine({"", "входа", "позиция", "", "шкалы", "шкалы", "  LL", "  L", "  H", "  HH"});
    for (const TableRow& row : rows)
        lines << TabLine(row);
    return lines;
}

QStringList FixedLines(const QString& identity, const QString& title, const std::vector<TableRow>& rows) {
    const QString t = Tabs(1);
    QStringList lines = Heading(identity, title);
    lines << "  " + t + "   №     " + t + "технолог " + "   " + t + "размер   " + t + "min      " + t +
                 "max      " + t + "уставка  " + t + "уставка  " + t + "уставка  " + t + "уставка  "
          << "  " + t + "входа   " + t + "позиция  " + "   " + t + "   " + t + "шкалы    " + t + "шкалы    " +
                 t + "  LL     " + t + "  L      " + t + "  H      " + t + "  HH     ";
    for (const TableRow& row : rows)
        lines << FixedLine(row);
    return lines;
}

} // namespace Scaling
