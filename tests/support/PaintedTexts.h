#pragma once
// What a user reads of a window's painted texts: every text a widget draws is recorded with the
// font and the place it is drawn in, so a test can see whether it shows whole.

#include <QRectF>
#include <QString>
#include <QStringList>

class QWidget;

struct PaintedText {
    QString text;
    QRectF rect; // where its glyphs lie, in the widget's coordinates
    bool whole;  // not elided, and inside the clip it was drawn with and inside the widget
};

// The texts w paints itself, its children apart.
QList<PaintedText> PaintedTexts(QWidget* w);

// The lines w paints itself, top to bottom: the text items drawn at one height joined.
QStringList PaintedLines(QWidget* w);

// The texts that w and the widgets shown inside it paint only in part: elided, cut by the box they
// are drawn into, by their widget or by a parent up to root (root's own edges too); each as
// "Class: text". Without root, w's own edges bound them.
QStringList CutTexts(QWidget* w, QWidget* root = nullptr);

// What each widget shown inside root (root too) paints, its text items joined, in the order of the
// widget tree; widgets that paint no text are left out.
QStringList AllPaintedTexts(QWidget* root);
