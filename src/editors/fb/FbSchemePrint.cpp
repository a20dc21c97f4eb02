#include "FbSchemePrint.h"

#include "Colors.h"
#include "Comportclass.h"
#include "Configuration.h"
#include "PagePrinter.h"
#include "Prog_fb.h"
#include "panels/Panfb.h"
#include "panels/Panmr.h"
#include "panels/Pansign.h"
#include "panels/Pshapez.h"
#include "panels/Shapehorz.h"
#include "panels/Shapemark.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <algorithm>
#include <cmath>

namespace FbPrint {

namespace {
constexpr int RelayCellLeft = 24;
constexpr int RelayCellStep = 34;
constexpr int RelayCellTop = 10;
constexpr QSize RelayCell{32, 17};
constexpr QPoint SignCellText{35, 1}; // the cell column of the signalling panel
constexpr QSize SignCellSize{TPanSign::kWidth - 36, TPanSign::kHeight - 2};
constexpr int HorzLineHeight = 3;
constexpr int RelayTextSkip = 6; // "МР1:  "
} // namespace

std::vector<Page> Pages(const std::vector<int>& blockRows) {
    std::vector<Page> pages;
    if (blockRows.empty()) return pages;
    const int rows = blockRows.back() + 1;
    for (int p = 0; p * RowsPerPage < rows; ++p) {
        const int top = p * RowsPerPage, bottom = top + RowsPerPage - 1;
        int first = -1, last = -1;
        for (int i = 0; i < int(blockRows.size()); ++i) {
            if (blockRows[size_t(i)] < top || blockRows[size_t(i)] > bottom) continue;
            if (first < 0) first = i;
            last = i;
        }
        if (first >= 0) pages.push_back({first, last});
    }
    return pages;
}

QRect Place(const QRect& r, int firstTop, int sx, int sy, int pictureTop) {
    return {sx * r.left(), sy * (r.top() - firstTop + FirstBlockBelow) + pictureTop, sx * r.width(),
            sy * r.height()};
}

double PictureFit(QSize picture, QSize room) {
    double fit = 1;
    if (picture.width() > room.width()) fit = double(std::max(0, room.width())) / picture.width();
    if (picture.height() > room.height())
        fit = std::min(fit, double(std::max(0, room.height())) / picture.height());
    return fit;
}

std::vector<TextAt> RelayLines(int first, int last, int top, const RelayListMetrics& metrics,
                               const std::function<std::optional<QString>(int)>& relayText) {
    std::vector<TextAt> lines{{QPoint(10, top), QStringLiteral("Информация о модулях реле:")}};
    const int rightX = metrics.pageWidth / 2;
    const int gap = metrics.width(QStringLiteral("  "));
    int y = top;
    int step = metrics.headingStep; // from the heading to the first line
    int leftEnd = 0;                // where the text on the current line ends
    for (int i = first; i <= last; ++i) {
        const bool odd = (i + 1) % 2 == 1;
        if (odd) {
            y += step;
            step = metrics.lineStep;
            leftEnd = 0;
        }
        const std::optional<QString> text = relayText(i);
        if (!text) continue;
        const int width = metrics.width(*text);
        int x = 0;
        if (!odd) {
            if (leftEnd + gap <= rightX && rightX + width <= metrics.pageWidth) {
                x = rightX;
            } else if (leftEnd > 0) {
                y += step;
                step = metrics.lineStep;
            }
        }
        lines.push_back({QPoint(x, y), *text});
        leftEnd = x + width;
    }
    return lines;
}

QString RelayCellText(const QString& moduleText) {
    const QString head = moduleText.left(22);
    const QString rest = moduleText.left(23).mid(RelayTextSkip);
    return head.count(QChar(',')) <= 3 ? rest : rest.left(6);
}

std::vector<TextAt> PageHeader(int page, const QString& mainCaption, const QString& editorCaption,
                               const QString& fileModeText, int lineStep) {
    if (page > 0)
        return {{QPoint(10, 0), mainCaption + QStringLiteral("   страница ") + QString::number(page + 1)}};
    std::vector<TextAt> lines{{QPoint(10, 0), mainCaption}, {QPoint(10, lineStep), editorCaption}};
    if (!fileModeText.isEmpty()) lines.push_back({QPoint(10, 2 * lineStep), fileModeText});
    return lines;
}

} // namespace FbPrint

