#include "dbcontrols.h"

#include "fieldbinding.h"
#include "valueformat.h"

#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpressionValidator>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

// Empty text is stored as null.
static QVariant textValue(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Buttons of read-only controls show their state but take no click or key.
static void lockButton(QAbstractButton *b, bool on)
{
    b->setAttribute(Qt::WA_TransparentForMouseEvents, on);
    b->setFocusPolicy(on ? Qt::NoFocus : Qt::StrongFocus);
}

namespace {

template <class Button>
class LockableButton : public Button
{
public:
    using Button::Button;
    void setLocked(bool on)
    {
        m_locked = on;
        lockButton(this, on);
    }

protected:
    void nextCheckState() override
    {
        if (!m_locked)
            Button::nextCheckState();
    }

private:
    bool m_locked = false;
};

using RadioItem = LockableButton<QRadioButton>;
using TickBox = LockableButton<QCheckBox>;

} // namespace

void DataAwareControl::bind(DataLink *link, const QString &column)
{
    m_field->bind(link, column);
}

DataLink *DataAwareControl::dataSource() const
{
    return m_field->link();
}

QString DataAwareControl::dataField() const
{
    return m_field->column();
}

// --------------------------------------------------------------------------- DBEdit

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent)
{
    m_field = new FieldBinding(
        this, [this](const QVariant &v) { showValue(v); }, [this] { return isReadOnly(); });
    connect(this, &QLineEdit::textEdited, this, [this](const QString &t) { m_field->writeFromUser(valueOf(t)); });
}

QVariant DBEdit::valueOf(const QString &text) const
{
    if (m_field->kind() == ColumnKind::Currency)
        return parseCurrency(text);
    return textValue(text);
}

void DBEdit::showValue(const QVariant &v)
{
    const QString t = tavimor::displayText(m_field->kind(), v);
    if (t != text())
        QLineEdit::setText(t);
}

void DBEdit::setText(const QString &text)
{
    QLineEdit::setText(text);
    m_field->writeFromProgram(valueOf(text));
}

void DBEdit::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

// --------------------------------------------------------------------------- DBComboBox

DBComboBox::DBComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    m_field = new FieldBinding(
        this, [this](const QVariant &v) { showValue(v); }, [this] { return m_readOnly; });
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_field->writeFromUser(textValue(itemText(index)));
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &t) { m_field->writeFromUser(textValue(t)); });
    // Leaving the field takes an inline completion the user accepted without typing on.
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_field->isBound() && !m_readOnly && currentText() != m_field->value().toString())
            m_field->writeFromUser(textValue(currentText()));
    });
    // Filling the list of an empty combo box makes its first item current: show the row again.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model(), signal, m_field, &FieldBinding::refresh);
    connect(model(), &QAbstractItemModel::modelReset, m_field, &FieldBinding::refresh);
}

void DBComboBox::showValue(const QVariant &v)
{
    const QString t = v.toString();
    const int i = findText(t, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i != currentIndex())
        QComboBox::setCurrentIndex(i);
    if (isEditable() && currentText() != t)
        QComboBox::setEditText(t);
}

void DBComboBox::setEditText(const QString &text)
{
    const int i = findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i != currentIndex())
        QComboBox::setCurrentIndex(i);
    if (isEditable())
        QComboBox::setEditText(text);
    m_field->writeFromProgram(textValue(text));
}

void DBComboBox::setReadOnly(bool on)
{
    m_readOnly = on;
    if (lineEdit())
        lineEdit()->setReadOnly(on);
}

void DBComboBox::showPopup()
{
    if (!m_readOnly)
        QComboBox::showPopup();
}

void DBComboBox::keyPressEvent(QKeyEvent *e)
{
    if (m_readOnly) {
        // Only what leaves the field or copies from it.
        switch (e->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            e->ignore();
            return;
        default:
            if (lineEdit() && (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::SelectAll) ||
                               e->key() == Qt::Key_Left || e->key() == Qt::Key_Right))
                lineEdit()->event(e);
            else
                e->accept();
            return;
        }
    }
    QComboBox::keyPressEvent(e);
}

void DBComboBox::wheelEvent(QWheelEvent *e)
{
    if (m_readOnly) {
        e->ignore();
        return;
    }
    QComboBox::wheelEvent(e);
}

// --------------------------------------------------------------------------- DBMemo

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent)
{
    m_field = new FieldBinding(
        this,
        [this](const QVariant &v) {
            if (toPlainText() != v.toString())
                QPlainTextEdit::setPlainText(v.toString());
        },
        [this] { return isReadOnly(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_field->isShowing())
            return;
        const QVariant v = textValue(toPlainText());
        if (m_programSets)
            m_field->writeFromProgram(v);
        else
            m_field->writeFromUser(v);
    });
}

