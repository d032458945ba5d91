#pragma once

#include <QPixmap>

namespace tavimor {

// The product picture (460 x 240), shown by the splash screen and the about box.
QPixmap productPicture();

} // namespace tavimor
