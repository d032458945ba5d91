#include "selectcourse_form.h"

#include "dm.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tselectcourse_form *selectcourse_form = nullptr;

const CallerTarget Tselectcourse_form::kCallers[] = {
    {0, u"editstu_form", u"subject_dbedit", WriteMode::JoinWithBar},
    {1, u"edittea_form", u"shanchang_dbedit", WriteMode::JoinWithBar},
    {2, u"teaquery_form", u"subject_edit", WriteMode::JoinWithBar},
    {3, u"stuquery_form", u"subject_edit", WriteMode::JoinWithBar},
};

Tselectcourse_form::Tselectcourse_form()
    : LookupChoicePopup(u"selectcourse_form"_s, u"请选择科目:"_s, kCallers, u"course_cb"_s,
                        {&TDM::course_table, &TDM::course_query, u"名称"_s, u"请选择或输入科目!"_s}),
      course_cb(list())
{
}

} // namespace tavimor
