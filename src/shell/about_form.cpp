#include "about_form.h"

#include "formregistry.h"
#include "productpicture.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tabout_form *about_form = nullptr;

Tabout_form::Tabout_form(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(u"about_form"_s);
    setModal(true);
    setFixedSize(460, 240);

    Image1 = new QLabel(this);
    Image1->setObjectName(u"Image1"_s);
    Image1->setPixmap(productPicture());
    Image1->setScaledContents(true);
    Image1->setGeometry(rect());

    Shape1 = new QWidget(this);
    Shape1->setObjectName(u"Shape1"_s);
    Shape1->setAttribute(Qt::WA_TranslucentBackground);
    Shape1->setGeometry(rect());
    Shape1->setToolTip(u"单击右键关闭！"_s);
    Shape1->setContextMenuPolicy(Qt::DefaultContextMenu);
    Shape1->installEventFilter(this);
}

void Tabout_form::showEvent(QShowEvent *e)
{
    // Centred over the main window (its parent window when one is active), else on the screen.
    const QWidget *over = parentWidget() ? parentWidget()->window() : findForm(u"main_form"_s);
    if (over && !over->isVisible())
        over = nullptr;
    const QRect area = over ? over->frameGeometry()
                            : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                                : QRect(0, 0, 800, 600));
    move(area.center() - rect().center());
    QDialog::showEvent(e);
}

bool Tabout_form::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Shape1 && event->type() == QEvent::ContextMenu) {
        Shape1ContextPopup();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void Tabout_form::Shape1ContextPopup()
{
    accept();
}

} // namespace tavimor
