#include "edittea_form.h"

#include "command.h"
#include "dbcontrols.h"
#include "dm.h"
#include "errors.h"
#include "fieldlook.h"
#include "look.h"
#include "lookuplist.h"
#include "schema.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

static void initTeacherResources()
{
    Q_INIT_RESOURCE(teachers);
}

namespace tavimor {

Tedittea_form *edittea_form = nullptr;

namespace {

const QString kOpenFamilyCaption = u"添加家庭成员>>"_s;
const QString kCloseFamilyCaption = u"<<完成添加家庭成员"_s;

// Widths of the fixed parts of the window; the main panel takes what is left of the narrow width.
constexpr int kMargin = 6;
constexpr int kSideColumnWidth = 92;
constexpr int kFamilyPanelWidth = Tedittea_form::kWideWidth - Tedittea_form::kNarrowWidth - kMargin;

template <class W>
W *named(W *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

template <class W>
W *boundControl(QWidget *parent, const QString &name, const QString &column)
{
    auto *w = named(new W(parent), name);
    w->bind(DM->tea_ds, column);
    return w;
}

DBComboBox *listControl(QWidget *parent, const QString &name, const QString &column, const QStringList &items = {})
{
    auto *cb = boundControl<DBComboBox>(parent, name, column);
    cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cb->setMinimumContentsLength(4);
    cb->addItems(items);
    return cb;
}

DBMemo *memoControl(QWidget *parent, const QString &name, const QString &column)
{
    auto *m = boundControl<DBMemo>(parent, name, column);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m->setTabChangesFocus(true);
    return m;
}

DBDatePicker *dateControl(QWidget *parent, const QString &name, const QString &column)
{
    return boundControl<DBDatePicker>(parent, name, column);
}

QLabel *fieldLabel(const QString &text, QWidget *buddy, Qt::Alignment vertical = Qt::AlignVCenter)
{
    auto *l = new QLabel(text);
    l->setAlignment(Qt::AlignRight | vertical);
    l->setBuddy(buddy);
    if (vertical == Qt::AlignTop) // level with the first line of a multi-line field
        l->setContentsMargins(0, 3, 0, 0);
    return l;
}

// Clears a list and fills it again from a lookup table; a bound list keeps its record's value.
void refillList(QComboBox *list, const TableCursor *table, const QString &column)
{
    refillItems(list, lookupValues(table, column));
}

QVariant dayText(const QDate &d)
{
    return d.isValid() ? QVariant(d.toString(u"yyyy-MM-dd"_s)) : QVariant();
}

MessageService &messages()
{
    return *DM->Message1;
}

} // namespace

// =============================================================================== construction

Tedittea_form::Tedittea_form(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_editing(DM->tea_table, u"老师"_s)
{
    initTeacherResources();
    setObjectName(u"edittea_form"_s);
    setFont(songFont(9));
    setModal(true);

    Panel2 = named(new QLabel(this), u"Panel2"_s);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setMargin(4);
    Panel2->setIndent(6);
    QFont headerFont = songFont(11);
    headerFont.setBold(true);
    Panel2->setFont(headerFont);
    Panel2->setAutoFillBackground(true);
    QPalette headerPalette = Panel2->palette();
    headerPalette.setColor(QPalette::Window, colorFromBgr(kDoubleClickFieldColor));
    Panel2->setPalette(headerPalette);

    buildMainPanel();
    QWidget *side = buildSideColumn();
    buildFamilyPanel();

    auto *body = new QHBoxLayout;
    body->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    body->setSpacing(kMargin);
    body->addWidget(panel1, 1);
    body->addWidget(side);
    body->addWidget(Panel3);

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(Panel2);
    top->addLayout(body, 1);

    setTabOrderChain();

    connect(save_button, &QPushButton::clicked, this, &Tedittea_form::save_buttonClick);
    connect(close_button, &QPushButton::clicked, this, &Tedittea_form::close_buttonClick);
    connect(up_button, &QPushButton::clicked, this, &Tedittea_form::up_buttonClick);
    connect(down_button, &QPushButton::clicked, this, &Tedittea_form::down_buttonClick);
    connect(chengyuan_button, &QToolButton::clicked, this, &Tedittea_form::chengyuan_buttonClick);
    connect(shanchang_dbedit, &DBEdit::doubleClicked, this, &Tedittea_form::shanchang_dbeditDblClick);
    connect(teachduixiang_dbmemo, &DBMemo::doubleClicked, this, &Tedittea_form::teachduixiang_dbmemoDblClick);
    connect(teachtime_dbmemo, &DBMemo::doubleClicked, this, &Tedittea_form::teachtime_dbmemoDblClick);

    // The height follows the content; the width is one of the two fixed widths.
    Panel3->setVisible(true);
    layout()->activate();
    m_height = layout()->totalMinimumSize().height();
    Panel3->setVisible(false);
    applyFamilyPanelWidth();
}

void Tedittea_form::buildMainPanel()
{
    panel1 = named(new QFrame(this), u"panel1"_s);
    panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto *grid = new QGridLayout(panel1);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    QWidget *p = panel1;
    name_dbedit = boundControl<DBEdit>(p, u"name_dbedit"_s, u"姓名"_s);
    sex_dbrg = boundControl<DBRadioGroup>(p, u"sex_dbrg"_s, u"性别"_s);
    sex_dbrg->setItems({u"男"_s, u"女"_s});
    sex_dbrg->setColumns(2);
    sex_dbrg->setTitle(QString());
    sex_dbrg->setFlat(true);
    hometown_dbcb = listControl(p, u"hometown_dbcb"_s, u"籍贯"_s);
    borth_dbdtp = dateControl(p, u"borth_dbdtp"_s, u"出生年月"_s);
    school_dbedit = boundControl<DBEdit>(p, u"school_dbedit"_s, u"院校"_s);
    grade_dbcb = listControl(p, u"grade_dbcb"_s, u"年级"_s);
    zhuanye_dbcb = listControl(p, u"zhuanye_dbcb"_s, u"专业"_s);
    jiangli_dbedit = boundControl<DBEdit>(p, u"jiangli_dbedit"_s, u"曾得奖励"_s);
    aihao_dbedit = boundControl<DBEdit>(p, u"aihao_dbedit"_s, u"爱好"_s);
    idnumber_dbedit = boundControl<DBEdit>(p, u"idnumber_dbedit"_s, u"身份证号"_s);
    homeaddress_dbedit = boundControl<DBEdit>(p, u"homeaddress_dbedit"_s, u"家庭住址"_s);
    hometel_dbedit = boundControl<DBEdit>(p, u"hometel_dbedit"_s, u"家庭电话"_s);
    nowaddress_dbedit = boundControl<DBEdit>(p, u"nowaddress_dbedit"_s, u"现居地址"_s);
    nowtel_dbedit = boundControl<DBEdit>(p, u"nowtel_dbedit"_s, u"现居电话"_s);
    mobile_dbedit = boundControl<DBEdit>(p, u"mobile_dbedit"_s, u"手机"_s);
    email_dbedit = boundControl<DBEdit>(p, u"email_dbedit"_s, u"电子邮件"_s);
    oicq_dbedit = boundControl<DBEdit>(p, u"oicq_dbedit"_s, u"QQ号码"_s);
    shanchang_dbedit = boundControl<DBEdit>(p, u"shanchang_dbedit"_s, u"擅长科目"_s);
    teachduixiang_dbmemo = memoControl(p, u"teachduixiang_dbmemo"_s, u"可以教授的对象"_s);
    teachtime_dbmemo = memoControl(p, u"teachtime_dbmemo"_s, u"可教学时间"_s);
    express_dbmemo = memoControl(p, u"express_dbmemo"_s, u"个人简历"_s);
    beizhu_dbmemo = memoControl(p, u"beizhu_dbmemo"_s, u"备注"_s);
    meettime_dbdtp = dateControl(p, u"meettime_dbdtp"_s, u"面试时间"_s);
    mianshiguan_dbedit = boundControl<DBEdit>(p, u"mianshiguan_dbedit"_s, u"面试官"_s);
    score_dbcb = listControl(p, u"score_dbcb"_s, u"得分"_s, scoreGrades());
    inputdate_dbdtp = dateControl(p, u"inputdate_dbdtp"_s, u"登记日期"_s);
    pingjia_dbmemo = memoControl(p, u"pingjia_dbmemo"_s, u"评价"_s);

    chengyuan_button = named(new QToolButton(p), u"chengyuan_button"_s);
    chengyuan_button->setText(kOpenFamilyCaption);
    chengyuan_button->setAutoRaise(true);
    chengyuan_button->setFocusPolicy(Qt::NoFocus);
    chengyuan_button->setCursor(Qt::PointingHandCursor);

    for (QWidget *w : {static_cast<QWidget *>(shanchang_dbedit), static_cast<QWidget *>(teachduixiang_dbmemo),
                       static_cast<QWidget *>(teachtime_dbmemo)})
        setDoubleClickField(w);
    // idnumber_dbeditKeyPress, hometel_dbeditKeyPress, nowtel_dbeditKeyPress, mobile_dbeditKeyPress,
    // oicq_dbeditKeyPress: the shared digits-only key filter.
    for (QWidget *w : {idnumber_dbedit, hometel_dbedit, nowtel_dbedit, mobile_dbedit, oicq_dbedit})
        DigitsOnlyFilter::install(w);

    teachduixiang_dbmemo->setFixedHeight(44);
    teachtime_dbmemo->setFixedHeight(58);
    express_dbmemo->setFixedHeight(44);
    beizhu_dbmemo->setFixedHeight(38);
    pingjia_dbmemo->setFixedHeight(38);

    int row = 0;
    auto pair = [&](const QString &l1, QWidget *f1, const QString &l2, QWidget *f2) {
        grid->addWidget(fieldLabel(l1, f1), row, 0);
        grid->addWidget(f1, row, 1);
        if (f2) {
            grid->addWidget(fieldLabel(l2, f2), row, 2);
            grid->addWidget(f2, row, 3);
        }
        ++row;
    };
    auto wide = [&](const QString &l, QWidget *f, Qt::Alignment vertical = Qt::AlignVCenter) {
        grid->addWidget(fieldLabel(l, f, vertical), row, 0);
        grid->addWidget(f, row, 1, 1, 3);
        ++row;
    };

    pair(u"姓    名:"_s, name_dbedit, u"性    别:"_s, sex_dbrg);
    pair(u"籍    贯:"_s, hometown_dbcb, u"出生年月:"_s, borth_dbdtp);
    pair(u"院    校:"_s, school_dbedit, u"年    级;"_s, grade_dbcb);
    pair(u"专    业:"_s, zhuanye_dbcb, u"曾得奖励:"_s, jiangli_dbedit);
    pair(u"爱    好:"_s, aihao_dbedit, u"身份证号:"_s, idnumber_dbedit);
    wide(u"家庭住址:"_s, homeaddress_dbedit);
    pair(u"家庭电话:"_s, hometel_dbedit, {}, nullptr);
    grid->addWidget(chengyuan_button, row - 1, 2, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    wide(u"现居地址:"_s, nowaddress_dbedit);
    pair(u"现居电话:"_s, nowtel_dbedit, u"手    机:"_s, mobile_dbedit);
    pair(u"电子邮件:"_s, email_dbedit, u"O I C Q :"_s, oicq_dbedit);
    wide(u"擅长科目:"_s, shanchang_dbedit);
    wide(u"可教对象:"_s, teachduixiang_dbmemo, Qt::AlignTop);
    wide(u"可教授时间"_s, teachtime_dbmemo, Qt::AlignTop);
    wide(u"个人简历:"_s, express_dbmemo, Qt::AlignTop);
    wide(u"备    注:"_s, beizhu_dbmemo, Qt::AlignTop);
    pair(u"面试日期:"_s, meettime_dbdtp, u"面 试 官:"_s, mianshiguan_dbedit);
    pair(u"得    分:"_s, score_dbcb, u"登记日期:"_s, inputdate_dbdtp);
    wide(u"评    价:"_s, pingjia_dbmemo, Qt::AlignTop);
    grid->setRowStretch(row, 1);
}

QWidget *Tedittea_form::buildSideColumn()
{
    auto *side = new QWidget(this);
    side->setObjectName(u"side_column"_s);
    side->setFixedWidth(kSideColumnWidth);
    auto *v = new QVBoxLayout(side);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(6);

    Image1 = named(new QLabel(side), u"Image1"_s);
    Image1->setAlignment(Qt::AlignCenter);
    {
        const qreal dpr = devicePixelRatioF();
        QPixmap pm(QSize(80, 80) * dpr);
        pm.setDevicePixelRatio(dpr);
        pm.fill(Qt::transparent);
        QSvgRenderer svg(u":/teachers/teacher.svg"_s);
        QPainter painter(&pm);
        svg.render(&painter, QRectF(0, 0, 80, 80));
        painter.end();
        Image1->setPixmap(pm);
    }
    v->addWidget(Image1);

    Label23 = named(new QLabel(side), u"Label23"_s);
    Label23->setText(u"提示:数据录入时,在下拉列表中没有你所要的数据,可直接填写,保存后系统自动将添加到相应的表中!"_s);
    Label23->setWordWrap(true);
    Label23->setFrameStyle(QFrame::Box | QFrame::Plain);
    Label23->setMargin(4);
    Label23->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label23->setAutoFillBackground(true);
    QPalette notePalette = Label23->palette();
    notePalette.setColor(QPalette::Window, QColor(255, 255, 232));
    notePalette.setColor(QPalette::WindowText, QColor(90, 70, 20));
    Label23->setPalette(notePalette);
    v->addWidget(Label23);
    v->addStretch(1);

    up_button = named(new QPushButton(u"上"_s, side), u"up_button"_s);
    down_button = named(new QPushButton(u"下"_s, side), u"down_button"_s);
    for (QPushButton *b : {up_button, down_button}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(10);
    }
    auto *steps = new QHBoxLayout;
    steps->setSpacing(4);
    steps->addWidget(up_button);
    steps->addWidget(down_button);
    v->addLayout(steps);

    lianxu_check = named(new QCheckBox(u"连续添加"_s, side), u"lianxu_check"_s);
    v->addWidget(lianxu_check);

    save_button = named(new QPushButton(u"&S保存"_s, side), u"save_button"_s);
    save_button->setDefault(true);
    close_button = named(new QPushButton(u"&C关闭"_s, side), u"close_button"_s);
    close_button->setAutoDefault(false);
    v->addWidget(save_button);
    v->addWidget(close_button);
    return side;
}

void Tedittea_form::buildFamilyPanel()
{
    Panel3 = named(new QFrame(this), u"Panel3"_s);
    Panel3->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Panel3->setFixedWidth(kFamilyPanelWidth);
    auto *v = new QVBoxLayout(Panel3);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(6);

    DBComboBox **chenhu[] = {&chenhu1_dbcb, &chenhu2_dbcb, &chenhu3_dbcb};
    DBEdit **danwei[] = {&danwei1_dbedit, &danwei2_dbedit, &danwei3_dbedit};
    DBComboBox **zhichen[] = {&zhichen1_dbcb, &zhichen2_dbcb, &zhichen3_dbcb};
    DBEdit **dianhua[] = {&danweidianhua1_dbedit, &danweidianhua2_dbedit, &danweidianhua3_dbedit};
    QGroupBox **groups[] = {&GroupBox1, &GroupBox2, &GroupBox3};

    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        const QString member = u"成员"_s + n;
        auto *g = named(new QGroupBox(u"家庭成员"_s + n, Panel3), u"GroupBox"_s + n);
        *groups[i] = g;
        *chenhu[i] = listControl(g, u"chenhu"_s + n + u"_dbcb"_s, member + u"称呼"_s, familyRelations());
        *danwei[i] = boundControl<DBEdit>(g, u"danwei"_s + n + u"_dbedit"_s, member + u"单位"_s);
        *zhichen[i] = listControl(g, u"zhichen"_s + n + u"_dbcb"_s, member + u"职称"_s);
        *dianhua[i] = boundControl<DBEdit>(g, u"danweidianhua"_s + n + u"_dbedit"_s, member + u"单位电话"_s);
        // danweidianhua1_dbeditKeyPress serves the work phones of all three members.
        DigitsOnlyFilter::install(*dianhua[i]);

        // The panel is narrow: each label stands above its field, which takes the full width.
        auto *fields = new QVBoxLayout(g);
        fields->setContentsMargins(6, 2, 6, 6);
        fields->setSpacing(1);
        const std::pair<QString, QWidget *> rows[] = {{u"称呼:"_s, *chenhu[i]},
                                                      {u"工作单位:"_s, *danwei[i]},
                                                      {u"职称:"_s, *zhichen[i]},
                                                      {u"单位电话:"_s, *dianhua[i]}};
        for (const auto &[text, field] : rows) {
            auto *label = new QLabel(text, g);
            label->setBuddy(field);
            if (field != *chenhu[i])
                fields->addSpacing(3);
            fields->addWidget(label);
            fields->addWidget(field);
        }
        v->addWidget(g);
    }
    v->addStretch(1);
}

void Tedittea_form::setTabOrderChain()
{
    QList<QWidget *> chain{name_dbedit};
    chain << sex_dbrg->findChildren<QRadioButton *>().value(0) << sex_dbrg->findChildren<QRadioButton *>().value(1);
    chain << hometown_dbcb << borth_dbdtp << school_dbedit << grade_dbcb << zhuanye_dbcb
          << jiangli_dbedit << aihao_dbedit << idnumber_dbedit << homeaddress_dbedit << hometel_dbedit
          << nowaddress_dbedit << nowtel_dbedit << mobile_dbedit << email_dbedit << oicq_dbedit
          << shanchang_dbedit << teachduixiang_dbmemo << teachtime_dbmemo << express_dbmemo << beizhu_dbmemo
          << meettime_dbdtp << mianshiguan_dbedit << score_dbcb << inputdate_dbdtp
          << pingjia_dbmemo << up_button << down_button;
    chain << chenhu1_dbcb << danwei1_dbedit << zhichen1_dbcb << danweidianhua1_dbedit;
    chain << chenhu2_dbcb << danwei2_dbedit << zhichen2_dbcb << danweidianhua2_dbedit;
    chain << chenhu3_dbcb << danwei3_dbedit << zhichen3_dbcb << danweidianhua3_dbedit;
    chain << save_button << close_button << lianxu_check;
    chain.removeAll(nullptr);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

// =============================================================================== modes

void Tedittea_form::prepareForAdd()
{
    prepare(u"增加老师记录"_s, u"[老师信息]-基本信息录入"_s, Mode::Add);
}

void Tedittea_form::prepareForChange()
{
    prepare(u"修改老师记录"_s, u"[老师信息]-基本信息修改"_s, Mode::Change);
}

void Tedittea_form::prepareForView()
{
    prepare(u"查看老师记录"_s, u"[老师信息]-查看基本信息"_s, Mode::View);
}

void Tedittea_form::prepare(const QString &title, const QString &header, Mode mode)
{
    setWindowTitle(title);
    Panel2->setText(header);
    lianxu_check->setEnabled(mode == Mode::Add);
    lianxu_check->setChecked(false);
    up_button->setEnabled(mode == Mode::View);
    down_button->setEnabled(mode == Mode::View);
    save_button->setEnabled(mode != Mode::View);
    if (mode == Mode::Add)
        setDatesToNow();
    if (mode == Mode::View)
        readonlyfunc();
    else
        notreadonlyfunc();
}

QList<QWidget *> Tedittea_form::readOnlyControls() const
{
    return {name_dbedit,        sex_dbrg,           school_dbedit,         idnumber_dbedit,
            aihao_dbedit,       jiangli_dbedit,     homeaddress_dbedit,    hometel_dbedit,
            nowaddress_dbedit,  nowtel_dbedit,      mobile_dbedit,         email_dbedit,
            oicq_dbedit,        express_dbmemo,     beizhu_dbmemo,         mianshiguan_dbedit,
            pingjia_dbmemo,     danwei1_dbedit,     danwei2_dbedit,        danwei3_dbedit,
            danweidianhua1_dbedit, danweidianhua2_dbedit, danweidianhua3_dbedit};
}

QList<QWidget *> Tedittea_form::disabledControls() const
{
    return {hometown_dbcb,    borth_dbdtp,          grade_dbcb,       zhuanye_dbcb,   meettime_dbdtp,
            score_dbcb,       inputdate_dbdtp,      shanchang_dbedit, teachduixiang_dbmemo,
            teachtime_dbmemo, zhichen1_dbcb,        zhichen2_dbcb,    zhichen3_dbcb,  chenhu1_dbcb,
            chenhu2_dbcb,     chenhu3_dbcb};
}

static void setControlReadOnly(QWidget *w, bool on)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setReadOnly(on);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        m->setReadOnly(on);
    else if (auto *g = qobject_cast<DBRadioGroup *>(w))
        g->setReadOnly(on);
}

void Tedittea_form::readonlyfunc()
{
    for (QWidget *w : readOnlyControls())
        setControlReadOnly(w, true);
    for (QWidget *w : disabledControls())
        w->setEnabled(false);
    chengyuan_button->setEnabled(true);
}

void Tedittea_form::notreadonlyfunc()
{
    for (QWidget *w : readOnlyControls())
        setControlReadOnly(w, false);
    for (QWidget *w : disabledControls())
        w->setEnabled(true);
}

// =============================================================================== showing, closing

void Tedittea_form::showEvent(QShowEvent *e)
{
    if (!e->spontaneous()) {
        applyFamilyPanelWidth();
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
        FormShow();
    }
    QDialog::showEvent(e);
}

void Tedittea_form::FormShow()
{
    runCommand([&] {
        refillList(grade_dbcb, DM->teagrade_table, u"年级"_s);
        refillList(zhuanye_dbcb, DM->zhuanye_table, u"专业"_s);
        refillList(hometown_dbcb, DM->province_table, u"省份"_s);
        refillTitleLists();
    });
}

void Tedittea_form::keyPressEvent(QKeyEvent *e)
{
    // Esc does not close the editor: closing throws away what was typed, so it takes "关闭".
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void Tedittea_form::close_buttonClick()
{
    close();
}

void Tedittea_form::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void Tedittea_form::FormClose()
{
    runCommand([&] {
        m_editing.discard();
    });
}

// =============================================================================== family panel

bool Tedittea_form::isFamilyPanelOpen() const
{
    return chengyuan_button->text() == kCloseFamilyCaption;
}

void Tedittea_form::chengyuan_buttonClick()
{
    chengyuan_button->setText(chengyuan_button->text() == kOpenFamilyCaption ? kCloseFamilyCaption
                                                                              : kOpenFamilyCaption);
    applyFamilyPanelWidth();
}

void Tedittea_form::applyFamilyPanelWidth()
{
    const bool open = isFamilyPanelOpen();
    Panel3->setVisible(open);
    setFixedSize(open ? kWideWidth : kNarrowWidth, m_height);
}

// =============================================================================== stepping

void Tedittea_form::up_buttonClick()
{
    runCommand([&] { m_editing.stepPrior(); });
}

void Tedittea_form::down_buttonClick()
{
    runCommand([&] { m_editing.stepNext(); });
}

// =============================================================================== pop-ups

void Tedittea_form::shanchang_dbeditDblClick()
{
    runCommand([&] {
        // The list refilled from 课程 with its text emptied, caller 1, shown modally.
        selectcourse_form->showFor(1);
    });
}

void Tedittea_form::teachduixiang_dbmemoDblClick()
{
    runCommand([&] {
        // The list refilled from 授课对象 with nothing chosen, caller 0, shown modally.
        selectduixiang_form->showFor(0);
    });
}

void Tedittea_form::teachtime_dbmemoDblClick()
{
    runCommand([&] {
        selecttime_form->showFor(1);
    });
}

// =============================================================================== saving

bool Tedittea_form::requiredEntriesPresent()
{
    const bool present = !name_dbedit->text().isEmpty() && !nowtel_dbedit->text().isEmpty() &&
                         sex_dbrg->itemIndex() >= 0 && !grade_dbcb->currentText().isEmpty() &&
                         !zhuanye_dbcb->currentText().isEmpty() && !shanchang_dbedit->text().isEmpty() &&
                         !idnumber_dbedit->text().isEmpty() && !teachduixiang_dbmemo->toPlainText().isEmpty() &&
                         !teachtime_dbmemo->toPlainText().isEmpty();
    if (!present)
        messages().messageBox(u"请填写必填项：1.姓名,2.性别,3.年级,4.专业,5.擅长科目\r"
                              u"6.可授课时间,7.可授课对象8.现居联系电话,9.身份证号"_s,
                              MessageService::Kind::Error, MessageService::Buttons::Ok);
    return present;
}

void Tedittea_form::save_buttonClick()
{
    runCommand([&] {
        if (!requiredEntriesPresent())
            return;
        TableCursor *t = DM->tea_table;
        const bool addMode = lianxu_check->isEnabled();
        if (!addMode) {
            if (!m_editing.post())
                return;
        } else {
            // A teacher of the same name, sex, native place and major is probably already
            // registered. An empty native place matches a teacher without one.
            DM->tea_query->open(u"select * from \"员工表\" where \"姓名\" = ? and \"性别\" = ? and "
                                u"COALESCE(\"籍贯\", '') = ? and \"专业\" = ?"_s,
                                {name_dbedit->text(), sex_dbrg->itemText(), hometown_dbcb->currentText(),
                                 zhuanye_dbcb->currentText()});
            const bool add = DM->tea_query->isEmpty() ||
                             messages().question(u"系统中已经有个姓名、性别、出生年月、籍贯等都相同的老师，是否还增加此记录!"_s) ==
                                 MessageService::Yes;
            if (!add) {
                t->cancel();
            } else {
                t->setFiltered(false); // the register shows all teachers again; the new row stays pending
                qint64 number = 0;
                try {
                    number = DM->issueNumber(u"T"_s);
                } catch (const DatabaseError &e) {
                    messages().messageBox(u"无法为新老师分配编号，记录没有保存。\n"_s + e.message(),
                                          MessageService::Kind::Error, MessageService::Buttons::Ok);
                    return;
                }
                t->setValue(u"编号"_s, QString::number(number));
                t->setValue(u"出生年月"_s, dayText(borth_dbdtp->date()));
                t->setValue(u"面试时间"_s, dayText(meettime_dbdtp->date()));
                t->setValue(u"登记日期"_s, dayText(inputdate_dbdtp->date()));
                if (!m_editing.post())
                    return;
                if (!growLookupLists())
                    return; // the save stops at this step; the teacher is already written
            }
        }
        if (lianxu_check->isChecked())
            startNextRecord();
        else
            accept();
    });
}

bool Tedittea_form::growLookupLists()
{
    try {
        addLookupValue(DM->teagrade_query, DM->teagrade_table, u"年级"_s, grade_dbcb->currentText());
        addLookupValue(DM->zhuanye_query, DM->zhuanye_table, u"专业"_s, zhuanye_dbcb->currentText());
        for (QComboBox *cb : {zhichen1_dbcb, zhichen2_dbcb, zhichen3_dbcb})
            if (!cb->currentText().isEmpty())
                addLookupValue(DM->zhichen_query, DM->zhichen_table, u"职称"_s, cb->currentText());
    } catch (const DatabaseError &e) {
        messages().messageBox(u"老师记录已经保存，但把年级、专业或职称加入下拉列表时出错：\n"_s + e.message(),
                              MessageService::Kind::Error, MessageService::Buttons::Ok);
        return false;
    }
    return true;
}

void Tedittea_form::startNextRecord()
{
    DM->tea_table->insert();
    setDatesToNow();
    // The lists that saving may have grown offer the new values at once (not the native places).
    refillList(grade_dbcb, DM->teagrade_table, u"年级"_s);
    refillList(zhuanye_dbcb, DM->zhuanye_table, u"专业"_s);
    refillTitleLists();
    name_dbedit->setFocus();
}

void Tedittea_form::setDatesToNow()
{
    const QDate today = QDateTime::currentDateTime().date();
    inputdate_dbdtp->setDate(today);
    meettime_dbdtp->setDate(today);
    borth_dbdtp->setDate(today);
}

void Tedittea_form::refillTitleLists()
{
    for (QComboBox *cb : {zhichen1_dbcb, zhichen2_dbcb, zhichen3_dbcb})
        refillList(cb, DM->zhichen_table, u"职称"_s);
}

} // namespace tavimor
