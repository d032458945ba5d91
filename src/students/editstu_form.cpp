#include "editstu_form.h"

#include "command.h"
#include "dbcontrols.h"
#include "dm.h"
#include "errors.h"
#include "fieldlook.h"
#include "look.h"
#include "lookuplist.h"
#include "registerediting.h"
#include "schema.h"
#include "selectcourse_form.h"
#include "selecttime_form.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

static void initStudentResources()
{
    Q_INIT_RESOURCE(students);
}

namespace tavimor {

Teditstu_form *editstu_form = nullptr;

const QString Teditstu_form::kRequiredMessage =
    u"请填写必填项：1.姓名,2.性别,3.年级,4.联系电话,"_s + QChar(u'\r') + u"5.家庭住址,6.价格要求"_s;
const QString Teditstu_form::kDuplicateQuestion =
    u"系统中已经有个姓名、性别、父母亲等都相同的记录了，是否增加一个此记录!"_s;

namespace {

constexpr int kFieldWidth = 170;
constexpr int kMemoHeight = 56;
constexpr int kSideWidth = 160;

template <class Control> Control *named(QWidget *parent, const QString &name)
{
    auto *c = new Control(parent);
    c->setObjectName(name);
    return c;
}

QPixmap decorativePicture()
{
    initStudentResources();
    QSvgRenderer svg(u":/students/student.svg"_s);
    QPixmap pm(120, 100);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p);
    return pm;
}

} // namespace

Teditstu_form::Teditstu_form()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_editing(DM->stu_table, u"学生"_s)
{
    setObjectName(u"editstu_form"_s);
    setFont(songFont(9));
    setModal(true);
    buildControls();
    bindControls();
    setTabOrders();

    connect(save_button, &QPushButton::clicked, this, [this] { runCommand([this] { save_buttonClick(); }); });
    connect(close_button, &QPushButton::clicked, this, [this] { close_buttonClick(); });
    connect(up_button, &QPushButton::clicked, this, [this] { runCommand([this] { up_buttonClick(); }); });
    connect(down_button, &QPushButton::clicked, this, [this] { runCommand([this] { down_buttonClick(); }); });
    connect(subject_dbedit, &DBEdit::doubleClicked, this,
            [this] { runCommand([this] { subject_dbeditDblClick(); }); });
    connect(teachtime_dbmemo, &DBMemo::doubleClicked, this,
            [this] { runCommand([this] { teachtime_dbmemoDblClick(); }); });

    setFixedSize(sizeHint());
}

