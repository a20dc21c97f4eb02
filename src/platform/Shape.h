#pragma once
// Painted controls of the editors' schemes: a base with the position accessors, a fill colour and
// the mouse events an editor binds, and the plain rectangle shape.

#include <QColor>
#include <QWidget>

class QPainter;

inline constexpr QColor kFrameColor(64, 64, 64); // outlines of boxes and panels

// Outlines rect with a line one unit wide inside it, as thick as the screen scale makes a unit.
void DrawFrame(QPainter& painter, const QRect& rect, const QColor& color);

inline constexpr int kSmallestTextPx = 6; // the smallest text the schemes draw

// A scheme text shrinks rather than being cut: base at the largest pixel size from maxPx down to
// kSmallestTextPx at which text fits width, measured as the painter lays it out (fractional
// advances); kSmallestTextPx when none does.
QFont FitFont(QFont base, const QString& text, qreal width, int maxPx);

class SchemeControl : public QWidget {
    Q_OBJECT
  public:
    explicit SchemeControl(QWidget* owner = nullptr);

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int left) { move(left, y()); }
    void SetTop(int top) { move(x(), top); }
    void SetWidth(int w) { resize(w, height()); }
    void SetHeight(int h) { resize(width(), h); }

    // The fill colour: the button face normally, the selection colour when the editor marks it.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    // A part drawn on a panel's body leaves its double-clicks to the body, which opens the dialog
    // of the whole; its presses stay its own.
    void LeaveDoubleClicksToParent() { doubleClicksToParent_ = true; }

  signals:
    // Each control reports its own events; a press it reports does not reach its parent.
    void MouseDown(SchemeControl* sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                   QPoint pos);
    void MouseMove(SchemeControl* sender, Qt::KeyboardModifiers modifiers, QPoint pos);
    void Click(SchemeControl* sender);
    void DblClick(SchemeControl* sender);

  protected:
    // Stores a property and shows the change.
    template <class T> void Assign(T& field, const T& value) {
        field = value;
        Changed();
    }
    virtual void Changed() { update(); }

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QColor color_;
    bool pressed_ = false;
    bool doubleClicksToParent_ = false;
};

// A rectangle filled with its colour and outlined with its pen.
class TShape : public SchemeControl {
    Q_OBJECT
  public:
    explicit TShape(QWidget* owner = nullptr);

    QColor PenColor() const { return penColor_; }
    void SetPenColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor penColor_;
};
