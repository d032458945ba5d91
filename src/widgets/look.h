#pragma once

#include <QFont>

class QApplication;

namespace tavimor {

// Colours of the program, given as the 24-bit BGR numbers the forms are specified with.
QColor colorFromBgr(unsigned value);
inline constexpr unsigned kDoubleClickFieldColor = 14609375; // RGB 223,235,222
inline constexpr unsigned kFixedCellColor = 14609391;        // RGB 239,235,222

// Fusion style, a calm palette, and "宋体" mapped onto the installed CJK faces.
void applyLook(QApplication &app);
// "宋体" at the given point size (with the CJK fallbacks).
QFont songFont(int pointSize = 9);

} // namespace tavimor
