#include "flash_form.h"

#include "productpicture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tflash_form::Tflash_form(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"flash_form"_s);
    const QPixmap picture = productPicture();
    setFixedSize(picture.size() + QSize(4, 4));

    auto *panel = new QFrame(this);
    panel->setObjectName(u"Panel1"_s);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setGeometry(rect());

    auto *image = new QLabel(panel);
    image->setObjectName(u"Image1"_s);
    image->setPixmap(picture);
    image->setScaledContents(true);
    image->setGeometry(panel->contentsRect());

    m_build = new QLabel(u"Bulid:031104"_s, panel);
    m_build->setObjectName(u"Label1"_s);
    m_build->setAutoFillBackground(true);
    QPalette p = m_build->palette();
    p.setColor(QPalette::Window, QColor(250, 250, 244));
    p.setColor(QPalette::WindowText, QColor(60, 60, 60));
    m_build->setPalette(p);
    m_build->setContentsMargins(6, 2, 6, 2);
    QFont f = m_build->font();
    f.setPointSize(8);
    m_build->setFont(f);
    m_build->adjustSize();
    m_build->move(panel->contentsRect().right() - m_build->width() - 6,
                  panel->contentsRect().bottom() - m_build->height() - 6);
}

void Tflash_form::showAndPaint()
{
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    // No event loop runs yet: wait (briefly) until the window system shows the window, then paint.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() && !windowHandle()->isExposed() && waited.elapsed() < 500)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tavimor
