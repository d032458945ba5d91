#include "fieldlook.h"

#include "look.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QTextEdit>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

void setDoubleClickField(QWidget *w)
{
    if (!w)
        return;
    const QColor c = colorFromBgr(kDoubleClickFieldColor);
    QPalette p = w->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
        p.setColor(group, QPalette::Window, c);
    }
    w->setPalette(p);
    w->setToolTip(u"请双击此处录入！"_s);
    // Controls that paint a viewport (memo) take the palette through it.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
        area->viewport()->setPalette(p);
}

// --------------------------------------------------------------------------- digits only

DigitsOnlyFilter *DigitsOnlyFilter::instance()
{
    // One filter for the whole program, owned by the application object.
    static QPointer<DigitsOnlyFilter> filter;
    if (!filter) {
        filter = new DigitsOnlyFilter(qApp);
        filter->setObjectName(u"DigitsOnlyFilter"_s);
    }
    return filter;
}

bool DigitsOnlyFilter::isDigits(const QString &text)
{
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QString DigitsOnlyFilter::digitsOf(const QString &text)
{
    QString d;
    for (const QChar c : text)
        if (c >= u'0' && c <= u'9')
            d += c;
    return d;
}

static QLineEdit *lineEditOf(QObject *o)
{
    if (auto *e = qobject_cast<QLineEdit *>(o))
        return e;
    if (auto *cb = qobject_cast<QComboBox *>(o))
        return cb->lineEdit();
    if (auto *sb = qobject_cast<QAbstractSpinBox *>(o))
        return sb->findChild<QLineEdit *>();
    return nullptr;
}

void DigitsOnlyFilter::install(QWidget *w)
{
    if (!w)
        return;
    DigitsOnlyFilter *f = instance();
    w->removeEventFilter(f);
    w->installEventFilter(f);
    w->setAttribute(Qt::WA_InputMethodEnabled, false);
    w->setInputMethodHints(w->inputMethodHints() | Qt::ImhDigitsOnly);
    if (QLineEdit *e = lineEditOf(w)) {
        // Covers the context menu's paste and dropped text. Text that does not pass (an old
        // value) can still be edited: the check only refuses edits that make valid text invalid.
        if (e != w) {
            e->removeEventFilter(f);
            e->installEventFilter(f);
            e->setAttribute(Qt::WA_InputMethodEnabled, false);
        }
        if (!e->validator())
            e->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), e));
    }
    if (auto *t = qobject_cast<QPlainTextEdit *>(w))
        t->setAcceptDrops(false);
    if (auto *t = qobject_cast<QTextEdit *>(w))
        t->setAcceptDrops(false);
}

bool DigitsOnlyFilter::pasteDigits(QObject *watched)
{
    const QString clip = QGuiApplication::clipboard()->text();
    const QString digits = digitsOf(clip);
    if (digits.size() != clip.size())
        QApplication::beep();
    if (digits.isEmpty())
        return true;
    if (QLineEdit *e = lineEditOf(watched)) {
        if (!e->isReadOnly())
            e->insert(digits);
    } else if (auto *t = qobject_cast<QPlainTextEdit *>(watched)) {
        if (!t->isReadOnly())
            t->insertPlainText(digits);
    } else if (auto *t = qobject_cast<QTextEdit *>(watched)) {
        if (!t->isReadOnly())
            t->insertPlainText(digits);
    }
    return true;
}

static bool typesNothing(const QString &text)
{
    // Control characters: Enter, Tab, Esc, Delete, Ctrl+letter.
    for (const QChar c : text)
        if (c.isPrint())
            return false;
    return true;
}

bool DigitsOnlyFilter::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->matches(QKeySequence::Paste))
            return pasteDigits(watched);
        if (k->key() == Qt::Key_Backspace)
            return false;
        const QString text = k->text();
        if (text.isEmpty() || typesNothing(text) || isDigits(text))
            return false;
        QApplication::beep();
        return true;
    }
    case QEvent::InputMethod: {
        auto *im = static_cast<QInputMethodEvent *>(event);
        if (isDigits(im->commitString()))
            return false;
        QApplication::beep();
        return true;
    }
    case QEvent::Drop: {
        auto *d = static_cast<QDropEvent *>(event);
        if (d->mimeData() && isDigits(d->mimeData()->text()))
            return false;
        QApplication::beep();
        d->ignore();
        return true;
    }
    default:
        return false;
    }
}

} // namespace tavimor
