#pragma once
// The printed function-block scheme: five scheme rows a page, all pages in one print job, the
// elements scaled from screen to printer resolution below a header, the algorithm names over their
// blocks and the relay outputs of the page's blocks listed below the picture. A picture wider or
// taller than its page allows is drawn smaller, the same in both directions.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class PagePrinter;
class TComPortClass;
class TFormFB;
struct TConfiguration;

namespace FbPrint {

constexpr int RowsPerPage = 5;
constexpr int PictureRows = 610;    // screen pixels of the five rows of a page
constexpr int BandHeight = 620;     // the background band behind the picture
constexpr int FirstBlockBelow = 15; // the first block of a page stands this far below the top
constexpr int LabelBandHeight = 13;
constexpr int WaitAfterPlacing = 300; // ms
constexpr int WaitAfterPage = 500;    // ms

// The blocks of one page: indexes first..last.
struct Page {
    int first = 0;
    int last = 0;
};

// Pages of rows 5p..5p+4 for blocks whose scheme rows are given in block order; every row lands
// on exactly one page.
std::vector<Page> Pages(const std::vector<int>& blockRows);

// A scheme element at screen rectangle r as printed on a page whose first block's panel stands
// at firstTop and whose picture begins pictureTop printer pixels down.
QRect Place(const QRect& r, int firstTop, int sx, int sy, int pictureTop);

// The factor the page's picture is drawn at: 1 where the picture, of size printer pixels at the
// integer scale, fits the room the page leaves it, else the largest factor that fits it there.
double PictureFit(QSize picture, QSize room);

struct TextAt {
    QPoint pos;
    QString text;
};

// What the relay list's placing needs of the printer: line steps of the heading's and the lines'
// fonts and the lines' text widths at its resolution, and the page width.
struct RelayListMetrics {
    int headingStep = 0;
    int lineStep = 0;
    std::function<int(const QString&)> width;
    int pageWidth = 0;
};

// The relay list of blocks first..last, its heading at top: then per block the text relayText
// gives (none: the block is left out); odd block numbers start a new line at x 0, even ones go on
// the same line at the page's middle, or on a line of their own when that would overprint the
// left text or run off the page.
std::vector<TextAt> RelayLines(int first, int last, int top, const RelayListMetrics& metrics,
                               const std::function<std::optional<QString>(int)>& relayText);

// What the relay panel's cell of one module shows: the relay numbers after "МР<m>:  ", or only
// six characters of them when they hold more than three commas.
QString RelayCellText(const QString& moduleText);

// The page headers, one line a lineStep: page 0 the main window's and the editor's captions and,
// in file mode, the file-mode text; later pages the main window's caption with the page number.
std::vector<TextAt> PageHeader(int page, const QString& mainCaption, const QString& editorCaption,
                               const QString& fileModeText, int lineStep);

} // namespace FbPrint

// Prints the scheme of the editor through the printer: nothing without blocks, nothing when the
// print dialog is cancelled. The waits go through the exchange object's clock. fileModeText, when
// not empty, is the third line of the first page's header.
void PrintFBScheme(TFormFB& form, const TConfiguration& cfg, TComPortClass& port, PagePrinter& printer,
                   const QString& mainCaption, const QString& fileModeText);
