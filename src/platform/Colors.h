#pragma once
// Colours given as Windows TColor values (0x00BBGGRR) and the palette's button face.

#include <QColor>
#include <cstdint>

inline QColor TColorToQColor(uint32_t tcolor) {
    return QColor(int(tcolor & 0xFF), int((tcolor >> 8) & 0xFF), int((tcolor >> 16) & 0xFF));
}

QColor clBtnFace();

constexpr uint32_t clSelection = 0xF0CAA6; // selected scheme element
constexpr uint32_t clTeal = 0x808000;
constexpr uint32_t clRed = 0x0000FF;
constexpr uint32_t clWhite = 0xFFFFFF;
constexpr uint32_t clSilver = 0xC0C0C0;
