#include "selecttime_form.h"

#include "dm.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tselecttime_form *selecttime_form = nullptr;

const CallerTarget Tselecttime_form::kCallers[] = {
    {0, u"editstu_form", u"teachtime_dbmemo", WriteMode::NewLine},
    {1, u"edittea_form", u"teachtime_dbmemo", WriteMode::NewLine},
    {2, u"teaquery_form", u"teachtime_memo", WriteMode::NewLine},
    {3, u"editteachrecord_form", u"teachtime_dbedit", WriteMode::AppendDirectly},
    {4, u"stuquery_form", u"teachtime_edit", WriteMode::AppendDirectly},
};

QStringList Tselecttime_form::dayItems()
{
    return {u"星期天"_s, u"星期一"_s, u"星期二"_s, u"星期三"_s, u"星期四"_s, u"星期五"_s, u"星期六"_s};
}

QStringList Tselecttime_form::timeItems()
{
    // Full-width colons.
    return {u"早上5：00"_s,  u"早上6：00"_s,  u"上午7：00"_s,  u"上午8：00"_s,  u"上午9：00"_s,
            u"上午10：00"_s, u"上午11：00"_s, u"中午12：00"_s, u"下午1：00"_s,  u"下午2：00"_s,
            u"下午3：00"_s,  u"下午4：00"_s,  u"下午5：00"_s,  u"下午6：00"_s,  u"晚上7：00"_s,
            u"晚上8：00"_s,  u"晚上9：00"_s,  u"晚上10：00"_s, u"晚上11：00"_s, u"晚上12：00"_s};
}

static QComboBox *makeList(QWidget *parent, const QString &name, const QStringList &items, int width)
{
    auto *cb = new QComboBox(parent);
    cb->setObjectName(name);
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->addItems(items);
    cb->setMaxVisibleItems(20);
    cb->setFixedWidth(width);
    return cb;
}

Tselecttime_form::Tselecttime_form() : ChoicePopup(u"selecttime_form"_s, u"请选择时间段："_s, kCallers)
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(6, 5, 6, 5);
    row->setSpacing(5);
    day_cb = makeList(Panel1, u"day_cb"_s, dayItems(), 86);
    Label2 = new QLabel(u"的"_s, Panel1);
    Label2->setObjectName(u"Label2"_s);
    begin_cb = makeList(Panel1, u"begin_cb"_s, timeItems(), 112);
    Label3 = new QLabel(u"至"_s, Panel1);
    Label3->setObjectName(u"Label3"_s);
    end_cb = makeList(Panel1, u"end_cb"_s, timeItems(), 112);
    row->addWidget(day_cb);
    row->addWidget(Label2);
    row->addWidget(begin_cb);
    row->addWidget(Label3);
    row->addWidget(end_cb);
    body()->addWidget(Panel1);
    promptLabel->setBuddy(day_cb);
    setTabOrder(day_cb, begin_cb);
    setTabOrder(begin_cb, end_cb);
}

QString Tselecttime_form::slotText() const
{
    return day_cb->currentText() + begin_cb->currentText() + u"至"_s + end_cb->currentText();
}

int Tselecttime_form::showFor(int callerValue)
{
    caller = callerValue;
    return exec();
}

void Tselecttime_form::FormShow()
{
    for (QComboBox *cb : {day_cb, begin_cb, end_cb}) {
        cb->setCurrentIndex(-1);
        cb->setEditText(QString());
    }
    day_cb->setFocus();
}

void Tselecttime_form::showEvent(QShowEvent *event)
{
    FormShow();
    ChoicePopup::showEvent(event);
}

void Tselecttime_form::ToolButton1Click()
{
    if (day_cb->currentText().isEmpty() || begin_cb->currentText().isEmpty() ||
        end_cb->currentText().isEmpty()) {
        DM->Message1->information(u"请选择完整的时间!"_s);
        return;
    }
    QWidget *control = requireTarget();
    if (!control)
        return;
    deliver(control, slotText());
    accept();
}

} // namespace tavimor
