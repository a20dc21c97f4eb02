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

namespace FbPrint {

namespace {
constexpr int RelayCellLeft = 24;
constexpr int RelayCellStep = 34;
constexpr int RelayCellTop = 10;
constexpr QSize RelayCell{32, 17};
constexpr QPoint SignCellText{35, 13};
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

QRect Place(const QRect& r, int firstTop, int sx, int sy) {
    return {sx * r.left(), sy * (r.top() - firstTop + FirstBlockBelow) + PictureTop, sx * r.width(),
            sy * r.height()};
}

std::vector<TextAt> RelayLines(int first, int last, int sy,
                               const std::function<std::optional<QString>(int)>& relayText) {
    int y = sy * PictureRows + RelayHeaderBelow;
    std::vector<TextAt> lines{{QPoint(10, y), QStringLiteral("Информация о модулях реле:")}};
    for (int i = first; i <= last; ++i) {
        const bool odd = (i + 1) % 2 == 1;
        if (odd) y += RelayLineStep;
        if (const std::optional<QString> text = relayText(i))
            lines.push_back({QPoint(odd ? 0 : RelayRightX, y), *text});
    }
    return lines;
}

QString RelayCellText(const QString& moduleText) {
    const QString head = moduleText.left(22);
    const QString rest = moduleText.left(23).mid(RelayTextSkip);
    return head.count(QChar(',')) <= 3 ? rest : rest.left(6);
}

std::vector<TextAt> PageHeader(int page, const QString& mainCaption, const QString& editorCaption,
                               const QString& fileModeText) {
    if (page > 0)
        return {{QPoint(10, 10), mainCaption + QStringLiteral("   страница ") + QString::number(page + 1)}};
    std::vector<TextAt> lines{{QPoint(10, 0), mainCaption}, {QPoint(10, 100), editorCaption}};
    if (!fileModeText.isEmpty()) lines.push_back({QPoint(10, 200), fileModeText});
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

void DrawWidget(QPainter& painter, QWidget* w, const QRect& at) {
    painter.drawPixmap(at, w->grab());
}

class PagePainter {
  public:
    PagePainter(TFormFB& form, const TConfiguration& cfg, QPainter& painter, int sx, int sy, int firstTop)
        : form_(form), cfg_(cfg), p_(painter), sx_(sx), sy_(sy), firstTop_(firstTop) {}

    QRect At(const QRect& r) const { return Place(r, firstTop_, sx_, sy_); }

    void Block(int i) {
        TPanFB* panel = form_.PanFB[size_t(i)];
        if (TShape* shape = form_.ShapeFB[size_t(i)]) {
            const int top = panel ? panel->y() : shape->y();
            DrawWidget(p_, shape, At(QRect(QPoint(shape->x(), top), shape->size())));
        }
        if (TShapeHorz* line = form_.ShapeHorz[size_t(i)])
            DrawWidget(p_, line, At(QRect(line->pos(), QSize(line->width(), HorzLineHeight))));
        if (TShapeMark* mark = form_.ShapeMark[size_t(i)]) DrawWidget(p_, mark, At(mark->geometry()));
        if (TPShapeZ* z = form_.ShapeZ[size_t(i)]; z && z->isVisibleTo(form_.SchemeArea))
            DrawWidget(p_, z, At(z->geometry()));
        if (TPShapeZ* z = form_.ShapeZSign[size_t(i)]) DrawWidget(p_, z, At(z->geometry()));
        if (panel) DrawWidget(p_, panel, At(panel->geometry()));
        if (TPanSign* sign = form_.PanSign[size_t(i)]) {
            DrawWidget(p_, sign, At(sign->geometry()));
            if (const int cell = cfg_.FB.GetSigNTabS(i))
                DrawText(p_, At(QRect(sign->pos() + SignCellText, QSize())).topLeft(), QString::number(cell));
        }
        if (TPanMR* relay = form_.PanMR[size_t(i)]) {
            DrawWidget(p_, relay, At(relay->geometry()));
            for (int m = 0; m < std::min(cfg_.Serv.GetCntModMR(), int(TPanMR::kModules)); ++m) {
                const QRect cell = At(
                    QRect(relay->pos() + QPoint(RelayCellLeft + RelayCellStep * m, RelayCellTop), RelayCell));
                p_.fillRect(cell, Qt::white);
                DrawText(p_, cell.topLeft() + QPoint(sx_, 2 * sy_), RelayCellText(relay->ModuleText(m)));
            }
        }
    }

    void AlgorithmNames(int first, int last) {
        const auto& alg = cfg_.FB.AlgTable;
        for (int a = 0; a < int(form_.AlgLabels.size()); ++a) {
            QLabel* label = form_.AlgLabels[size_t(a)];
            if (!label) continue;
            bool onPage = false;
            for (int j = 0; j < cfg_.FB.FBCount && !onPage; ++j) {
                const int v = alg.GetEntry(a, j);
                onPage = v != TProgFBClass::AlgEnd && v - 1 >= first && v - 1 <= last;
            }
            if (!onPage) continue;
            const QRect band = At(QRect(label->pos(), QSize(label->width(), LabelBandHeight)));
            p_.fillRect(band, clBtnFace());
            SetFont(p_, 10, true);
            DrawText(p_, band.topLeft(), label->text());
        }
    }

  private:
    TFormFB& form_;
    const TConfiguration& cfg_;
    QPainter& p_;
    int sx_, sy_, firstTop_;
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
    for (int p = 0; p < int(pages.size()); ++p) {
        QPainter* painter = printer.BeginJob();
        if (!painter) break;
        const Page& page = pages[size_t(p)];
        SetFont(*painter, 10, true);
        for (const TextAt& t : PageHeader(p, mainCaption, form.windowTitle(), fileModeText))
            DrawText(*painter, t.pos, t.text);
        painter->fillRect(QRect(0, PictureTop, sx * (form.ScrollBox1->width() + 10), sy * BandHeight),
                          clBtnFace());
        port.Delay(WaitAfterPlacing);
        PagePainter pagePainter(form, cfg, *painter, sx, sy, form.PanFB[size_t(page.first)]->y());
        for (int i = page.first; i <= page.last; ++i)
            pagePainter.Block(i);
        pagePainter.AlgorithmNames(page.first, page.last);
        SetFont(*painter, 8, false);
        const auto relayText = [&](int i) -> std::optional<QString> {
            const QString number = QStringLiteral("ФБ") + QString::number(i + 1) + QChar(' ');
            if (TPanMR* relay = form.PanMR[size_t(i)])
                return number + relay->GetHint1() + relay->GetHint2() + relay->GetHint3() +
                       relay->GetHint4() + relay->GetHint5();
            if (form.PanFB[size_t(i)]) return number + QStringLiteral("нет выхода на модуль реле");
            return std::nullopt;
        };
        const std::vector<TextAt> relayLines = RelayLines(page.first, page.last, sy, relayText);
        for (size_t k = 0; k < relayLines.size(); ++k) {
            if (k == 1) SetFont(*painter, 7, false);
            DrawText(*painter, relayLines[k].pos, relayLines[k].text);
        }
        printer.EndJob();
        port.Delay(WaitAfterJob);
    }
    form.ScrollBox1->setFocus();
}
