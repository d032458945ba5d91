#pragma once

#include "choicepopup.h"

class QComboBox;
class QFrame;
class QLabel;

namespace tavimor {

// The time-slot pop-up: a day, a start and an end time make one slot text, e.g.
// "星期六上午8：00至上午10：00", written into the caller's field.
//
// Callers: 0 student editor teachtime_dbmemo, 1 teacher editor teachtime_dbmemo,
//          2 teacher search teachtime_memo (each a new line); 3 teaching record editor
//          teachtime_dbedit, 4 student search teachtime_edit (appended directly).
class Tselecttime_form : public ChoicePopup
{
    Q_OBJECT
public:
    static const CallerTarget kCallers[];
    static QStringList dayItems();
    static QStringList timeItems(); // the same list for the start and the end

    Tselecttime_form();

    QFrame *Panel1; // the sunken strip
    QComboBox *day_cb;
    QLabel *Label2; // "的"
    QComboBox *begin_cb;
    QLabel *Label3; // "至"
    QComboBox *end_cb;

    // The slot text of the three boxes: day, start, "至", end.
    QString slotText() const;

    // `caller` set, then the modal show (the boxes are emptied when it shows).
    int showFor(int callerValue);

    void FormShow();
    void ToolButton1Click() override;

protected:
    void showEvent(QShowEvent *event) override;
};

extern Tselecttime_form *selecttime_form;

} // namespace tavimor
