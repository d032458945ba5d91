#include "choicepopup.h"

#include "command.h"
#include "dm.h"
#include "formregistry.h"
#include "look.h"
#include "lookuplist.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

static QToolButton *makeButton(QWidget *parent, const QString &name, const QString &text,
                               QStyle::StandardPixmap icon)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text); // the "&" gives the Alt shortcut
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

ChoicePopup::ChoicePopup(const QString &objectName, const QString &prompt,
                         std::span<const CallerTarget> callers)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), m_callers(callers)
{
    setObjectName(objectName);
    setFont(songFont(9));
    setModal(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, colorFromBgr(kFixedCellColor));
    setPalette(p);
    setAutoFillBackground(true);

    auto *outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize); // sized to its content
    outer->setContentsMargins(10, 8, 10, 6);
    outer->setSpacing(6);

    promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName(u"Label1"_s);
    outer->addWidget(promptLabel);

    m_body = new QVBoxLayout;
    m_body->setSpacing(4);
    outer->addLayout(m_body);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(u"ToolBar1"_s);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setStyleSheet(u"QToolBar { background: transparent; border: none; }"_s);
    auto *spacer = new QWidget(ToolBar1);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(spacer);
    ToolButton1 = makeButton(this, u"ToolButton1"_s, u"&O确定"_s, QStyle::SP_DialogOkButton);
    ToolButton2 = makeButton(this, u"ToolButton2"_s, u"&C关闭"_s, QStyle::SP_DialogCloseButton);
    ToolBar1->addWidget(ToolButton1);
    ToolBar1->addWidget(ToolButton2);
    outer->addWidget(ToolBar1);

    connect(ToolButton1, &QToolButton::clicked, this, [this] { runCommand([this] { ToolButton1Click(); }); });
    connect(ToolButton2, &QToolButton::clicked, this, &ChoicePopup::ToolButton2Click);
}

void ChoicePopup::ToolButton2Click()
{
    reject();
}

const CallerTarget *ChoicePopup::target() const
{
    const CallerTarget *fallback = nullptr;
    for (const CallerTarget &t : m_callers) {
        if (t.caller == caller)
            return &t;
        if (t.caller == kAnyOtherCaller)
            fallback = &t;
    }
    return fallback;
}

QWidget *ChoicePopup::targetControl() const
{
    const CallerTarget *t = target();
    if (!t)
        return nullptr;
    QWidget *form = findForm(t->form.toString());
    return form ? form->findChild<QWidget *>(t->control.toString()) : nullptr;
}

QWidget *ChoicePopup::requireTarget()
{
    if (QWidget *w = targetControl())
        return w;
    const CallerTarget *t = target();
    const QString where =
        t ? u"窗口“%1”的“%2”"_s.arg(t->form, t->control) : u"调用号 %1 对应的输入框"_s.arg(caller);
    DM->Message1->messageBox(u"找不到%1，选择的内容无法填入。"_s.arg(where), MessageService::Kind::Error,
                             MessageService::Buttons::Ok);
    return nullptr;
}

bool ChoicePopup::writeChoice(QWidget *control, WriteMode mode, const QString &value)
{
    auto *line = qobject_cast<QLineEdit *>(control);
    auto *memo = qobject_cast<QPlainTextEdit *>(control);
    if (!line && !memo)
        return false;
    const QString old = line ? line->text() : memo->toPlainText();
    QString added = value;
    switch (mode) {
    case WriteMode::JoinWithBar:
        if (!old.isEmpty())
            added = u'|' + value;
        break;
    case WriteMode::NewLine:
        if (!old.isEmpty() && !old.endsWith(u'\n'))
            added = u'\n' + value;
        break;
    case WriteMode::AppendDirectly:
        break;
    }
    // An edit at the end, as if typed: a data-aware control takes it as the user's change.
    if (line) {
        line->end(false);
        line->insert(added);
    } else {
        QTextCursor c(memo->document());
        c.movePosition(QTextCursor::End);
        c.insertText(added);
        memo->setTextCursor(c);
    }
    return true;
}

void ChoicePopup::deliver(QWidget *control, const QString &value)
{
    writeChoice(control, target()->mode, value);
}

void ChoicePopup::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    // The thin frame line along the edge of the borderless window.
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ChoicePopup::showEvent(QShowEvent *event)
{
    // Over the window that opens it, else in the middle of the screen.
    QWidget *owner = QApplication::activeWindow();
    QRect area;
    if (owner && owner != this && owner->isVisible())
        area = owner->frameGeometry();
    else if (QScreen *s = screen())
        area = s->availableGeometry();
    if (area.isValid()) {
        adjustSize();
        QRect r(QPoint(0, 0), size());
        r.moveCenter(area.center());
        move(r.topLeft());
    }
    QDialog::showEvent(event);
}

// --------------------------------------------------------------------------- lookup pop-ups

LookupChoicePopup::LookupChoicePopup(const QString &objectName, const QString &prompt,
                                     std::span<const CallerTarget> callers, const QString &listName,
                                     Lookup lookup)
    : ChoicePopup(objectName, prompt, callers), m_lookup(std::move(lookup))
{
    m_list = new QComboBox(this);
    m_list->setObjectName(listName);
    m_list->setEditable(true);
    m_list->setInsertPolicy(QComboBox::NoInsert);
    m_list->setMinimumWidth(190);
    m_list->setMaxVisibleItems(15);
    body()->addWidget(m_list);
    promptLabel->setBuddy(m_list);
}

void LookupChoicePopup::prepareFor(int callerValue)
{
    refillItems(m_list, lookupValues(DM->*m_lookup.table, m_lookup.column));
    m_list->setCurrentIndex(-1);
    m_list->setEditText(QString());
    caller = callerValue;
}

int LookupChoicePopup::showFor(int callerValue)
{
    prepareFor(callerValue);
    return exec();
}

void LookupChoicePopup::ToolButton1Click()
{
    const QString value = m_list->currentText();
    if (value.isEmpty()) {
        DM->Message1->messageBox(m_lookup.emptyMessage, MessageService::Kind::Error,
                                 MessageService::Buttons::Ok);
        return;
    }
    QWidget *control = requireTarget();
    if (!control)
        return;
    addLookupValue(DM->*m_lookup.query, DM->*m_lookup.table, m_lookup.column, value);
    deliver(control, value);
    accept();
}

} // namespace tavimor