void Teditstu_form::buildControls()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    Panel1 = named<QLabel>(this, u"Panel1"_s);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    Panel1->setFont(bold);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setMargin(6);
    Panel1->setMinimumHeight(30);
    outer->addWidget(Panel1);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(6);
    outer->addLayout(middle);

    // ---------------------------------------------------------------- the field panel
    Panel2 = named<QFrame>(this, u"Panel2"_s);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    middle->addWidget(Panel2, 1);
    auto *grid = new QGridLayout(Panel2);
    grid->setContentsMargins(8, 8, 10, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(5);
    grid->setColumnMinimumWidth(1, kFieldWidth);
    grid->setColumnMinimumWidth(3, kFieldWidth);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    // A label right-aligned before its field; a multi-line field's label sits at its top line.
    auto place = [&](QWidget *field, const QString &label, int row, int column, int span = 1) {
        auto *l = new QLabel(label, Panel2);
        l->setBuddy(field);
        l->setAlignment(Qt::AlignRight | (qobject_cast<DBMemo *>(field) ? Qt::AlignTop : Qt::AlignVCenter));
        if (qobject_cast<DBMemo *>(field))
            l->setContentsMargins(0, 4, 0, 0);
        grid->addWidget(l, row, column);
        grid->addWidget(field, row, column + 1, 1, span);
    };

    name_dbedit = named<DBEdit>(Panel2, u"name_dbedit"_s);
    sex_dbrg = named<DBRadioGroup>(Panel2, u"sex_dbrg"_s);
    sex_dbrg->setItems({u"男"_s, u"女"_s});
    sex_dbrg->setColumns(2);
    sex_dbrg->setFlat(false);
    school_dbedit = named<DBEdit>(Panel2, u"school_dbedit"_s);
    grade_dbcb = named<DBComboBox>(Panel2, u"grade_dbcb"_s);
    aihao_dbedit = named<DBEdit>(Panel2, u"aihao_dbedit"_s);
    inputdate_dbedit = named<DBDatePicker>(Panel2, u"inputdate_dbedit"_s);
    father_dbedit = named<DBEdit>(Panel2, u"father_dbedit"_s);
    fatherlevel_dbcb = named<DBComboBox>(Panel2, u"fatherlevel_dbcb"_s);
    fatherlevel_dbcb->addItems(educationLevels());
    mother_dbedit = named<DBEdit>(Panel2, u"mother_dbedit"_s);
    motherlevel_dbcb = named<DBComboBox>(Panel2, u"motherlevel_dbcb"_s);
    motherlevel_dbcb->addItems(educationLevels());
    tel_dbedit = named<DBEdit>(Panel2, u"tel_dbedit"_s);
    mobile_dbedit = named<DBEdit>(Panel2, u"mobile_dbedit"_s);
    DigitsOnlyFilter::install(tel_dbedit);
    DigitsOnlyFilter::install(mobile_dbedit);
    address_dbedit = named<DBEdit>(Panel2, u"address_dbedit"_s);
    subject_dbedit = named<DBEdit>(Panel2, u"subject_dbedit"_s);
    teachtime_dbmemo = named<DBMemo>(Panel2, u"teachtime_dbmemo"_s);
    setDoubleClickField(subject_dbedit);
    setDoubleClickField(teachtime_dbmemo);
    score_dbmemo = named<DBMemo>(Panel2, u"score_dbmemo"_s);
    request_dbmemo = named<DBMemo>(Panel2, u"request_dbmemo"_s);
    laoshiyaoqiu_dbedit = named<DBEdit>(Panel2, u"laoshiyaoqiu_dbedit"_s);
    pricerequest_dbcb = named<DBComboBox>(Panel2, u"pricerequest_dbcb"_s);
    pricerequest_dbcb->addItems(priceLevels());
    xieyi_dbedit = named<DBEdit>(Panel2, u"xieyi_dbedit"_s);
    feiyong_dbedit = named<DBCurrencyEdit>(Panel2, u"feiyong_dbedit"_s);
    ziliao_dbedit = named<DBEdit>(Panel2, u"ziliao_dbedit"_s);
    service_dbmemo = named<DBMemo>(Panel2, u"service_dbmemo"_s);
    tuiguangyuan_dbcb = named<DBComboBox>(Panel2, u"tuiguangyuan_dbcb"_s);
    guwen_dbcb = named<DBComboBox>(Panel2, u"guwen_dbcb"_s);

    for (DBMemo *m : {teachtime_dbmemo, score_dbmemo, request_dbmemo, service_dbmemo}) {
        m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m->setTabChangesFocus(true);
        m->setFixedHeight(kMemoHeight);
    }
    for (DBComboBox *cb :
         {grade_dbcb, fatherlevel_dbcb, motherlevel_dbcb, pricerequest_dbcb, tuiguangyuan_dbcb, guwen_dbcb})
        cb->setMaxVisibleItems(15);

    int row = 0;
    place(name_dbedit, u"姓    名:"_s, row, 0);
    place(sex_dbrg, u"性    别:"_s, row++, 2);
    place(school_dbedit, u"学    校:"_s, row, 0);
    place(grade_dbcb, u"年    级:"_s, row++, 2);
    place(aihao_dbedit, u"爱    好:"_s, row, 0);
    place(inputdate_dbedit, u"登记日期:"_s, row++, 2);
    place(father_dbedit, u"父亲姓名:"_s, row, 0);
    place(fatherlevel_dbcb, u"文化程度:"_s, row++, 2);
    place(mother_dbedit, u"母亲姓名:"_s, row, 0);
    place(motherlevel_dbcb, u"文化程度:"_s, row++, 2);
    place(tel_dbedit, u"联系电话:"_s, row, 0);
    place(mobile_dbedit, u"手    机:"_s, row++, 2);
    place(address_dbedit, u"家庭住址:"_s, row++, 0, 3);
    place(subject_dbedit, u"辅导科目:"_s, row++, 0, 3);
    place(teachtime_dbmemo, u"辅导时间:"_s, row++, 0, 3);
    place(score_dbmemo, u"学生成绩:"_s, row, 0);
    place(request_dbmemo, u"具体要求:"_s, row++, 2);
    place(laoshiyaoqiu_dbedit, u"老师要求:"_s, row, 0);
    place(pricerequest_dbcb, u"价格要求:"_s, row++, 2);
    place(xieyi_dbedit, u"协    议:"_s, row, 0);
    place(feiyong_dbedit, u"费    用:"_s, row++, 2);
    place(ziliao_dbedit, u"资    料:"_s, row++, 0, 3);
    place(service_dbmemo, u"客户服务:"_s, row++, 0, 3);
    place(tuiguangyuan_dbcb, u"推 广 员:"_s, row, 0);
    place(guwen_dbcb, u"顾    问:"_s, row++, 2);
    grid->setRowStretch(row, 1);

    // ---------------------------------------------------------------- the right-hand column
    auto *side = new QVBoxLayout;
    side->setSpacing(8);
    middle->addLayout(side);

    Image1 = named<QLabel>(this, u"Image1"_s);
    Image1->setPixmap(decorativePicture());
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setFixedWidth(kSideWidth);
    side->addWidget(Image1);

    Label16 = named<QLabel>(this, u"Label16"_s);
    Label16->setText(
        u"提示:数据录入时,在下拉列表中没有你所要的年级,可直接填写,保存后系统自动添加到年级表中!"_s);
    Label16->setWordWrap(true);
    Label16->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label16->setMargin(6);
    Label16->setFixedWidth(kSideWidth);
    Label16->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    side->addWidget(Label16);
    side->addStretch(1);

    auto *steps = new QHBoxLayout;
    up_button = named<QPushButton>(this, u"up_button"_s);
    up_button->setText(u"上"_s);
    down_button = named<QPushButton>(this, u"down_button"_s);
    down_button->setText(u"下"_s);
    for (QPushButton *b : {up_button, down_button}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(50);
        steps->addWidget(b);
    }
    side->addLayout(steps);

    lianxu_check = named<QCheckBox>(this, u"lianxu_check"_s);
    lianxu_check->setText(u"连续添加"_s);
    side->addWidget(lianxu_check);

    save_button = named<QPushButton>(this, u"save_button"_s);
    save_button->setText(u"&S保存"_s);
    save_button->setDefault(true);
    close_button = named<QPushButton>(this, u"close_button"_s);
    close_button->setText(u"&C关闭"_s);
    close_button->setAutoDefault(false);
    for (QPushButton *b : {save_button, close_button}) {
        b->setMinimumHeight(28);
        side->addWidget(b);
    }
}

