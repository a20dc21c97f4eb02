#pragma once
// Sub-controls of the scheme panels: a framed box of text lines whose font follows its height,
// and a block input box with its lead and inversion mark.

#include "Paneltypes.h"
#include "Shape.h"

#include <QStringList>

class QPainter;

class PanelPart : public SchemeControl {
    Q_OBJECT
  public:
    explicit PanelPart(QWidget* parent);

    QStringList Lines() const { return lines_; }
    QString Text() const { return lines_.join('\n'); }
    void SetLines(const QStringList& lines);
    void SetText(const QString& text) { SetLines(QStringList{text}); }

    void SetAlignment(Qt::Alignment alignment);
    void SetFramed(bool framed);
    void SetBoldFirstLine(bool bold);

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Fills box with the colour, frames it and writes the lines into it, one band each.
    void PaintBox(QPainter& painter, const QRect& box) const;

  private:
    QStringList lines_;
    Qt::Alignment alignment_ = Qt::AlignCenter;
    bool framed_ = true;
    bool boldFirst_ = false;
};

// An input of a block panel: the caption box, then a lead to the block's body, drawn as a small
// circle when the input is inverse.
class TInputBox : public PanelPart {
    Q_OBJECT
  public:
    explicit TInputBox(QWidget* parent);

    static constexpr int kLeadWidth = 10;

    InputType Type() const { return type_; }
    void SetType(InputType type);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    InputType type_ = itNormal;
};