namespace {

using namespace FbPrint;

void SetFont(QPainter& painter, int points, bool bold) {
    QFont font = painter.font();
    font.setPointSize(points);
    font.setBold(bold);
    painter.setFont(font);
}

// Text with its top-left corner at pos, as the scheme's printer canvas places text.
void DrawText(QPainter& painter, QPoint pos, const QString& text) {
    painter.drawText(QRect(pos, QSize(100000, painter.fontMetrics().height() * 2)),
                     Qt::AlignLeft | Qt::AlignTop, text);
}

// Text inside box, left or centred and in the middle of its height, in the largest size up to
// points that fits the box at the printer's resolution.
void DrawFitted(QPainter& painter, const QRect& box, const QString& text, int points, Qt::Alignment align) {
    QFont font = painter.font();
    font.setBold(true);
    for (qreal size = points;; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics fm(font, painter.device());
        if (size <= 1 || (fm.height() <= box.height() && fm.horizontalAdvance(text) <= box.width())) break;
    }
    painter.setFont(font);
    painter.drawText(box, align | Qt::AlignVCenter, text);
}

void DrawWidget(QPainter& painter, QWidget* w, const QRect& at) {
    painter.drawPixmap(at, w->grab());
}

int LineStep(const QPainter& painter, int points, bool bold) {
    QFont font = painter.font();
    font.setPointSize(points);
    font.setBold(bold);
    return QFontMetrics(font, painter.device()).lineSpacing();
}

// The scheme elements of block i that print as pictures of themselves, each with its screen
// rectangle, in the order they are drawn.
std::vector<std::pair<QWidget*, QRect>> Elements(const TFormFB& form, int i) {
    std::vector<std::pair<QWidget*, QRect>> elements;
    TPanFB* panel = form.PanFB[size_t(i)];
    if (TShape* shape = form.ShapeFB[size_t(i)])
        elements.push_back(
            {shape, QRect(QPoint(shape->x(), panel ? panel->y() : shape->y()), shape->size())});
    if (TShapeHorz* line = form.ShapeHorz[size_t(i)])
        elements.push_back({line, QRect(line->pos(), QSize(line->width(), HorzLineHeight))});
    if (TShapeMark* mark = form.ShapeMark[size_t(i)]) elements.push_back({mark, mark->geometry()});
    if (TPShapeZ* z = form.ShapeZ[size_t(i)]; z && z->isVisibleTo(form.SchemeArea))
        elements.push_back({z, z->geometry()});
    if (TPShapeZ* z = form.ShapeZSign[size_t(i)]) elements.push_back({z, z->geometry()});
    if (panel) elements.push_back({panel, panel->geometry()});
    if (TPanSign* sign = form.PanSign[size_t(i)]) elements.push_back({sign, sign->geometry()});
    if (TPanMR* relay = form.PanMR[size_t(i)]) elements.push_back({relay, relay->geometry()});
    return elements;
}

// The cells the relay panel's module texts are printed in, one a relay module of the device,
// screen rectangles.
std::vector<QRect> RelayCells(const TPanMR& relay, int modules) {
    std::vector<QRect> cells;
    for (int m = 0; m < std::min(modules, int(TPanMR::kModules)); ++m)
        cells.push_back(
            QRect(relay.pos() + QPoint(RelayCellLeft + RelayCellStep * m, RelayCellTop), RelayCell));
    return cells;
}

// The width of the background band behind the picture, in screen pixels.
int BandWidth(const TFormFB& form) {
    return form.ScrollBox1->width() + 10;
}

// How far right, in screen pixels, the printed picture reaches: its background band and every
// element, relay cell and algorithm name of the scheme.
int PictureRight(const TFormFB& form, const TConfiguration& cfg, int blocks) {
    int right = BandWidth(form);
    for (int i = 0; i < blocks; ++i) {
        for (const auto& element : Elements(form, i))
            right = std::max(right, element.second.x() + element.second.width());
        if (const TPanMR* relay = form.PanMR[size_t(i)])
            for (const QRect& cell : RelayCells(*relay, cfg.Serv.GetCntModMR()))
                right = std::max(right, cell.x() + cell.width());
    }
    for (const QLabel* label : form.AlgLabels)
        if (label) right = std::max(right, label->x() + label->width());
    return right;
}

class PagePainter {
  public:
    PagePainter(TFormFB& form, const TConfiguration& cfg, QPainter& painter, int sx, int sy, int firstTop)
        : form_(form), cfg_(cfg), p_(painter), sx_(sx), sy_(sy), firstTop_(firstTop) {}