void Teditstu_form::bindControls()
{
    DataLink *ds = DM->stu_ds;
    name_dbedit->bind(ds, u"学生姓名"_s);
    sex_dbrg->bind(ds, u"性别"_s);
    school_dbedit->bind(ds, u"学校"_s);
    grade_dbcb->bind(ds, u"年级"_s);
    aihao_dbedit->bind(ds, u"爱好"_s);
    inputdate_dbedit->bind(ds, u"登记日期"_s);
    father_dbedit->bind(ds, u"父亲姓名"_s);
    fatherlevel_dbcb->bind(ds, u"父亲文化程度"_s);
    mother_dbedit->bind(ds, u"母亲姓名"_s);
    motherlevel_dbcb->bind(ds, u"母亲文化程度"_s);
    tel_dbedit->bind(ds, u"联系电话"_s);
    mobile_dbedit->bind(ds, u"手机号码"_s);
    address_dbedit->bind(ds, u"家庭住址"_s);
    subject_dbedit->bind(ds, u"辅导科目"_s);
    teachtime_dbmemo->bind(ds, u"辅导时间"_s);
    score_dbmemo->bind(ds, u"学生成绩"_s);
    request_dbmemo->bind(ds, u"客户要求"_s);
    laoshiyaoqiu_dbedit->bind(ds, u"老师要求"_s);
    pricerequest_dbcb->bind(ds, u"价格要求"_s);
    xieyi_dbedit->bind(ds, u"协议"_s);
    feiyong_dbedit->bind(ds, u"费用"_s);
    ziliao_dbedit->bind(ds, u"资料"_s);
    service_dbmemo->bind(ds, u"客户服务记录"_s);
    tuiguangyuan_dbcb->bind(ds, u"推广员"_s);
    guwen_dbcb->bind(ds, u"顾问"_s);
}