void DBMemo::setPlainText(const QString &text)
{
    m_programSets = true;
    QPlainTextEdit::setPlainText(text);
    m_programSets = false;
}

void DBMemo::mouseDoubleClickEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

// --------------------------------------------------------------------------- DBRadioGroup

DBRadioGroup::DBRadioGroup(QWidget *parent) : QGroupBox(parent)
{
    m_group = new QButtonGroup(this);
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(8, 4, 8, 4);
    m_grid->setHorizontalSpacing(12);
    m_grid->setVerticalSpacing(2);
    m_field = new FieldBinding(
        this, [this](const QVariant &v) { showValue(v); }, [this] { return m_readOnly; });
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (m_readOnly)
            return;
        if (id >= 0 && id < m_items.size())
            m_field->writeFromUser(m_items.at(id));
        emit itemIndexChanged(itemIndex());
    });
}

void DBRadioGroup::setItems(const QStringList &items)
{
    const QString chosen = itemText();
    for (QAbstractButton *b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_items = items;
    for (int i = 0; i < m_items.size(); ++i) {
        auto *b = new RadioItem(m_items.at(i), this);
        b->setLocked(m_readOnly);
        m_group->addButton(b, i);
    }
    relayout();
    if (m_field->isBound())
        m_field->refresh();
    else
        check(int(m_items.indexOf(chosen)));
}

void DBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    relayout();
}

void DBRadioGroup::relayout()
{
    // Items run down the columns, as many per column as the widest column needs.
    const int n = int(m_items.size());
    const int perColumn = std::max(1, (n + m_columns - 1) / m_columns);
    for (int i = 0; i < n; ++i)
        m_grid->addWidget(m_group->button(i), i % perColumn, i / perColumn);
}

int DBRadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

QString DBRadioGroup::itemText() const
{
    const int i = itemIndex();
    return i >= 0 && i < m_items.size() ? m_items.at(i) : QString();
}

void DBRadioGroup::check(int index)
{
    if (index == itemIndex())
        return;
    if (QAbstractButton *b = m_group->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton *c = m_group->checkedButton()) {
        m_group->setExclusive(false);
        c->setChecked(false);
        m_group->setExclusive(true);
    }
}

void DBRadioGroup::showValue(const QVariant &v)
{
    const int before = itemIndex();
    check(v.isNull() ? -1 : int(m_items.indexOf(v.toString())));
    if (itemIndex() != before)
        emit itemIndexChanged(itemIndex());
}

void DBRadioGroup::setItemIndex(int index)
{
    if (index < 0 || index >= m_items.size())
        index = -1;
    const int before = itemIndex();
    check(index);
    m_field->writeFromProgram(index >= 0 ? QVariant(m_items.at(index)) : QVariant());
    if (itemIndex() != before)
        emit itemIndexChanged(itemIndex());
}

void DBRadioGroup::setReadOnly(bool on)
{
    m_readOnly = on;
    for (QAbstractButton *b : m_group->buttons())
        static_cast<RadioItem *>(b)->setLocked(on);
}

// --------------------------------------------------------------------------- DBDatePicker

// Below every real date: shown as an empty field when there is no date and no tick box.
static const QDate kNoDate(1752, 9, 14);

DBDatePicker::DBDatePicker(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_check = new TickBox(this);
    m_check->setObjectName(u"checkbox"_s);
    m_check->hide();
    m_edit = new QDateEdit(this);
    m_edit->setObjectName(u"dateedit"_s);
    m_edit->setCalendarPopup(true);
    m_edit->setDisplayFormat(u"yyyy-MM-dd"_s);
    m_edit->setMinimumDate(kNoDate);
    m_edit->setSpecialValueText(u" "_s);
    m_edit->setDate(QDate::currentDate());
    m_calendar = m_edit->calendarWidget();
    m_calendar->installEventFilter(this);
    m_edit->installEventFilter(this);
    row->addWidget(m_check);
    row->addWidget(m_edit, 1);
    setFocusProxy(m_edit);
    setSizePolicy(m_edit->sizePolicy());

    m_field = new FieldBinding(
        this, [this](const QVariant &v) { showValue(v); }, [this] { return m_readOnly; });
    connect(m_edit, &QDateEdit::dateChanged, this, [this] {
        if (!m_displaying && !m_field->isShowing())
            userChanged();
    });
    connect(m_check, &QCheckBox::clicked, this, [this](bool on) {
        m_edit->setEnabled(on);
        if (on && m_edit->date() == kNoDate)
            display(QDate::currentDate());
        userChanged();
    });
}