    // The picture's top: below the header, with the labels over the page's first row too.
    void PlaceBelow(int headerBottom, int first, int last) {
        int top = firstTop_ - FirstBlockBelow;
        for (QLabel* label : LabelsOn(first, last))
            top = std::min(top, label->y());
        pictureTop_ = headerBottom + sy_ * (firstTop_ - FirstBlockBelow - top);
    }
    int PictureTop() const { return pictureTop_; }

    QRect At(const QRect& r) const { return Place(r, firstTop_, sx_, sy_, pictureTop_); }

    void Block(int i) {
        for (const auto& [widget, r] : Elements(form_, i))
            DrawWidget(p_, widget, At(r));
        if (TPanSign* sign = form_.PanSign[size_t(i)]) {
            // The number goes into the panel's cell column, in place of the picture's own.
            if (const int cell = cfg_.FB.GetSigNTabS(i)) {
                const QRect box = At(QRect(sign->pos() + SignCellText, SignCellSize));
                p_.fillRect(box, sign->Color());
                DrawFitted(p_, box, QString::number(cell), 10, Qt::AlignHCenter);
            }
        }
        if (TPanMR* relay = form_.PanMR[size_t(i)]) {
            const std::vector<QRect> cells = RelayCells(*relay, cfg_.Serv.GetCntModMR());
            for (int m = 0; m < int(cells.size()); ++m) {
                const QRect cell = At(cells[size_t(m)]);
                p_.fillRect(cell, Qt::white);
                DrawFitted(p_, cell.adjusted(sx_, sy_, -sx_, -sy_), RelayCellText(relay->ModuleText(m)), 10,
                           Qt::AlignLeft);
            }
        }
    }

    void AlgorithmNames(int first, int last) {
        for (QLabel* label : LabelsOn(first, last)) {
            const QRect band = At(QRect(label->pos(), QSize(label->width(), LabelBandHeight)));
            p_.fillRect(band, clBtnFace());
            SetFont(p_, 10, true);
            DrawText(p_, band.topLeft(), label->text());
        }
    }

  private:
    // The name labels of the algorithms with a block among first..last.
    std::vector<QLabel*> LabelsOn(int first, int last) const {
        std::vector<QLabel*> labels;
        const auto& alg = cfg_.FB.AlgTable;
        for (int a = 0; a < int(form_.AlgLabels.size()); ++a) {
            QLabel* label = form_.AlgLabels[size_t(a)];
            if (!label) continue;
            bool onPage = false;
            for (int j = 0; j < cfg_.FB.FBCount && !onPage; ++j) {
                const int v = alg.GetEntry(a, j);
                onPage = v != TProgFBClass::AlgEnd && v - 1 >= first && v - 1 <= last;
            }
            if (onPage) labels.push_back(label);
        }
        return labels;
    }

    TFormFB& form_;
    const TConfiguration& cfg_;
    QPainter& p_;
    int sx_, sy_, firstTop_;
    int pictureTop_ = 0;
};

} // namespace

