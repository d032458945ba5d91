#include "qtmessages.h"

#include "look.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

namespace {

// A message box that stands in the middle of the screen, whatever window is active.
class CentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *e) override
    {
        QMessageBox::showEvent(e); // lays the box out
        QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        QRect r = frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
};

} // namespace

QMessageBox::Icon QtMessages::iconOf(Kind kind)
{
    switch (kind) {
    case Kind::Information:
        return QMessageBox::Information;
    case Kind::Warning:
        return QMessageBox::Warning;
    case Kind::Error:
    case Kind::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QString QtMessages::titleOf(Kind kind)
{
    return kind == Kind::Error ? u"Error"_s : u"Warning"_s;
}

std::unique_ptr<QMessageBox> QtMessages::build(const QString &text, const QString &title, QMessageBox::Icon icon,
                                               Buttons buttons)
{
    auto box = std::make_unique<CentredMessageBox>(QApplication::activeWindow());
    box->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    box->setWindowModality(Qt::ApplicationModal);
    box->setFont(songFont(9));
    box->setWindowTitle(title);
    box->setIcon(icon);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setSizeGripEnabled(false);
    if (buttons == Buttons::YesNo) {
        QPushButton *yes = box->addButton(QMessageBox::Yes);
        QPushButton *no = box->addButton(QMessageBox::No);
        yes->setText(u"&Yes"_s);
        no->setText(u"&No"_s);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        QPushButton *ok = box->addButton(QMessageBox::Ok);
        ok->setText(u"OK"_s);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

int QtMessages::answerOf(const QMessageBox &box, Buttons buttons)
{
    const QAbstractButton *clicked = box.clickedButton();
    if (buttons == Buttons::Ok)
        return Ok;
    return clicked && clicked == box.button(QMessageBox::Yes) ? Yes : No;
}

int QtMessages::present(QMessageBox &box, Buttons buttons)
{
    box.exec();
    return answerOf(box, buttons);
}

void QtMessages::information(const QString &text)
{
    auto box = build(text, kApplicationTitle, QMessageBox::NoIcon, Buttons::Ok);
    present(*box, Buttons::Ok);
}

int QtMessages::messageBox(const QString &text, Kind kind, Buttons buttons)
{
    auto box = build(text, titleOf(kind), iconOf(kind), buttons);
    return present(*box, buttons);
}

int QtMessages::plainBox(const QString &text, const QString &title, Kind kind, Buttons buttons)
{
    auto box = build(text, title, iconOf(kind), buttons);
    return present(*box, buttons);
}

void QtMessages::errorReport(const QString &text)
{
    auto box = build(text, kApplicationTitle, QMessageBox::Critical, Buttons::Ok);
    present(*box, Buttons::Ok);
}

} // namespace tavimor
