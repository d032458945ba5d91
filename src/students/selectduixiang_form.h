#pragma once

#include "choicepopup.h"

namespace tavimor {

// The teaching-target pop-up: pick or type one target; it is added to 授课对象 when new and
// written into the caller's field as a new line.
//
// Callers: 0 teacher editor teachduixiang_dbmemo; any other value the teacher search's
//          teachduixiang_memo.
class Tselectduixiang_form : public LookupChoicePopup
{
    Q_OBJECT
public:
    static const CallerTarget kCallers[];

    Tselectduixiang_form();

    QComboBox *duixiang_dbcb; // an editable list of its own, not bound to any column
};

extern Tselectduixiang_form *selectduixiang_form;

} // namespace tavimor
