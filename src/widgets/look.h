#pragma once

#include <QFont>

class QApplication;

namespace tavimor {

// Colours of the program, as 24-bit numbers in blue-green-red order (red in the low byte).
QColor colorFromBgr(unsigned value);
inline constexpr unsigned kDoubleClickFieldColor = 14609375; // RGB 223,235,222
inline constexpr unsigned kFixedCellColor = 14609391;        // RGB 239,235,222

// Fusion style, a calm palette, and "宋体" mapped onto the installed CJK faces.
void applyLook(QApplication &app);
// "宋体" at the given point size (with the CJK fallbacks).
QFont songFont(int pointSize = 9);

} // namespace tavimor
