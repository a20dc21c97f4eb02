#pragma once
// A connector from an output line to an input: along the start level, up to the target level,
// then on to the right edge. Its size follows its shape.

#include "Paneltypes.h"
#include "Shape.h"

class TPShapeZ : public SchemeControl {
    Q_OBJECT
  public:
    explicit TPShapeZ(QWidget* owner);

    ShapeZType TypeShape() const { return type_; }
    // Sets the shape and the size it needs; owner is the editor, not needed by the connector.
    void PutTypeShape(QWidget* owner, ShapeZType type);

    // Rows of the start and target levels inside the connector, for a shape.
    static int StartY(ShapeZType type);
    static int EndY(ShapeZType type);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ShapeZType type_ = stZigzag0;
};
