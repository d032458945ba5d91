#include "selectduixiang_form.h"

#include "dm.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tselectduixiang_form *selectduixiang_form = nullptr;

const CallerTarget Tselectduixiang_form::kCallers[] = {
    {0, u"edittea_form", u"teachduixiang_dbmemo", WriteMode::NewLine},
    {kAnyOtherCaller, u"teaquery_form", u"teachduixiang_memo", WriteMode::NewLine},
};

Tselectduixiang_form::Tselectduixiang_form()
    : LookupChoicePopup(
          u"selectduixiang_form"_s, u"请选择可授课对象:"_s, kCallers, u"duixiang_dbcb"_s,
          {&TDM::teachduixiang_table, &TDM::teachduixiang_query, u"对象"_s, u"请选择或输入可授课的对象!"_s}),
      duixiang_dbcb(list())
{
}

} // namespace tavimor
