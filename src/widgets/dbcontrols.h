#pragma once

#include "datalink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QCalendarWidget;
class QDateEdit;
class QGridLayout;

namespace tavimor {

class FieldBinding;

// Data-aware controls. Each shows one column of its link's current row and writes into it:
//  - a change by the user (typing, choosing, ticking) is written at once; when the cursor
//    browses, the link's auto-edit first puts it into edit state, so a post right after typing
//    sees the value;
//  - a change by the program through the control's own setter (DBEdit::setText, setDate, ...)
//    is written only when the cursor is already in insert or edit state;
//  - a read-only control never writes; a control without a link is a plain control.
// Empty text is written as null.

// The part of the interface every control shares.
class DataAwareControl
{
public:
    // Shows link's current row in column from now on; throws DatabaseError for a column the
    // table does not have. A null link unbinds.
    void bind(DataLink *link, const QString &column);
    DataLink *dataSource() const;
    QString dataField() const;

protected:
    DataAwareControl() = default;
    ~DataAwareControl() = default;
    FieldBinding *m_field = nullptr;
};

class DBEdit : public QLineEdit, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    // Shows the text; written when the cursor is in insert or edit state.
    void setText(const QString &text);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    void showValue(const QVariant &v);
    QVariant valueOf(const QString &text) const;
};

// Editable list: the text typed or the item chosen is written. The window fills the items;
// typed text is never added to the list.
class DBComboBox : public QComboBox, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBComboBox(QWidget *parent = nullptr);
    // Read-only: shows the value, the list does not open, nothing can be typed or chosen.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    // Shows the text; written when the cursor is in insert or edit state.
    void setEditText(const QString &text);
    void setCurrentText(const QString &text) { setEditText(text); }
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

private:
    void showValue(const QVariant &v);
    bool m_readOnly = false;
};

class DBMemo : public QPlainTextEdit, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);
    // Shows the text; written when the cursor is in insert or edit state. Every other change
    // of the text (typing, pasting, appendPlainText by a pop-up) counts as the user's.
    void setPlainText(const QString &text);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;

private:
    bool m_programSets = false;
};

// A group of radio buttons whose column holds the text of the chosen item ("男", "女").
class DBRadioGroup : public QGroupBox, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBRadioGroup(QWidget *parent = nullptr);
    void setItems(const QStringList &items);
    QStringList items() const { return m_items; }
    void setColumns(int columns);
    int columns() const { return m_columns; }
    // The chosen item, -1 for none.
    int itemIndex() const;
    // Chooses the item (-1: none); its text is written when the cursor is in insert or edit state.
    void setItemIndex(int index);
    QString itemText() const;
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

signals:
    void itemIndexChanged(int index);

private:
    void showValue(const QVariant &v);
    void check(int index);
    void relayout();
    QButtonGroup *m_group;
    QGridLayout *m_grid;
    QStringList m_items;
    int m_columns = 1;
    bool m_readOnly = false;
};

// A date edit with a calendar pop-up, optionally with a tick box: unticked means no date
// (null). Without the tick box a null date shows an empty field. Writes the day (QDate).
class DBDatePicker : public QWidget, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBDatePicker(QWidget *parent = nullptr);
    void setShowCheckBox(bool on);
    bool showCheckBox() const;
    // Ticked (always true without the tick box when a date is shown).
    bool isChecked() const;
    // The shown day; null when unticked or empty.
    QDate date() const;
    // Shows the day (a null date unticks or empties); written when the cursor is in insert or
    // edit state.
    void setDate(const QDate &date);
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    QDateEdit *dateEdit() const { return m_edit; }
    QCheckBox *checkBox() const { return m_check; }

signals:
    void dateChanged(const QDate &date);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showValue(const QVariant &v);
    void display(const QDate &date);
    void userChanged();
    QCheckBox *m_check;
    QDateEdit *m_edit;
    QCalendarWidget *m_calendar;
    bool m_readOnly = false;
    bool m_displaying = false;
};

// An amount of money: shows "￥" and two decimals ("￥0.00" for zero, empty for null), reads
// typed numbers with or without "￥".
class DBCurrencyEdit : public QLineEdit, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBCurrencyEdit(QWidget *parent = nullptr);
    // The amount typed or shown (a double), null when empty.
    QVariant amount() const;
    // Shows the amount (null: empty); written when the cursor is in insert or edit state.
    void setAmount(const QVariant &amount);

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
};

// A yes/no column.
class DBCheckBox : public QCheckBox, public DataAwareControl
{
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget *parent = nullptr);
    DBCheckBox(const QString &text, QWidget *parent = nullptr);
    // Ticks or clears; written when the cursor is in insert or edit state.
    void setChecked(bool on);
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

protected:
    void nextCheckState() override;

private:
    bool m_readOnly = false;
};

} // namespace tavimor