void PrintFBScheme(TFormFB& form, const TConfiguration& cfg, TComPortClass& port, PagePrinter& printer,
                   const QString& mainCaption, const QString& fileModeText) {
    const FBEditorState& st = cfg.FB.EditorState;
    std::vector<int> rows;
    for (int i = 0; i < st.PanelCount && i < TFormFB::Slots && form.PanFB[size_t(i)]; ++i)
        rows.push_back(st.Links[size_t(i)].w[3]);
    const std::vector<Page> pages = Pages(rows);
    if (pages.empty() || !printer.Setup(&form, 1, 2, PrintRange::AllPages)) {
        form.ScrollBox1->setFocus();
        return;
    }
    const int sx = std::max(1, printer.DpiX() / std::max(1, form.SchemeArea->logicalDpiX()));
    const int sy = std::max(1, printer.DpiY() / std::max(1, form.SchemeArea->logicalDpiY()));
    QPainter* painter = printer.BeginJob();
    if (!painter) {
        form.ScrollBox1->setFocus();
        return;
    }
    const auto relayText = [&](int i) -> std::optional<QString> {
        const QString number = QStringLiteral("ФБ") + QString::number(i + 1) + QChar(' ');
        if (TPanMR* relay = form.PanMR[size_t(i)])
            return number + relay->GetHint1() + relay->GetHint2() + relay->GetHint3() + relay->GetHint4() +
                   relay->GetHint5();
        if (form.PanFB[size_t(i)]) return number + QStringLiteral("нет выхода на модуль реле");
        return std::nullopt;
    };
    // Line steps from the fonts as the printer sets them; the picture half a line below the
    // header, the relay list half a line below the picture.
    SetFont(*painter, 10, true);
    const int headerStep = painter->fontMetrics().lineSpacing();
    SetFont(*painter, 7, false);
    const QFontMetrics lineFont = painter->fontMetrics();
    const QSize pageSize(painter->device()->width(), painter->device()->height());
    const RelayListMetrics metrics{LineStep(*painter, 8, false), lineFont.lineSpacing(),
                                   [&](const QString& t) { return lineFont.horizontalAdvance(t); },
                                   pageSize.width()};

    // Each page laid out first: one factor for the pictures of every page, the largest at which
    // each picture and the relay list below it fit their page.
    struct PageLayout {
        std::vector<TextAt> header;
        std::vector<TextAt> relayLines; // from the list's top at 0
        PagePainter picture;
    };
    std::vector<PageLayout> layouts;
    const QSize picture(sx * PictureRight(form, cfg, pages.back().last + 1), sy * BandHeight);
    double fit = 1;
    for (int p = 0; p < int(pages.size()); ++p) {
        const Page& page = pages[size_t(p)];
        PageLayout layout{PageHeader(p, mainCaption, form.windowTitle(), fileModeText, headerStep),
                          RelayLines(page.first, page.last, 0, metrics, relayText),
                          PagePainter(form, cfg, *painter, sx, sy, form.PanFB[size_t(page.first)]->y())};
        layout.picture.PlaceBelow(layout.header.back().pos.y() + headerStep + headerStep / 2, page.first,
                                  page.last);
        const int listHeight = metrics.headingStep / 2 + layout.relayLines.back().pos.y() + metrics.lineStep;
        fit = std::min(fit,
                       PictureFit(picture, {pageSize.width(),
                                            pageSize.height() - layout.picture.PictureTop() - listHeight}));
        layouts.push_back(std::move(layout));
    }

    for (int p = 0; p < int(pages.size()); ++p) {
        if (p > 0 && !printer.NewPage()) break;
        const Page& page = pages[size_t(p)];
        PageLayout& layout = layouts[size_t(p)];
        const int pictureTop = layout.picture.PictureTop();
        SetFont(*painter, 10, true);
        for (const TextAt& t : layout.header)
            DrawText(*painter, t.pos, t.text);
        // The picture drawn at the integer scale, made smaller about its top-left corner where the
        // page needs it.
        painter->save();
        painter->translate(0, pictureTop);
        painter->scale(fit, fit);
        painter->translate(0, -pictureTop);
        painter->fillRect(QRect(0, pictureTop, sx * BandWidth(form), sy * BandHeight), clBtnFace());
        port.Delay(WaitAfterPlacing);
        for (int i = page.first; i <= page.last; ++i)
            layout.picture.Block(i);
        layout.picture.AlgorithmNames(page.first, page.last);
        painter->restore();
        const int listTop = pictureTop + int(std::ceil(fit * picture.height())) + metrics.headingStep / 2;
        for (size_t k = 0; k < layout.relayLines.size(); ++k) {
            SetFont(*painter, k == 0 ? 8 : 7, false);
            DrawText(*painter, layout.relayLines[k].pos + QPoint(0, listTop), layout.relayLines[k].text);
        }
        port.Delay(WaitAfterPage);
    }
    printer.EndJob();
    form.ScrollBox1->setFocus();
}
