#pragma once
// The grids' colours. Values elsewhere are the old blue-green-red numbers (blue 0xFF0000,
// green 0x00FF00); here they are the colours a person sees.

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

namespace qeltaro::gui {

inline QColor selectedBlue() { return QColor(0, 0, 255); }
inline QColor hitBlue() { return QColor(0, 0, 255); }
inline QColor missGreen() { return QColor(0, 255, 0); }
inline QColor agreeGreen() { return QColor(0, 255, 0); }
inline QColor cellWhite() { return QColor(255, 255, 255); }
inline QColor buttonFace() { return QGuiApplication::palette().color(QPalette::Button); }

}  // namespace qeltaro::gui