void Teditstu_form::setTabOrders()
{
    const QList<QWidget *> order = {
        name_dbedit,      sex_dbrg,       school_dbedit,       grade_dbcb,        aihao_dbedit,
        inputdate_dbedit, father_dbedit,  fatherlevel_dbcb,    mother_dbedit,     motherlevel_dbcb,
        tel_dbedit,       mobile_dbedit,  address_dbedit,      subject_dbedit,    teachtime_dbmemo,
        score_dbmemo,     request_dbmemo, laoshiyaoqiu_dbedit, pricerequest_dbcb, xieyi_dbedit,
        feiyong_dbedit,   ziliao_dbedit,  service_dbmemo,      tuiguangyuan_dbcb, guwen_dbcb,
        up_button,        down_button,    save_button,         close_button,      lianxu_check,
    };
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

// --------------------------------------------------------------------------- modes

void Teditstu_form::setMode(const QString &title, const QString &heading, bool adding, bool viewing)
{
    setWindowTitle(title);
    Panel1->setText(heading);
    lianxu_check->setEnabled(adding);
    lianxu_check->setChecked(false);
    up_button->setEnabled(viewing);
    down_button->setEnabled(viewing);
    save_button->setEnabled(!viewing);
    if (viewing)
        readonlyfunc();
    else
        notreadonlyfunc();
}

void Teditstu_form::prepareForAdd()
{
    setMode(u"增加学生记录"_s, u"[学生信息]-基本信息录入"_s, true, false);
    inputdate_dbedit->setDate(QDateTime::currentDateTime().date());
}

void Teditstu_form::prepareForChange()
{
    setMode(u"修改学生记录"_s, u"[学生信息]-基本信息修改"_s, false, false);
}

void Teditstu_form::prepareForView()
{
    setMode(u"查看学生记录"_s, u"[学生信息]-查看基本信息"_s, false, true);
}

bool Teditstu_form::isAddMode() const
{
    return lianxu_check->isEnabled();
}

static void setChangeable(const Teditstu_form *f, bool on)
{
    for (DBEdit *e : {f->name_dbedit, f->school_dbedit, f->aihao_dbedit, f->father_dbedit, f->mother_dbedit,
                      f->address_dbedit, f->tel_dbedit, f->mobile_dbedit, f->laoshiyaoqiu_dbedit,
                      f->xieyi_dbedit, f->ziliao_dbedit})
        e->setReadOnly(!on);
    f->sex_dbrg->setReadOnly(!on);
    for (DBMemo *m : {f->score_dbmemo, f->request_dbmemo, f->service_dbmemo})
        m->setReadOnly(!on);
    for (QWidget *w : std::initializer_list<QWidget *>{
             f->grade_dbcb, f->inputdate_dbedit, f->tuiguangyuan_dbcb, f->guwen_dbcb, f->fatherlevel_dbcb,
             f->motherlevel_dbcb, f->pricerequest_dbcb, f->feiyong_dbedit, f->subject_dbedit,
             f->teachtime_dbmemo})
        w->setEnabled(on);
}

void Teditstu_form::readonlyfunc()
{
    setChangeable(this, false);
}

void Teditstu_form::notreadonlyfunc()
{
    setChangeable(this, true);
}

// --------------------------------------------------------------------------- showing

void Teditstu_form::refillGrades()
{
    refillItems(grade_dbcb, lookupValues(DM->stugrade_table, u"学生年级"_s));
}

void Teditstu_form::FormShow()
{
    refillGrades();
    // A list whose table is empty keeps what it offered before.
    if (DM->guwen_table->recordCount() > 0)
        refillItems(guwen_dbcb, lookupValues(DM->guwen_table, u"姓名"_s));
    if (DM->tuiguangyuan_table->recordCount() > 0)
        refillItems(tuiguangyuan_dbcb, lookupValues(DM->tuiguangyuan_table, u"姓名"_s));
}

void Teditstu_form::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        runCommand([this] { FormShow(); });
        if (QScreen *s = screen()) {
            QRect r(QPoint(0, 0), frameGeometry().size());
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
        name_dbedit->setFocus();
    }
    QDialog::showEvent(event);
}

