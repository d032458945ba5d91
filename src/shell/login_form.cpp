#include "login_form.h"

#include "command.h"
#include "database.h"
#include "dm.h"
#include "filterexpression.h"
#include "look.h"
#include "lookuplist.h"
#include "main_form.h"
#include "startup.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tlogin_form *login_form = nullptr;

QString currentUser()
{
    return login_form ? login_form->currentUser() : QString();
}

Tlogin_form::Tlogin_form(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(u"login_form"_s);
    setWindowTitle(u"欢迎使用Tavimor"_s);
    setFont(songFont(9));

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(u"GroupBox1"_s);

    Image2 = new QLabel(GroupBox1);
    Image2->setObjectName(u"Image2"_s);
    Image2->setPixmap(QPixmap(u":/shell/login.png"_s).scaled(56, 56, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setFixedSize(64, 64);

    TeThemeLabel3 = new QLabel(u"用户名："_s, GroupBox1);
    TeThemeLabel3->setObjectName(u"TeThemeLabel3"_s);
    username_cb = new QComboBox(GroupBox1);
    username_cb->setObjectName(u"username_cb"_s);
    username_cb->setEditable(false);
    username_cb->setMaxVisibleItems(4);
    username_cb->setMinimumWidth(170);
    TeThemeLabel3->setBuddy(username_cb);

    TeThemeLabel4 = new QLabel(u"密  码："_s, GroupBox1);
    TeThemeLabel4->setObjectName(u"TeThemeLabel4"_s);
    password_edit = new QLineEdit(GroupBox1);
    password_edit->setObjectName(u"password_edit"_s);
    password_edit->setEchoMode(QLineEdit::Password);
    TeThemeLabel4->setBuddy(password_edit);

    auto *grid = new QGridLayout(GroupBox1);
    grid->setContentsMargins(14, 16, 18, 16);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    grid->addWidget(Image2, 0, 0, 2, 1, Qt::AlignCenter);
    grid->addWidget(TeThemeLabel3, 0, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(username_cb, 0, 2);
    grid->addWidget(TeThemeLabel4, 1, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(password_edit, 1, 2);
    grid->setColumnStretch(2, 1);

    TeThemeButton2 = new QPushButton(u"&L登陆"_s, this);
    TeThemeButton2->setObjectName(u"TeThemeButton2"_s);
    TeThemeButton2->setDefault(true);
    TeThemeButton2->setAutoDefault(true);
    TeThemeButton1 = new QPushButton(u"&C取消"_s, this);
    TeThemeButton1->setObjectName(u"TeThemeButton1"_s);
    TeThemeButton1->setAutoDefault(false);
    for (QPushButton *b : {TeThemeButton2, TeThemeButton1})
        b->setMinimumWidth(80);

    TeThemeLabel2 = new QLabel(u"Vantrel"_s, this);
    TeThemeLabel2->setObjectName(u"TeThemeLabel2"_s);
    QFont deco(u"URW Chancery L"_s);
    deco.setStyleHint(QFont::Cursive);
    deco.setItalic(true);
    deco.setBold(true);
    deco.setPointSize(14);
    TeThemeLabel2->setFont(deco);
    TeThemeLabel2->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(TeThemeLabel2);
    buttons->addStretch(1);
    buttons->addWidget(TeThemeButton2);
    buttons->addWidget(TeThemeButton1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 10);
    outer->addWidget(GroupBox1);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Inside the frame: password box, then user box; then cancel, then log in.
    setTabOrder(password_edit, username_cb);
    setTabOrder(username_cb, TeThemeButton1);
    setTabOrder(TeThemeButton1, TeThemeButton2);

    connect(TeThemeButton2, &QPushButton::clicked, this, [this] { runCommand([this] { TeThemeButton2Click(); }); });
    connect(TeThemeButton1, &QPushButton::clicked, this, [this] { runCommand([this] { TeThemeButton1Click(); }); });
}

QString Tlogin_form::currentUser() const
{
    return username_cb->currentIndex() < 0 ? QString() : username_cb->currentText();
}

void Tlogin_form::showEvent(QShowEvent *e)
{
    runCommand([this] { FormShow(); });
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
    password_edit->setFocus();
}

void Tlogin_form::FormShow()
{
    TableCursor *users = DM->user_table;
    users->setFiltered(false);
    if (!users->isOpen())
        users->open();
    users->first();
    username_cb->clear();
    username_cb->addItems(lookupValues(users, u"用户名"_s));
    username_cb->setCurrentIndex(-1);
}

void Tlogin_form::TeThemeButton2Click()
{
    const QString name = currentUser();
    TableCursor *users = DM->user_table;
    // The name is one value of the filter, whatever it holds (a quote stays part of the name).
    users->setFilter(u"用户名="_s + FilterExpression::quoted(name));
    users->setFiltered(true);
    if (!users->isEmpty())
        users->first();

    QString stored;
    bool hasStored = false;
    if (!users->isEmpty()) {
        const QVariant v = users->value(u"密码"_s);
        hasStored = !v.isNull();
        stored = v.toString();
    }
    if (hasStored && verifyPassword(stored, password_edit->text())) {
        hide();
        if (main_form)
            main_form->showMaximized();
        return;
    }

    DM->Message1->information(u"对不起,您的密码有误请重新输入!"_s);
    password_edit->setFocus();
    ++m_failed;
    if (m_failed == 3) {
        DM->Message1->information(u"对不起,你的密码严重有误,请退出!"_s);
        endProgram(1);
    }
}

void Tlogin_form::TeThemeButton1Click()
{
    if (DM->Message1->question(u"您确实要退出吗?"_s) == MessageService::Yes)
        endProgram(0);
}

void Tlogin_form::closeEvent(QCloseEvent *e)
{
    // The login dialog is the program's first window: closing it ends the program, no question.
    e->accept();
    endProgram(0);
}

void Tlogin_form::reject()
{
    // Esc is the cancel button's key: it asks before the program ends.
    runCommand([this] { TeThemeButton1Click(); });
}

} // namespace tavimor
