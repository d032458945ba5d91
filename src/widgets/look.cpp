#include "look.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

QColor colorFromBgr(unsigned value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

static void registerFontSubstitutes()
{
    // A Song/Ming face stands in for 宋体, a clean sans face for the rest.
    const QStringList song{u"AR PL UMing CN"_s, u"AR PL UMing TW"_s, u"WenQuanYi Micro Hei"_s, u"Noto Sans CJK SC"_s};
    QFont::insertSubstitutions(u"宋体"_s, song);
    QFont::insertSubstitutions(u"SimSun"_s, song);
    QFont::insertSubstitutions(u"楷体_GB2312"_s, {u"AR PL UKai CN"_s, u"AR PL UMing CN"_s, u"WenQuanYi Micro Hei"_s});
}

QFont songFont(int pointSize)
{
    registerFontSubstitutes();
    QFont f(u"宋体"_s);
    f.setPointSize(pointSize);
    return f;
}

void applyLook(QApplication &app)
{
    registerFontSubstitutes();
    app.setStyle(QStyleFactory::create(u"Fusion"_s));
    QPalette p = app.style()->standardPalette();
    p.setColor(QPalette::Window, QColor(240, 240, 236));
    p.setColor(QPalette::Button, QColor(236, 236, 230));
    p.setColor(QPalette::Highlight, QColor(49, 106, 197));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    p.setColor(QPalette::ToolTipText, Qt::black);
    app.setPalette(p);
    QFont f(u"WenQuanYi Micro Hei"_s);
    f.setPointSize(9);
    app.setFont(f);
}

} // namespace tavimor