void Teditstu_form::keyPressEvent(QKeyEvent *event)
{
    // The editor ends only by saving or by its close button: Esc does not throw typing away.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --------------------------------------------------------------------------- saving

bool Teditstu_form::requiredFilled() const
{
    return !address_dbedit->text().isEmpty() && !name_dbedit->text().isEmpty() &&
           !tel_dbedit->text().isEmpty() && sex_dbrg->itemIndex() >= 0 &&
           !grade_dbcb->currentText().isEmpty() && !pricerequest_dbcb->currentText().isEmpty();
}

bool Teditstu_form::isDuplicate() const
{
    // An empty box matches an empty (null) column.
    SqlQuery *q = DM->stu_query;
    q->close();
    q->open(
        u"select * from \"客户资料表\" where \"学生姓名\" = ? and COALESCE(\"性别\", '') = ?"
        u" and COALESCE(\"父亲姓名\", '') = ? and COALESCE(\"母亲姓名\", '') = ? and COALESCE(\"学校\", '') = ?"_s,
        {name_dbedit->text(), sex_dbrg->itemText(), father_dbedit->text(), mother_dbedit->text(),
         school_dbedit->text()});
    return !q->isEmpty();
}

bool Teditstu_form::postChange()
{
    return m_editing.post();
}

bool Teditstu_form::writeNewRecord()
{
    TableCursor *stu = DM->stu_table;
    const QString grade = grade_dbcb->currentText();
    try {
        // The register shows every student again; the new row stays pending.
        if (stu->isFiltered())
            stu->setFiltered(false);
        const qint64 number = DM->issueNumber(u"S"_s);
        stu->setValue(u"编号"_s, QString::number(number));
        const QDate day = inputdate_dbedit->date();
        stu->setValue(u"登记日期"_s, day.isValid() ? QVariant(day.toString(u"yyyy-MM-dd"_s)) : QVariant());
    } catch (const DatabaseError &e) {
        m_editing.reportNotSaved(e.message());
        return false;
    }
    if (!m_editing.post())
        return false;
    try {
        addLookupValue(DM->stugrade_query, DM->stugrade_table, u"学生年级"_s, grade);
    } catch (const DatabaseError &e) {
        // The save stops at this step; the record itself is already written.
        DM->Message1->messageBox(u"学生记录已保存，但年级“%1”没有加入年级表：%2"_s.arg(grade, e.message()),
                                 MessageService::Kind::Error, MessageService::Buttons::Ok);
        return false;
    }
    return true;
}

void Teditstu_form::continueOrClose()
{
    if (!lianxu_check->isChecked()) {
        accept();
        return;
    }
    DM->stu_table->insert();
    inputdate_dbedit->setDate(QDateTime::currentDateTime().date());
    refillGrades();
    name_dbedit->setFocus();
}

void Teditstu_form::save_buttonClick()
{
    if (!requiredFilled()) {
        DM->Message1->messageBox(kRequiredMessage, MessageService::Kind::Error, MessageService::Buttons::Ok);
        return;
    }
    if (!isAddMode()) {
        if (!postChange())
            return;
    } else if (isDuplicate() &&
               DM->Message1->plainBox(kDuplicateQuestion, u"警告"_s, MessageService::Kind::Stop,
                                      MessageService::Buttons::YesNo) != MessageService::Yes) {
        DM->stu_table->cancel();
    } else if (!writeNewRecord()) {
        return;
    }
    continueOrClose();
}

// --------------------------------------------------------------------------- closing

void Teditstu_form::close_buttonClick()
{
    close();
}

void Teditstu_form::FormClose()
{
    m_editing.discard();
}

void Teditstu_form::done(int result)
{
    runCommand([this] { FormClose(); });
    QDialog::done(result);
}

// --------------------------------------------------------------------------- stepping

void Teditstu_form::up_buttonClick()
{
    m_editing.stepPrior();
}

void Teditstu_form::down_buttonClick()
{
    m_editing.stepNext();
}

// --------------------------------------------------------------------------- pop-ups

void Teditstu_form::subject_dbeditDblClick()
{
    if (!subject_dbedit->isEnabled() || subject_dbedit->isReadOnly())
        return;
    selectcourse_form->showFor(0);
}

void Teditstu_form::teachtime_dbmemoDblClick()
{
    if (!teachtime_dbmemo->isEnabled() || teachtime_dbmemo->isReadOnly())
        return;
    selecttime_form->showFor(0);
}

} // namespace tavimor
