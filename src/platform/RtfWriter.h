#pragma once
// Our RTF writer: plain text lines as a Windows-1251 RTF document in a monospaced font, as the
// table printers hand their files to the word processor.

#include <QByteArray>
#include <QStringList>
#include <optional>

// Page orientation and margins (margins in points).
struct PageSetup {
    bool landscape = false;
    float leftMargin = 0;
    float rightMargin = 0;
    float topMargin = 0;
    float bottomMargin = 0;
};

// The margins of a printed table's page, in points.
constexpr float kTableMargin = 29;

// A tab moves on to the next multiple of this many character widths.
constexpr int kTabColumns = 6;

// The column a tab at column moves on to.
constexpr int NextTabStop(int column) {
    return (column / kTabColumns + 1) * kTabColumns;
}

// The width of a line in character widths of the monospaced font, tabs expanded to their stops.
// Blanks at the end print nothing and never wrap, so they do not count.
int LineColumns(const QString& line);

// The RTF document of the lines: one paragraph per line (a line holding line feeds gives one
// paragraph per piece), tabs as \tab, RTF specials escaped, non-ASCII as \'xx Windows-1251
// bytes (\uN? for characters outside the code page). The A4 paper in its orientation and the
// margins are written into the document: the page setup given, or without one upright paper where
// the widest line fits it at 8 pt, else landscape, both with the table margins. The font takes the
// largest size up to 10 pt, in half points, at which the widest line fits between the margins, and
// never less than 6 pt; the tab stops lie every kTabColumns character widths of that size.
QByteArray RtfDocument(const QStringList& lines, const std::optional<PageSetup>& page = std::nullopt);
