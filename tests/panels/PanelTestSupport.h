#pragma once
// The panels and scheme elements, their rendering into an image at a screen scale, and pixel
// checks on it.

#include "Panfb.h"
#include "Panmr.h"
#include "Panreg.h"
#include "Pansign.h"
#include "Pshapez.h"
#include "Shape.h"
#include "Shapehorz.h"
#include "Shapemark.h"

#include <QDir>
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// Renders widget at scale (1 = 100 %, 2 = 200 %); the image has the widget's size times scale.
// No window background is drawn: what the widget and its children leave unpainted stays clear.
// With VEG_PANEL_SHOTS set to a folder the image is also saved there, for a look by eye.
inline QImage Render(QWidget* widget, int scale = 1, const QString& name = {}) {
    QImage image(widget->size() * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    widget->render(&image, {}, {}, QWidget::DrawChildren);
    const QString dir = qEnvironmentVariable("VEG_PANEL_SHOTS");
    if (!dir.isEmpty() && !name.isEmpty())
        image.save(QDir(dir).filePath(QString("%1@%2x.png").arg(name).arg(scale)));
    return image;
}

inline bool IsDark(QRgb pixel) {
    return qAlpha(pixel) == 255 && qGray(pixel) < 100;
}

// The number of pixels of the image at or below the darkness of text and lines; area is in
// image pixels.
inline int DarkPixels(const QImage& image, const QRect& area = {}) {
    const QRect r = area.isNull() ? image.rect() : area;
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += IsDark(image.pixel(x, y));
    return count;
}

// Image pixel at a point given in widget coordinates.
inline QRgb PixelAt(const QImage& image, QPoint p) {
    const int s = int(image.devicePixelRatio());
    return image.pixel(p.x() * s + s / 2, p.y() * s + s / 2);
}

// Renders scheme at 100 % and 200 % and checks that each element shown on it, and each of their
// parts, is painted all over and scaled with the screen: at 200 % lines and text cover about four
// times the dark pixels; text kept at its 100 % size, hairlines or clipping give much less.
inline std::array<QImage, 2> RenderScaled(QWidget* scheme, const QString& name = {}) {
    const std::array<QImage, 2> images{Render(scheme, 1, name), Render(scheme, 2, name)};
    for (const SchemeControl* e : scheme->findChildren<SchemeControl*>()) {
        if (!e->isVisibleTo(scheme)) continue;
        const QRect r(e->mapTo(scheme, QPoint()), e->size());
        const int dark1 = DarkPixels(images[0], r);
        const int dark2 = DarkPixels(images[1], QRect(r.topLeft() * 2, r.size() * 2));
        SCOPED_TRACE(e->metaObject()->className());
        int unpainted = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                unpainted += qAlpha(images[0].pixel(x, y)) != 255;
        EXPECT_EQ(unpainted, 0);
        EXPECT_GT(dark1, 0);
        EXPECT_GT(dark2, dark1 * 5 / 2) << dark1 << " " << dark2;
        EXPECT_LT(dark2, dark1 * 6) << dark1 << " " << dark2;
    }
    return images;
}