void DBDatePicker::userChanged()
{
    m_field->writeFromUser(date().isValid() ? QVariant(date()) : QVariant());
    emit dateChanged(date());
}

void DBDatePicker::setShowCheckBox(bool on)
{
    const QDate d = date();
    m_check->setVisible(on);
    display(d);
}

bool DBDatePicker::showCheckBox() const
{
    return !m_check->isHidden();
}

bool DBDatePicker::isChecked() const
{
    return showCheckBox() ? m_check->isChecked() : m_edit->date() != kNoDate;
}

QDate DBDatePicker::date() const
{
    if (showCheckBox() && !m_check->isChecked())
        return {};
    const QDate d = m_edit->date();
    return d == kNoDate ? QDate() : d;
}

void DBDatePicker::display(const QDate &date)
{
    m_displaying = true;
    if (date.isValid()) {
        m_check->setChecked(true);
        m_edit->setEnabled(true);
        m_edit->setDate(date);
    } else if (showCheckBox()) {
        // Unticked: the field keeps a day to offer when ticked again, greyed.
        m_check->setChecked(false);
        if (m_edit->date() == kNoDate)
            m_edit->setDate(QDate::currentDate());
        m_edit->setEnabled(false);
    } else {
        m_edit->setEnabled(true);
        m_edit->setDate(kNoDate);
    }
    m_displaying = false;
}

void DBDatePicker::showValue(const QVariant &v)
{
    const QDate before = date();
    display(v.metaType().id() == QMetaType::QDate ? v.toDate() : QDate());
    if (date() != before)
        emit dateChanged(date());
}

void DBDatePicker::setDate(const QDate &d)
{
    const QDate before = date();
    display(d);
    m_field->writeFromProgram(d.isValid() ? QVariant(d) : QVariant());
    if (date() != before)
        emit dateChanged(date());
}

void DBDatePicker::setReadOnly(bool on)
{
    m_readOnly = on;
    m_edit->setReadOnly(on);
    static_cast<TickBox *>(m_check)->setLocked(on);
}

bool DBDatePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && m_readOnly && event->type() == QEvent::KeyPress) {
        // No calendar from the keyboard either.
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_F4 || ((k->modifiers() & Qt::AltModifier) &&
                                       (k->key() == Qt::Key_Down || k->key() == Qt::Key_Up)))
            return true;
    }
    if (watched == m_calendar && event->type() == QEvent::Show && m_edit->date() == kNoDate) {
        // An empty field opens the calendar on this month, not on the placeholder day.
        const QDate today = QDate::currentDate();
        m_calendar->setCurrentPage(today.year(), today.month());
    }
    return QWidget::eventFilter(watched, event);
}

// --------------------------------------------------------------------------- DBCurrencyEdit

DBCurrencyEdit::DBCurrencyEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(u"-?[￥¥]?-?[0-9]*(\\.[0-9]{0,2})?"_s), this));
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_field = new FieldBinding(
        this,
        [this](const QVariant &v) {
            // While the user types, "12." stays as typed as long as it means the shown amount.
            if (hasFocus() && parseCurrency(text()) == v)
                return;
            if (text() != formatCurrency(v))
                QLineEdit::setText(formatCurrency(v));
        },
        [this] { return isReadOnly(); });
    connect(this, &QLineEdit::textEdited, this, [this] { m_field->writeFromUser(amount()); });
}

QVariant DBCurrencyEdit::amount() const
{
    return parseCurrency(text());
}

void DBCurrencyEdit::setAmount(const QVariant &a)
{
    const QVariant v = a.isNull() || !a.isValid() ? QVariant() : QVariant(a.toDouble());
    QLineEdit::setText(formatCurrency(v));
    m_field->writeFromProgram(v);
}

void DBCurrencyEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // Leaving the field shows the amount in its currency form.
    const QString shown = formatCurrency(amount());
    if (text() != shown)
        QLineEdit::setText(shown);
}

// --------------------------------------------------------------------------- DBCheckBox

DBCheckBox::DBCheckBox(QWidget *parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent)
{
    m_field = new FieldBinding(
        this, [this](const QVariant &v) { QCheckBox::setChecked(v.toBool()); }, [this] { return m_readOnly; });
    connect(this, &QCheckBox::clicked, this, [this](bool on) { m_field->writeFromUser(on); });
}

void DBCheckBox::setChecked(bool on)
{
    QCheckBox::setChecked(on);
    m_field->writeFromProgram(on);
}

void DBCheckBox::setReadOnly(bool on)
{
    m_readOnly = on;
    lockButton(this, on);
}

void DBCheckBox::nextCheckState()
{
    if (!m_readOnly)
        QCheckBox::nextCheckState();
}

} // namespace tavimor
