#include "PaintedTexts.h"

#include <QMap>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

constexpr qreal kTolerance = 0.5; // antialiased glyph edges may touch the next pixel

// A paint engine that draws nothing and keeps each text item with where it would show.
class TextRecordingEngine : public QPaintEngine {
  public:
    TextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return User; }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFontMetricsF fm(item.font());
        const QRectF logical(p.x(), p.y() - fm.ascent(), fm.horizontalAdvance(item.text()),
                             fm.ascent() + fm.descent());
        bool whole = !item.text().contains(QChar(0x2026));
        if (painter()->hasClipping()) whole = whole && Inside(logical, painter()->clipBoundingRect());
        const QRectF onDevice = painter()->deviceTransform().mapRect(logical);
        whole = whole && Inside(onDevice, QRectF(QPointF(), size));
        texts.append({item.text(), onDevice, whole});
    }

    static bool Inside(const QRectF& r, const QRectF& area) {
        return area.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance).contains(r);
    }

    QSize size;
    QList<PaintedText> texts;
};

class TextRecorder : public QPaintDevice {
  public:
    explicit TextRecorder(const QWidget* like) : like_(like) { engine_.size = like->size(); }
    QPaintEngine* paintEngine() const override { return &engine_; }
    QList<PaintedText> Texts() const { return engine_.texts; }

  protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return like_->width();
        case PdmHeight:
            return like_->height();
        case PdmWidthMM:
            return like_->widthMM();
        case PdmHeightMM:
            return like_->heightMM();
        case PdmNumColors:
            return like_->colorCount();
        case PdmDepth:
            return like_->depth();
        case PdmDpiX:
            return like_->logicalDpiX();
        case PdmDpiY:
            return like_->logicalDpiY();
        case PdmPhysicalDpiX:
            return like_->physicalDpiX();
        case PdmPhysicalDpiY:
            return like_->physicalDpiY();
        case PdmDevicePixelRatio:
            return int(like_->devicePixelRatio());
        case PdmDevicePixelRatioScaled:
            return int(like_->devicePixelRatio() * devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    const QWidget* like_;
    mutable TextRecordingEngine engine_;
};

// The widgets shown inside root, root first.
QList<QWidget*> Shown(QWidget* root) {
    QList<QWidget*> shown{root};
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root)) shown.append(w);
    return shown;
}

} // namespace

QList<PaintedText> PaintedTexts(QWidget* w) {
    TextRecorder recorder(w);
    w->render(&recorder, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return recorder.Texts();
}

QStringList PaintedLines(QWidget* w) {
    QMap<qreal, QString> lines; // by the top of the line
    for (const PaintedText& t : PaintedTexts(w))
        lines[t.rect.top()] += t.text;
    return lines.values();
}

QStringList CutTexts(QWidget* w, QWidget* root) {
    QStringList cut;
    for (QWidget* shown : Shown(w))
        for (const PaintedText& t : PaintedTexts(shown)) {
            bool whole = t.whole;
            QRectF r = t.rect;
            for (QWidget* c = shown; c != (root ? root : w) && c->parentWidget() && whole;
                 c = c->parentWidget()) {
                r.translate(c->pos());
                whole = TextRecordingEngine::Inside(r, QRectF(QPointF(), c->parentWidget()->size()));
            }
            if (!whole) cut << QString("%1: %2").arg(shown->metaObject()->className(), t.text);
        }
    return cut;
}

QStringList AllPaintedTexts(QWidget* root) {
    QStringList all;
    for (QWidget* w : Shown(root)) {
        QString joined;
        for (const PaintedText& t : PaintedTexts(w))
            joined += t.text;
        if (!joined.isEmpty()) all << joined;
    }
    return all;
}
