#pragma once

#include <QDialog>
#include <QStringView>
#include <limits>
#include <span>

class QComboBox;
class QLabel;
class QToolBar;
class QToolButton;
class QVBoxLayout;

namespace tavimor {

class SqlQuery;
class TableCursor;
class TDM;

// How a pop-up's choice goes into its target control.
enum class WriteMode {
    JoinWithBar,    // after a "|", unless the text is empty
    NewLine,        // as a new last line
    AppendDirectly, // at the very end, no separator
};

// One row of a pop-up's caller table: the value of `caller`, the window (object name) that opens
// the pop-up with that value, the control of that window (object name) that receives the choice,
// and how the choice is written. Adding a caller is adding a row.
struct CallerTarget {
    int caller;
    QStringView form;
    QStringView control;
    WriteMode mode;
};

// The caller value of a row that serves every caller no other row of the table names.
inline constexpr int kAnyOtherCaller = std::numeric_limits<int>::min();

// The common part of the three choice pop-ups: a borderless window in the fixed-cell colour
// with a thin frame line, a prompt, the choice controls (added by the pop-up) and a flat tool bar
// with "&O确定" and "&C关闭". The opener sets `caller` and shows the pop-up modally; on
// confirmation the pop-up writes its value into the caller's target control, found at that moment
// among the top-level windows by object name.
class ChoicePopup : public QDialog
{
    Q_OBJECT
public:
    // Which opener the pop-up serves; it selects the row of the caller table. Openers set it
    // before every show; it keeps its last value otherwise.
    int caller = 0;

    QLabel *promptLabel;
    QToolBar *ToolBar1;
    QToolButton *ToolButton1; // "&O确定": confirm
    QToolButton *ToolButton2; // "&C关闭": close

    // Confirm: check the choice, write it into the target, close.
    virtual void ToolButton1Click() = 0;
    // Close without any other effect.
    void ToolButton2Click();

    // This pop-up's caller table.
    std::span<const CallerTarget> callers() const { return m_callers; }
    // The row of the current caller; nullptr when the table has none for it.
    const CallerTarget *target() const;
    // The current caller's target control, looked up now; nullptr when its window or control is
    // not there.
    QWidget *targetControl() const;

    // Writes value at the end of the text of control (a line edit or a plain-text edit) the way
    // typing there would: a data-aware control writes it into its record (auto-edit included), a
    // plain one just shows it. mode says what comes before value. Returns false for a control
    // that holds no such text.
    static bool writeChoice(QWidget *control, WriteMode mode, const QString &value);

protected:
    ChoicePopup(const QString &objectName, const QString &prompt, std::span<const CallerTarget> callers);

    // The area between the prompt and the tool bar, for the pop-up's own controls.
    QVBoxLayout *body() const { return m_body; }

    // The target control for writing, or nullptr after telling the user that there is none.
    QWidget *requireTarget();
    // Writes value into the target found by requireTarget().
    void deliver(QWidget *control, const QString &value);

    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::span<const CallerTarget> m_callers;
    QVBoxLayout *m_body;
};

// A pop-up whose one editable list offers the values of a lookup table (课程, 授课对象) and
// which adds a typed value that is new to that table on confirmation.
class LookupChoicePopup : public ChoicePopup
{
    Q_OBJECT
public:
    // What every opener does before the show: the list refilled from the table (first row to
    // last), no item chosen and the text empty, `caller` set.
    void prepareFor(int callerValue);
    // prepareFor(callerValue), then the modal show; returns the dialog's result.
    int showFor(int callerValue);

    // Confirm: an empty text is refused with the error box; otherwise the value is added to the
    // table when new (a look-up with the value bound, then an insert through the cursor, so the
    // next opening lists it), written into the caller's target, and the pop-up closes.
    void ToolButton1Click() override;

protected:
    struct Lookup {
        TableCursor *TDM::*table; // the data module's cursor over the lookup table
        SqlQuery *TDM::*query;    // the data module's query for the look-up
        QString column;
        QString emptyMessage;
    };
    LookupChoicePopup(const QString &objectName, const QString &prompt, std::span<const CallerTarget> callers,
                      const QString &listName, Lookup lookup);
    QComboBox *list() const { return m_list; }

private:
    QComboBox *m_list;
    Lookup m_lookup;
};

} // namespace tavimor
