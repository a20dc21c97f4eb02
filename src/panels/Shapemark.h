#pragma once
// A marked line: a horizontal output line with its caption above it.

#include "Shape.h"

class TShapeMark : public SchemeControl {
    Q_OBJECT
  public:
    static constexpr int kWidth = 80;
    static constexpr int kHeight = 22;
    static constexpr int kLineY = 20; // the line's top row; connectors start at this level
    static constexpr int kLineWidth = 2;

    // The caption starts as "ФБ" followed by the number: the name block inputs give this output.
    TShapeMark(QWidget* owner, int number);

    int Number() const { return number_; }
    QString Mark() const { return mark_; }
    void SetMark(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int number_;
    QString mark_;
};
