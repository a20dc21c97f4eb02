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

// The RTF document of the lines: one paragraph per line (a line holding line feeds gives one
// paragraph per piece), tabs as \tab, RTF specials escaped, non-ASCII as \'xx Windows-1251
// bytes (\uN? for characters outside the code page). With a page setup, the A4 paper in its
// orientation and the margins are written into the document.
QByteArray RtfDocument(const QStringList& lines, const std::optional<PageSetup>& page = std::nullopt);
