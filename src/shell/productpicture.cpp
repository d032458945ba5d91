#include "productpicture.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

QPixmap productPicture()
{
    QPixmap p(u":/shell/product.jpg"_s);
    if (p.isNull()) {
        p = QPixmap(460, 240);
        p.fill(QColor(70, 110, 160));
    }
    return p;
}

} // namespace tavimor
