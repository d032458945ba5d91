#pragma once

#include "choicepopup.h"

namespace tavimor {

// The subject pop-up: pick or type one subject; it is added to 课程 when new and written into
// the caller's field after a "|".
//
// Callers: 0 student editor subject_dbedit, 1 teacher editor shanchang_dbedit,
//          2 teacher search subject_edit, 3 student search subject_edit.
class Tselectcourse_form : public LookupChoicePopup
{
    Q_OBJECT
public:
    static const CallerTarget kCallers[];

    Tselectcourse_form();

    QComboBox *course_cb;
};

extern Tselectcourse_form *selectcourse_form;

} // namespace tavimor
