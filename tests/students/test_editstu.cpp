// The student editor driven through its widgets as the main window opens it: controls, modes,
// saving (required fields, duplicates, numbers, dates, grade list, continuous add), closing,
// stepping, digits-only fields, quotes, and a row changed by another program meanwhile.
#include "database.h"
#include "dbcontrols.h"
#include "schema.h"
#include "studentfixture.h"
#include "students/editstu_form.h"
#include "students/selectcourse_form.h"
#include "students/selecttime_form.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using namespace tavimor::test;

namespace {

using State = TableCursor::State;

template <class T = QWidget> T *control(const QString &name)
{
    T *w = editstu_form->findChild<T *>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// The main window's steps before the modal show (the show itself is a plain show here, so
// that the test goes on while the editor is open).
void openAdd()
{
    DM->stu_table->insert();
    editstu_form->prepareForAdd();
    editstu_form->show();
}

void openChange()
{
    DM->stu_table->edit();
    editstu_form->prepareForChange();
    editstu_form->show();
}

void openView()
{
    editstu_form->prepareForView();
    editstu_form->show();
}

void openIn(const QString &mode)
{
    if (mode == u"add"_s)
        openAdd();
    else if (mode == u"change"_s)
        openChange();
    else
        openView();
}

// A click on the indicator of a check box or radio button (the widget may be wider than the
// indicator and its text, which alone take clicks).
void clickBox(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(7, b->height() / 2));
}

void chooseSex(const QString &item)
{
    for (QRadioButton *b : editstu_form->sex_dbrg->findChildren<QRadioButton *>())
        if (b->text() == item)
            clickBox(b);
}

// Replaces the text of a field by typing: the old text selected, then the new typed over it.
void retype(const QString &name, const QString &text)
{
    QWidget *w = control(name);
    if (name == u"sex_dbrg"_s) {
        chooseSex(text);
        return;
    }
    if (auto *cb = qobject_cast<QComboBox *>(w))
        cb->lineEdit()->selectAll();
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->selectAll();
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        m->selectAll();
    if (text.isEmpty()) {
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
        QWidget *target = qobject_cast<QComboBox *>(w) ? qobject_cast<QComboBox *>(w)->lineEdit() : w;
        QApplication::sendEvent(target, &del);
    } else {
        typeText(w, text);
    }
}

void fill(const QVariantMap &fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        retype(it.key(), it.value().toString());
}

// The six required fields, filled.
QVariantMap required()
{
    return {{u"name_dbedit"_s, u"张小明"_s},       {u"sex_dbrg"_s, u"男"_s},
            {u"grade_dbcb"_s, u"初一"_s},          {u"tel_dbedit"_s, u"13800138000"_s},
            {u"address_dbedit"_s, u"人民路1号"_s}, {u"pricerequest_dbcb"_s, u"20元/小时"_s}};
}

void save()
{
    QTest::mouseClick(editstu_form->save_button, Qt::LeftButton);
}

QString stuText(const QString &column)
{
    return DM->stu_table->value(column).toString();
}

const QString kStudents = u"客户资料表"_s;

} // namespace

class TestEditStu : public QObject
{
    Q_OBJECT
    std::unique_ptr<StudentFixture> f;

    int students() const { return f->count(kStudents); }
    int rowsNamed(const QString &name) const { return f->count(kStudents, u"\"学生姓名\" = ?"_s, {name}); }
    QVariant storedOf(const QString &name, const QString &column) const
    {
        return f->stored(kStudents, column, u"\"学生姓名\" = ?"_s, {name});
    }
    void seedThree()
    {
        for (const QString &n : {u"甲"_s, u"乙"_s, u"丙"_s})
            f->addStudent({{u"学生姓名"_s, n}, {u"性别"_s, u"女"_s}, {u"编号"_s, n}});
        DM->stu_table->first();
    }

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void fixedTextsAndLook();
    void tabOrder();
    void modes_data();
    void modes();
    void readOnlyControlsExactly();
    void formShowLists();
    void requiredFields_data();
    void requiredFields();
    void duplicates_data();
    void duplicates();
    void numbersAndEntryDate();
    void continuousAdd();
    void duplicateNoInContinuousAdd();
    void gradeGrowth_data();
    void gradeGrowth();
    void freeNamesNotAdded();
    void searchFilterSwitchedOff();
    void changeSaves();
    void closingDiscards_data();
    void closingDiscards();
    void viewMode();
    void stepping_data();
    void stepping();
    void digitsOnly_data();
    void digitsOnly();
    void quoteInEveryField_data();
    void quoteInEveryField();
    void popupsFromTheEditor();
    void conflictOnChange_data();
    void conflictOnChange();
    void engineRefusesTheRow();
    void gradeListRefusesTheGrade();
    void missingCounterRow();
    void screenshots_data();
    void screenshots();
};

void TestEditStu::initTestCase_data()
{
    QTest::addColumn<int>("engine");
    for (auto e : TestDatabase::engines())
        QTest::newRow(qPrintable(TestDatabase::engineName(e))) << int(e);
}

void TestEditStu::init()
{
    QFETCH_GLOBAL(int, engine);
    f = std::make_unique<StudentFixture>(TestDatabase::Engine(engine));
}

void TestEditStu::cleanup()
{
    f.reset();
}

// ------------------------------------------------------------------------------ the window

void TestEditStu::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("column");
    const QList<std::array<QString, 4>> rows = {
        {u"name_dbedit"_s, u"tavimor::DBEdit"_s, u"姓    名:"_s, u"学生姓名"_s},
        {u"sex_dbrg"_s, u"tavimor::DBRadioGroup"_s, u"性    别:"_s, u"性别"_s},
        {u"school_dbedit"_s, u"tavimor::DBEdit"_s, u"学    校:"_s, u"学校"_s},
        {u"grade_dbcb"_s, u"tavimor::DBComboBox"_s, u"年    级:"_s, u"年级"_s},
        {u"aihao_dbedit"_s, u"tavimor::DBEdit"_s, u"爱    好:"_s, u"爱好"_s},
        {u"inputdate_dbedit"_s, u"tavimor::DBDatePicker"_s, u"登记日期:"_s, u"登记日期"_s},
        {u"father_dbedit"_s, u"tavimor::DBEdit"_s, u"父亲姓名:"_s, u"父亲姓名"_s},
        {u"fatherlevel_dbcb"_s, u"tavimor::DBComboBox"_s, u"文化程度:"_s, u"父亲文化程度"_s},
        {u"mother_dbedit"_s, u"tavimor::DBEdit"_s, u"母亲姓名:"_s, u"母亲姓名"_s},
        {u"motherlevel_dbcb"_s, u"tavimor::DBComboBox"_s, u"文化程度:"_s, u"母亲文化程度"_s},
        {u"tel_dbedit"_s, u"tavimor::DBEdit"_s, u"联系电话:"_s, u"联系电话"_s},
        {u"mobile_dbedit"_s, u"tavimor::DBEdit"_s, u"手    机:"_s, u"手机号码"_s},
        {u"address_dbedit"_s, u"tavimor::DBEdit"_s, u"家庭住址:"_s, u"家庭住址"_s},
        {u"subject_dbedit"_s, u"tavimor::DBEdit"_s, u"辅导科目:"_s, u"辅导科目"_s},
        {u"teachtime_dbmemo"_s, u"tavimor::DBMemo"_s, u"辅导时间:"_s, u"辅导时间"_s},
        {u"score_dbmemo"_s, u"tavimor::DBMemo"_s, u"学生成绩:"_s, u"学生成绩"_s},
        {u"request_dbmemo"_s, u"tavimor::DBMemo"_s, u"具体要求:"_s, u"客户要求"_s},
        {u"laoshiyaoqiu_dbedit"_s, u"tavimor::DBEdit"_s, u"老师要求:"_s, u"老师要求"_s},
        {u"pricerequest_dbcb"_s, u"tavimor::DBComboBox"_s, u"价格要求:"_s, u"价格要求"_s},
        {u"xieyi_dbedit"_s, u"tavimor::DBEdit"_s, u"协    议:"_s, u"协议"_s},
        {u"feiyong_dbedit"_s, u"tavimor::DBCurrencyEdit"_s, u"费    用:"_s, u"费用"_s},
        {u"ziliao_dbedit"_s, u"tavimor::DBEdit"_s, u"资    料:"_s, u"资料"_s},
        {u"service_dbmemo"_s, u"tavimor::DBMemo"_s, u"客户服务:"_s, u"客户服务记录"_s},
        {u"tuiguangyuan_dbcb"_s, u"tavimor::DBComboBox"_s, u"推 广 员:"_s, u"推广员"_s},
        {u"guwen_dbcb"_s, u"tavimor::DBComboBox"_s, u"顾    问:"_s, u"顾问"_s},
    };
    for (const auto &r : rows)
        QTest::newRow(qPrintable(r[0])) << r[0] << r[1] << r[2] << r[3];
}

void TestEditStu::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, label);
    QFETCH(QString, column);
    QWidget *w = control(name);
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    QVERIFY(editstu_form->Panel2->isAncestorOf(w));
    QStringList labels;
    for (QLabel *l : editstu_form->findChildren<QLabel *>())
        if (l->buddy() == w)
            labels << l->text();
    QCOMPARE(labels, QStringList{label});
    QString bound;
    if (auto *e = qobject_cast<DBEdit *>(w))
        bound = e->dataField();
    else if (auto *c = qobject_cast<DBComboBox *>(w))
        bound = c->dataField();
    else if (auto *m = qobject_cast<DBMemo *>(w))
        bound = m->dataField();
    else if (auto *g = qobject_cast<DBRadioGroup *>(w))
        bound = g->dataField();
    else if (auto *d = qobject_cast<DBDatePicker *>(w))
        bound = d->dataField();
    else if (auto *y = qobject_cast<DBCurrencyEdit *>(w))
        bound = y->dataField();
    QCOMPARE(bound, column);
    // Shows the register's current row.
    f->addStudent({{u"学生姓名"_s, u"甲"_s},
                   {column, column == u"登记日期"_s ? QVariant(QDate(2021, 3, 4))
                            : column == u"费用"_s   ? QVariant(12.5)
                            : column == u"性别"_s   ? QVariant(u"女"_s)
                                                    : QVariant(u"值"_s)}});
    if (auto *e = qobject_cast<QLineEdit *>(w))
        QVERIFY(!e->text().isEmpty());
    else if (auto *c = qobject_cast<QComboBox *>(w))
        QCOMPARE(c->currentText(), u"值"_s);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        QCOMPARE(m->toPlainText(), u"值"_s);
    else if (auto *g = qobject_cast<DBRadioGroup *>(w))
        QCOMPARE(g->itemText(), u"女"_s);
    else if (auto *d = qobject_cast<DBDatePicker *>(w))
        QCOMPARE(d->date(), QDate(2021, 3, 4));
}

void TestEditStu::fixedTextsAndLook()
{
    auto items = [](QComboBox *cb) {
        QStringList l;
        for (int i = 0; i < cb->count(); ++i)
            l << cb->itemText(i);
        return l;
    };
    const QStringList education{u"小学"_s, u"初中"_s, u"高中"_s, u"中专"_s, u"大专"_s,
                                u"本科"_s, u"硕士"_s, u"博士"_s, u"其他"_s};
    QCOMPARE(items(editstu_form->fatherlevel_dbcb), education);
    QCOMPARE(items(editstu_form->motherlevel_dbcb), education);
    QStringList prices;
    for (int p = 5; p <= 50; p += 5)
        prices << QString::number(p) + u"元/小时"_s;
    QCOMPARE(items(editstu_form->pricerequest_dbcb), prices);
    QCOMPARE(editstu_form->sex_dbrg->items(), (QStringList{u"男"_s, u"女"_s}));
    QCOMPARE(editstu_form->sex_dbrg->columns(), 2);
    for (QComboBox *cb : editstu_form->Panel2->findChildren<QComboBox *>())
        QVERIFY2(cb->isEditable(), qPrintable(cb->objectName()));
    QCOMPARE(editstu_form->Label16->text(),
             u"提示:数据录入时,在下拉列表中没有你所要的年级,可直接填写,保存后系统自动添加到年级表中!"_s);
    QCOMPARE(editstu_form->lianxu_check->text(), u"连续添加"_s);
    QCOMPARE(editstu_form->save_button->text(), u"&S保存"_s);
    QCOMPARE(editstu_form->close_button->text(), u"&C关闭"_s);
    QCOMPARE(editstu_form->up_button->text(), u"上"_s);
    QCOMPARE(editstu_form->down_button->text(), u"下"_s);
    QVERIFY(editstu_form->save_button->isDefault());
    QCOMPARE(editstu_form->save_button->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
    QCOMPARE(editstu_form->close_button->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    QVERIFY(!editstu_form->Image1->pixmap().isNull());
    QVERIFY(editstu_form->Panel1->font().bold());

    // Fixed size, no title-bar buttons, a window of its own.
    QVERIFY(editstu_form->isWindow());
    QCOMPARE(editstu_form->minimumSize(), editstu_form->maximumSize());
    QVERIFY(!editstu_form->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!editstu_form->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
    QVERIFY(!editstu_form->windowFlags().testFlag(Qt::WindowSystemMenuHint));

    // The double-click fields are pale green with the hint; the other fields are not.
    const QColor green(223, 235, 222);
    for (QWidget *w : editstu_form->Panel2->findChildren<QWidget *>()) {
        if (!w->objectName().endsWith(u"_dbedit"_s) && !w->objectName().endsWith(u"_dbmemo"_s))
            continue;
        const bool dbl = w == editstu_form->subject_dbedit || w == editstu_form->teachtime_dbmemo;
        QCOMPARE(w->palette().color(QPalette::Base) == green, dbl);
        QCOMPARE(w->toolTip(), dbl ? u"请双击此处录入！"_s : QString());
    }
    // Multi-line fields scroll vertically.
    for (QPlainTextEdit *m : editstu_form->Panel2->findChildren<QPlainTextEdit *>())
        QCOMPARE(m->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestEditStu::tabOrder()
{
    const QStringList expected{u"name_dbedit"_s,       u"sex_dbrg"_s,         u"school_dbedit"_s,
                               u"grade_dbcb"_s,        u"aihao_dbedit"_s,     u"inputdate_dbedit"_s,
                               u"father_dbedit"_s,     u"fatherlevel_dbcb"_s, u"mother_dbedit"_s,
                               u"motherlevel_dbcb"_s,  u"tel_dbedit"_s,       u"mobile_dbedit"_s,
                               u"address_dbedit"_s,    u"subject_dbedit"_s,   u"teachtime_dbmemo"_s,
                               u"score_dbmemo"_s,      u"request_dbmemo"_s,   u"laoshiyaoqiu_dbedit"_s,
                               u"pricerequest_dbcb"_s, u"xieyi_dbedit"_s,     u"feiyong_dbedit"_s,
                               u"ziliao_dbedit"_s,     u"service_dbmemo"_s,   u"tuiguangyuan_dbcb"_s,
                               u"guwen_dbcb"_s,        u"up_button"_s,        u"down_button"_s,
                               u"save_button"_s,       u"close_button"_s,     u"lianxu_check"_s,
                               u"name_dbedit"_s};
    // View mode enables every button of the chain; the fields still take the focus read-only,
    // except the disabled ones: use add mode with the stepping buttons enabled by hand.
    openAdd();
    editstu_form->up_button->setEnabled(true);
    editstu_form->down_button->setEnabled(true);
    focusOn(editstu_form->name_dbedit);
    auto owner = [&](QWidget *w) -> QString {
        for (; w && w != editstu_form; w = w->parentWidget())
            if (expected.contains(w->objectName()))
                return w->objectName();
        return QString();
    };
    QStringList visited{owner(QApplication::focusWidget())};
    for (int i = 0; i < 80 && visited.size() < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString now = owner(QApplication::focusWidget());
        if (now != visited.last())
            visited << now;
    }
    QCOMPARE(visited, expected);
    // Nothing was typed on the way.
    QCOMPARE(editstu_form->teachtime_dbmemo->toPlainText(), QString());
}

void TestEditStu::modes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("lianxu");
    QTest::addColumn<bool>("stepping");
    QTest::addColumn<bool>("saving");
    QTest::addColumn<int>("state");
    QTest::newRow("add") << u"add"_s << u"增加学生记录"_s << u"[学生信息]-基本信息录入"_s << true << false
                         << true << int(State::Insert);
    QTest::newRow("change") << u"change"_s << u"修改学生记录"_s << u"[学生信息]-基本信息修改"_s << false
                            << false << true << int(State::Edit);
    QTest::newRow("view") << u"view"_s << u"查看学生记录"_s << u"[学生信息]-查看基本信息"_s << false << true
                          << false << int(State::Browse);
}

void TestEditStu::modes()
{
    QFETCH(QString, mode);
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(bool, lianxu);
    QFETCH(bool, stepping);
    QFETCH(bool, saving);
    QFETCH(int, state);
    f->addStudent({{u"学生姓名"_s, u"甲"_s}, {u"登记日期"_s, QDate(2020, 1, 2)}});
    // The settings of an earlier showing must not carry over.
    openView();
    editstu_form->lianxu_check->setChecked(true);
    editstu_form->close();
    f->messages->clear();

    openIn(mode);
    QCOMPARE(editstu_form->windowTitle(), title);
    QCOMPARE(editstu_form->Panel1->text(), heading);
    QCOMPARE(editstu_form->lianxu_check->isEnabled(), lianxu);
    QVERIFY(!editstu_form->lianxu_check->isChecked());
    QCOMPARE(editstu_form->up_button->isEnabled(), stepping);
    QCOMPARE(editstu_form->down_button->isEnabled(), stepping);
    QCOMPARE(editstu_form->save_button->isEnabled(), saving);
    QCOMPARE(editstu_form->isAddMode(), lianxu);
    QCOMPARE(int(DM->stu_table->state()), state);
    QCOMPARE(editstu_form->name_dbedit->isReadOnly(), !saving);
    QCOMPARE(editstu_form->grade_dbcb->isEnabled(), saving);
    // The entry date: now for a new record, the record's own otherwise.
    const QDate expectedDate = mode == u"add"_s ? QDate::currentDate() : QDate(2020, 1, 2);
    QCOMPARE(editstu_form->inputdate_dbedit->date(), expectedDate);
    QCOMPARE(DM->stu_table->value(u"登记日期"_s).toDate(), expectedDate);
    QVERIFY(f->messages->shown().isEmpty());
}

void TestEditStu::readOnlyControlsExactly()
{
    const QStringList readOnly{u"name_dbedit"_s,    u"sex_dbrg"_s,       u"school_dbedit"_s,
                               u"aihao_dbedit"_s,   u"father_dbedit"_s,  u"mother_dbedit"_s,
                               u"address_dbedit"_s, u"tel_dbedit"_s,     u"mobile_dbedit"_s,
                               u"score_dbmemo"_s,   u"request_dbmemo"_s, u"laoshiyaoqiu_dbedit"_s,
                               u"xieyi_dbedit"_s,   u"ziliao_dbedit"_s,  u"service_dbmemo"_s};
    const QStringList disabled{u"grade_dbcb"_s,        u"inputdate_dbedit"_s, u"tuiguangyuan_dbcb"_s,
                               u"guwen_dbcb"_s,        u"fatherlevel_dbcb"_s, u"motherlevel_dbcb"_s,
                               u"pricerequest_dbcb"_s, u"feiyong_dbedit"_s,   u"subject_dbedit"_s,
                               u"teachtime_dbmemo"_s};
    auto isReadOnly = [](QWidget *w) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return e->isReadOnly();
        if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            return m->isReadOnly();
        if (auto *g = qobject_cast<DBRadioGroup *>(w))
            return g->isReadOnly();
        return false;
    };
    for (bool on : {true, false, true}) {
        if (on)
            editstu_form->readonlyfunc();
        else
            editstu_form->notreadonlyfunc();
        for (const QString &n : readOnly) {
            QCOMPARE(isReadOnly(control(n)), on);
            QVERIFY(control(n)->isEnabled());
        }
        for (const QString &n : disabled) {
            QCOMPARE(control(n)->isEnabled(), !on);
            QVERIFY(!isReadOnly(control(n)));
        }
    }
    QCOMPARE(readOnly.size() + disabled.size(), 25);
}

void TestEditStu::formShowLists()
{
    TableCursor *guwen = DM->guwen_table, *promoter = DM->tuiguangyuan_table;
    StudentFixture::addLookup(guwen, u"姓名"_s, u"顾问甲"_s);
    StudentFixture::addLookup(guwen, u"姓名"_s, u"顾问乙"_s);
    StudentFixture::addLookup(promoter, u"姓名"_s, u"推广甲"_s);
    auto items = [](QComboBox *cb) {
        QStringList l;
        for (int i = 0; i < cb->count(); ++i)
            l << cb->itemText(i);
        return l;
    };
    QStringList grades;
    for (int r = 0; r < DM->stugrade_table->recordCount(); ++r)
        grades << DM->stugrade_table->valueAt(r, 0).toString();
    QVERIFY(grades.size() > 5);
    openAdd();
    QCOMPARE(items(editstu_form->grade_dbcb), grades);
    QCOMPARE(items(editstu_form->guwen_dbcb), (QStringList{u"顾问甲"_s, u"顾问乙"_s}));
    QCOMPARE(items(editstu_form->tuiguangyuan_dbcb), (QStringList{u"推广甲"_s}));
    QCOMPARE(editstu_form->grade_dbcb->currentText(), QString()); // the new row has no grade yet
    editstu_form->close();

    // Emptied tables: the two lists keep what they offered; the grade list follows its table.
    guwen->first();
    while (!guwen->isEmpty())
        guwen->remove();
    StudentFixture::addLookup(DM->stugrade_table, u"学生年级"_s, u"预科"_s);
    promoter->first();
    promoter->remove();
    openAdd();
    QCOMPARE(items(editstu_form->guwen_dbcb), (QStringList{u"顾问甲"_s, u"顾问乙"_s}));
    QCOMPARE(items(editstu_form->tuiguangyuan_dbcb), (QStringList{u"推广甲"_s}));
    QCOMPARE(items(editstu_form->grade_dbcb).last(), u"预科"_s);
    editstu_form->close();

    // A table with rows again replaces the list.
    StudentFixture::addLookup(guwen, u"姓名"_s, u"顾问丙"_s);
    f->addStudent({{u"学生姓名"_s, u"甲"_s}, {u"年级"_s, u"初二"_s}, {u"顾问"_s, u"旧顾问"_s}});
    openChange();
    QCOMPARE(items(editstu_form->guwen_dbcb), (QStringList{u"顾问丙"_s}));
    // Refilling the lists leaves the record's values alone.
    QCOMPARE(editstu_form->grade_dbcb->currentText(), u"初二"_s);
    QCOMPARE(editstu_form->guwen_dbcb->currentText(), u"旧顾问"_s);
    QCOMPARE(stuText(u"顾问"_s), u"旧顾问"_s);
    QVERIFY(!DM->stu_table->isModified());
}

// ------------------------------------------------------------------------------ saving

void TestEditStu::requiredFields_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("all filled") << QString();
    for (const QString &n : required().keys())
        QTest::newRow(qPrintable(n)) << n;
}

void TestEditStu::requiredFields()
{
    QFETCH(QString, missing);
    const int before = students();
    const qint64 counter = f->counter(u"S"_s);
    openAdd();
    QVariantMap fields = required();
    fields.remove(missing);
    fields.insert(u"school_dbedit"_s, u"第一中学"_s);
    fill(fields);
    save();
    if (missing.isEmpty()) {
        QVERIFY(f->messages->shown().isEmpty());
        QVERIFY(!editstu_form->isVisible());
        QCOMPARE(students(), before + 1);
        return;
    }
    QCOMPARE(f->messages->shown().size(), 1);
    const auto &m = f->messages->shown().first();
    QCOMPARE(m.method, u"messageBox"_s);
    QCOMPARE(m.kind, MessageService::Kind::Error);
    QCOMPARE(m.buttons, MessageService::Buttons::Ok);
    QCOMPARE(m.text, u"请填写必填项：1.姓名,2.性别,3.年级,4.联系电话,\r5.家庭住址,6.价格要求"_s);
    QCOMPARE(m.text.count(u'\r'), 1);
    QVERIFY(!m.text.contains(u'\n'));
    // Nothing happened: the row is pending with everything typed, the window open.
    QVERIFY(editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Insert);
    QCOMPARE(students(), before);
    QCOMPARE(f->counter(u"S"_s), counter);
    QCOMPARE(editstu_form->school_dbedit->text(), u"第一中学"_s);
    QCOMPARE(stuText(u"学校"_s), u"第一中学"_s);
    // Completing the field and saving again works.
    retype(missing, required().value(missing).toString());
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(students(), before + 1);
}

void TestEditStu::duplicates_data()
{
    QTest::addColumn<QVariantMap>("typed"); // differences from the existing record's five fields
    QTest::addColumn<bool>("fatherless");   // the existing record has no father's name (null)
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    const QVariantMap same;
    QTest::newRow("five equal, Yes") << same << false << true << int(MessageService::Yes) << true;
    QTest::newRow("five equal, No") << same << false << true << int(MessageService::No) << false;
    QTest::newRow("other fields differ, still asked") << QVariantMap{{u"tel_dbedit"_s, u"999"_s},
                                                                     {u"grade_dbcb"_s, u"高三"_s},
                                                                     {u"address_dbedit"_s, u"别处"_s}}
                                                      << false << true << int(MessageService::No) << false;
    QTest::newRow("name differs") << QVariantMap{{u"name_dbedit"_s, u"王小明2"_s}} << false << false << 0
                                  << true;
    QTest::newRow("sex differs") << QVariantMap{{u"sex_dbrg"_s, u"女"_s}} << false << false << 0 << true;
    QTest::newRow("father differs") << QVariantMap{{u"father_dbedit"_s, u"王二"_s}} << false << false << 0
                                    << true;
    QTest::newRow("mother differs") << QVariantMap{{u"mother_dbedit"_s, u"李兰"_s}} << false << false << 0
                                    << true;
    QTest::newRow("school differs") << QVariantMap{{u"school_dbedit"_s, u"二小"_s}} << false << false << 0
                                    << true;
    QTest::newRow("no father on both sides")
        << QVariantMap{{u"father_dbedit"_s, QString()}} << true << true << int(MessageService::Yes) << true;
    QTest::newRow("a father only on the new one") << same << true << false << 0 << true;
}

void TestEditStu::duplicates()
{
    QFETCH(QVariantMap, typed);
    QFETCH(bool, fatherless);
    QFETCH(bool, asked);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QVariantMap existing{{u"学生姓名"_s, u"王小明"_s}, {u"性别"_s, u"男"_s},       {u"父亲姓名"_s, u"王大"_s},
                         {u"母亲姓名"_s, u"李梅"_s},   {u"学校"_s, u"实验小学"_s}, {u"编号"_s, u"1"_s}};
    if (fatherless)
        existing.remove(u"父亲姓名"_s);
    f->addStudent(existing);
    f->db->exec(u"UPDATE \"计数器\" SET \"值\" = 1 WHERE \"编号\" = 'S'"_s);

    openAdd();
    QVariantMap fields = required();
    fields.insert({{u"name_dbedit"_s, u"王小明"_s},
                   {u"father_dbedit"_s, u"王大"_s},
                   {u"mother_dbedit"_s, u"李梅"_s},
                   {u"school_dbedit"_s, u"实验小学"_s}});
    fields.insert(typed);
    fill(fields);
    if (asked)
        f->messages->answer(answer);
    save();
    if (asked) {
        QCOMPARE(f->messages->shown().size(), 1);
        const auto &m = f->messages->shown().first();
        QCOMPARE(m.method, u"plainBox"_s);
        QCOMPARE(m.title, u"警告"_s);
        QCOMPARE(m.kind, MessageService::Kind::Stop);
        QCOMPARE(m.buttons, MessageService::Buttons::YesNo);
        QCOMPARE(m.text, u"系统中已经有个姓名、性别、父母亲等都相同的记录了，是否增加一个此记录!"_s);
    } else {
        QVERIFY(f->messages->shown().isEmpty());
    }
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Browse);
    QCOMPARE(students(), saved ? 2 : 1);
    // A confirmed duplicate is numbered like any new record; a refused one uses no number.
    QCOMPARE(f->counter(u"S"_s), saved ? 2 : 1);
    if (saved)
        QCOMPARE(f->count(kStudents, u"\"编号\" = '2'"_s), 1);
}

void TestEditStu::numbersAndEntryDate()
{
    f->db->exec(u"UPDATE \"计数器\" SET \"值\" = 41 WHERE \"编号\" = 'S'"_s);
    const qint64 teachers = f->counter(u"T"_s);
    openAdd();
    fill(required());
    // A day picked for the entry date is stored as that bare day.
    editstu_form->inputdate_dbedit->dateEdit()->setFocus();
    editstu_form->inputdate_dbedit->dateEdit()->setDate(QDate(2023, 5, 17));
    save();
    QVERIFY(f->messages->shown().isEmpty());
    QCOMPARE(f->counter(u"S"_s), 42);
    QCOMPARE(f->counter(u"T"_s), teachers);
    QCOMPARE(storedOf(u"张小明"_s, u"编号"_s).toString(), u"42"_s);
    const QVariant day = storedOf(u"张小明"_s, u"登记日期"_s);
    if (f->db->engine() == TestDatabase::Engine::SQLite)
        QCOMPARE(day.toString(), u"2023-05-17"_s); // the text itself, no time of day
    else
        QCOMPARE(day.toDate(), QDate(2023, 5, 17));
    // The register stands on the new record.
    QCOMPARE(stuText(u"编号"_s), u"42"_s);

    // The next one gets the next number.
    openAdd();
    fill(required());
    retype(u"name_dbedit"_s, u"李小红"_s);
    save();
    QCOMPARE(storedOf(u"李小红"_s, u"编号"_s).toString(), u"43"_s);
    QCOMPARE(storedOf(u"李小红"_s, u"登记日期"_s).toString().left(10),
             QDate::currentDate().toString(Qt::ISODate));
    QCOMPARE(f->counter(u"S"_s), 43);
}

void TestEditStu::continuousAdd()
{
    openAdd();
    clickBox(editstu_form->lianxu_check);
    QVERIFY(editstu_form->lianxu_check->isChecked());
    for (const QString &name : {u"一号"_s, u"二号"_s}) {
        fill(required());
        retype(u"name_dbedit"_s, name);
        retype(u"grade_dbcb"_s, name == u"一号"_s ? u"新年级"_s : u"初三"_s);
        editstu_form->inputdate_dbedit->dateEdit()->setDate(QDate(2022, 2, 2));
        save();
        QVERIFY(f->messages->shown().isEmpty());
        QCOMPARE(rowsNamed(name), 1);
        // An empty record dated now follows; the box stays ticked.
        QVERIFY(editstu_form->isVisible());
        QCOMPARE(DM->stu_table->state(), State::Insert);
        QVERIFY(editstu_form->lianxu_check->isChecked());
        QCOMPARE(editstu_form->name_dbedit->text(), QString());
        QCOMPARE(editstu_form->sex_dbrg->itemIndex(), -1);
        QCOMPARE(editstu_form->grade_dbcb->currentText(), QString());
        QCOMPARE(editstu_form->inputdate_dbedit->date(), QDate::currentDate());
        // A grade just added is offered at once.
        QVERIFY(editstu_form->grade_dbcb->findText(u"新年级"_s) >= 0);
    }
    QCOMPARE(f->counter(u"S"_s), 2);
    const int before = students();
    QTest::mouseClick(editstu_form->close_button, Qt::LeftButton);
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Browse);
    QCOMPARE(students(), before); // the untouched empty record is gone
    // The next opening in add mode starts with the box cleared.
    openAdd();
    QVERIFY(!editstu_form->lianxu_check->isChecked());
}

void TestEditStu::duplicateNoInContinuousAdd()
{
    f->addStudent({{u"学生姓名"_s, u"张小明"_s}, {u"性别"_s, u"男"_s}});
    openAdd();
    editstu_form->lianxu_check->setChecked(true);
    fill(required());
    f->messages->answerNo();
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    QCOMPARE(rowsNamed(u"张小明"_s), 1);
    // A fresh empty record follows, the window stays.
    QVERIFY(editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Insert);
    QCOMPARE(editstu_form->name_dbedit->text(), QString());
    QCOMPARE(f->counter(u"S"_s), 0);
}

void TestEditStu::gradeGrowth_data()
{
    QTest::addColumn<QStringList>("modes"); // one save per entry, each with the same typed grade
    QTest::addColumn<QString>("grade");
    QTest::addColumn<int>("added");
    QTest::newRow("new grade, add") << QStringList{u"add"_s} << u"研究生班"_s << 1;
    QTest::newRow("new grade, two adds") << QStringList{u"add"_s, u"add"_s} << u"研究生班"_s << 1;
    QTest::newRow("known grade, add") << QStringList{u"add"_s} << u"初一"_s << 0;
    QTest::newRow("new grade, change") << QStringList{u"change"_s} << u"研究生班"_s << 0;
    QTest::newRow("grade with a quote, add") << QStringList{u"add"_s, u"add"_s} << u"Grade 7 'A'"_s << 1;
}

void TestEditStu::gradeGrowth()
{
    QFETCH(QStringList, modes);
    QFETCH(QString, grade);
    QFETCH(int, added);
    f->addStudent({{u"学生姓名"_s, u"旧生"_s}, {u"年级"_s, u"初二"_s}});
    const int grades = f->count(u"学生年级"_s);
    int n = 0;
    for (const QString &mode : modes) {
        if (mode == u"add"_s) {
            openAdd();
            fill(required());
            retype(u"name_dbedit"_s, u"学生"_s + QString::number(++n));
        } else {
            openChange();
            fill(required());
        }
        retype(u"grade_dbcb"_s, grade);
        save();
        QVERIFY(f->messages->shown().isEmpty());
        QVERIFY(!editstu_form->isVisible());
        // Saved in the record either way.
        QCOMPARE(stuText(u"年级"_s), grade);
    }
    QCOMPARE(f->count(u"学生年级"_s), grades + added);
    QCOMPARE(f->count(u"学生年级"_s, u"\"学生年级\" = ?"_s, {grade}), added || grade == u"初一"_s ? 1 : 0);
    QCOMPARE(f->count(kStudents, u"\"年级\" = ?"_s, {grade}), int(modes.size()));
}

void TestEditStu::freeNamesNotAdded()
{
    StudentFixture::addLookup(DM->guwen_table, u"姓名"_s, u"顾问甲"_s);
    const int consultants = f->count(u"顾问"_s), promoters = f->count(u"推广员"_s);
    for (const QString &mode : {u"add"_s, u"change"_s}) {
        openIn(mode);
        fill(required());
        retype(u"guwen_dbcb"_s, u"新顾问"_s + mode);
        retype(u"tuiguangyuan_dbcb"_s, u"新推广员"_s + mode);
        save();
        QVERIFY(!editstu_form->isVisible());
        QCOMPARE(storedOf(u"张小明"_s, u"顾问"_s).toString(), u"新顾问"_s + mode);
        QCOMPARE(storedOf(u"张小明"_s, u"推广员"_s).toString(), u"新推广员"_s + mode);
    }
    QCOMPARE(f->count(u"顾问"_s), consultants);
    QCOMPARE(f->count(u"推广员"_s), promoters);
}

void TestEditStu::searchFilterSwitchedOff()
{
    seedThree();
    TableCursor *stu = DM->stu_table;
    stu->setFilter(u"学生姓名='乙'"_s);
    stu->setFiltered(true);
    QCOMPARE(stu->recordCount(), 1);
    openAdd();
    fill(required());
    save();
    QVERIFY(f->messages->shown().isEmpty());
    QVERIFY(!stu->isFiltered());
    QCOMPARE(stu->filter(), u"学生姓名='乙'"_s); // kept, inactive
    QCOMPARE(stu->recordCount(), 4);
    QCOMPARE(stuText(u"学生姓名"_s), u"张小明"_s);
    QCOMPARE(rowsNamed(u"张小明"_s), 1);

    // A required-field refusal leaves the search on.
    stu->setFiltered(true);
    openAdd();
    save();
    QVERIFY(stu->isFiltered());
}

void TestEditStu::changeSaves()
{
    f->addStudent({{u"学生姓名"_s, u"甲"_s},
                   {u"性别"_s, u"女"_s},
                   {u"年级"_s, u"初一"_s},
                   {u"联系电话"_s, u"123"_s},
                   {u"家庭住址"_s, u"某路"_s},
                   {u"价格要求"_s, u"10元/小时"_s},
                   {u"编号"_s, u"7"_s},
                   {u"登记日期"_s, QDate(2019, 9, 1)}});
    const qint64 counter = f->counter(u"S"_s);
    openChange();
    retype(u"school_dbedit"_s, u"新学校"_s);
    retype(u"sex_dbrg"_s, u"男"_s);
    retype(u"feiyong_dbedit"_s, u"0"_s);
    save();
    QVERIFY(f->messages->shown().isEmpty());
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(storedOf(u"甲"_s, u"学校"_s).toString(), u"新学校"_s);
    QCOMPARE(storedOf(u"甲"_s, u"性别"_s).toString(), u"男"_s);
    QCOMPARE(storedOf(u"甲"_s, u"费用"_s).toDouble(), 0.0);
    QVERIFY(!storedOf(u"甲"_s, u"费用"_s).isNull());
    // Number and entry date untouched, no number issued.
    QCOMPARE(storedOf(u"甲"_s, u"编号"_s).toString(), u"7"_s);
    QCOMPARE(f->counter(u"S"_s), counter);
    QCOMPARE(storedOf(u"甲"_s, u"登记日期"_s).toString().left(10), u"2019-09-01"_s);
    // A zero fee shows as zero.
    openView();
    QCOMPARE(editstu_form->feiyong_dbedit->text(), u"￥0.00"_s);
}

void TestEditStu::closingDiscards_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("add") << u"add"_s;
    QTest::newRow("change") << u"change"_s;
}

void TestEditStu::closingDiscards()
{
    QFETCH(QString, mode);
    f->addStudent({{u"学生姓名"_s, u"甲"_s}, {u"学校"_s, u"旧校"_s}});
    openIn(mode);
    fill(required());
    retype(u"school_dbedit"_s, u"新校"_s);
    // Esc does not close the editor.
    focusOn(editstu_form->school_dbedit);
    QTest::keyClick(editstu_form->school_dbedit, Qt::Key_Escape);
    QVERIFY(editstu_form->isVisible());
    QTest::mouseClick(editstu_form->close_button, Qt::LeftButton);
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Browse);
    QCOMPARE(students(), 1);
    QCOMPARE(storedOf(u"甲"_s, u"学校"_s).toString(), u"旧校"_s);
    QCOMPARE(stuText(u"学校"_s), u"旧校"_s);
    QCOMPARE(editstu_form->school_dbedit->text(), u"旧校"_s);
    QVERIFY(f->messages->shown().isEmpty());
}

void TestEditStu::viewMode()
{
    f->addStudent(
        {{u"学生姓名"_s, u"甲"_s}, {u"性别"_s, u"女"_s}, {u"辅导科目"_s, u"数学"_s}, {u"年级"_s, u"初一"_s}});
    openView();
    focusOn(editstu_form->name_dbedit);
    // Typing changes nothing and does not start an edit.
    QTest::keyClicks(editstu_form->name_dbedit, u"abc"_s);
    typeText(editstu_form->service_dbmemo, u"服务"_s);
    QTest::keyClick(editstu_form->name_dbedit, Qt::Key_Backspace);
    chooseSex(u"男"_s);
    QCOMPARE(editstu_form->name_dbedit->text(), u"甲"_s);
    QCOMPARE(editstu_form->service_dbmemo->toPlainText(), QString());
    QCOMPARE(editstu_form->sex_dbrg->itemText(), u"女"_s);
    QCOMPARE(DM->stu_table->state(), State::Browse);
    // The lists cannot be opened.
    QVERIFY(!editstu_form->grade_dbcb->isEnabled());
    QTest::mouseClick(editstu_form->grade_dbcb, Qt::LeftButton);
    QVERIFY(!editstu_form->grade_dbcb->view()->isVisible());
    // Double-clicks open no pop-up.
    bool popped = false;
    QTimer guard;
    connect(&guard, &QTimer::timeout, this, [&] {
        for (QDialog *d :
             {static_cast<QDialog *>(selectcourse_form), static_cast<QDialog *>(selecttime_form)})
            if (d->isVisible()) {
                popped = true;
                d->reject();
            }
    });
    guard.start(10);
    QTest::mouseDClick(editstu_form->subject_dbedit, Qt::LeftButton);
    QTest::mouseDClick(editstu_form->teachtime_dbmemo->viewport(), Qt::LeftButton);
    editstu_form->subject_dbeditDblClick();
    editstu_form->teachtime_dbmemoDblClick();
    QTest::qWait(30);
    guard.stop();
    QVERIFY(!popped);
    QCOMPARE(editstu_form->subject_dbedit->text(), u"数学"_s);
    // Save is disabled and does nothing.
    QVERIFY(!editstu_form->save_button->isEnabled());
    save();
    QVERIFY(editstu_form->isVisible());
    QVERIFY(f->messages->shown().isEmpty());
    QCOMPARE(DM->stu_table->state(), State::Browse);
}

void TestEditStu::stepping_data()
{
    QTest::addColumn<QString>("start");       // "first", "last", or a row to move to
    QTest::addColumn<QString>("presses");     // u / d
    QTest::addColumn<QStringList>("names");   // the name shown after each press
    QTest::addColumn<QList<int>>("messages"); // messages shown so far after each press
    QTest::newRow("first row after go-to-first")
        << u"first"_s << u"u"_s << QStringList{u"甲"_s} << QList<int>{1};
    QTest::newRow("second row back to the first")
        << u"1"_s << u"uuu"_s << QStringList{u"甲"_s, u"甲"_s, u"甲"_s} << QList<int>{0, 0, 1};
    QTest::newRow("last row after go-to-last")
        << u"last"_s << u"d"_s << QStringList{u"丙"_s} << QList<int>{1};
    QTest::newRow("second row on to the last")
        << u"1"_s << u"ddd"_s << QStringList{u"丙"_s, u"丙"_s, u"丙"_s} << QList<int>{0, 0, 1};
    QTest::newRow("forth and back") << u"first"_s << u"ddduu"_s
                                    << QStringList{u"乙"_s, u"丙"_s, u"丙"_s, u"乙"_s, u"甲"_s}
                                    << QList<int>{0, 0, 0, 0, 0};
    QTest::newRow("a step clears the end flag")
        << u"last"_s << u"dudd"_s << QStringList{u"丙"_s, u"乙"_s, u"丙"_s, u"丙"_s}
        << QList<int>{1, 1, 1, 1};
}

void TestEditStu::stepping()
{
    QFETCH(QString, start);
    QFETCH(QString, presses);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, messages);
    seedThree();
    TableCursor *stu = DM->stu_table;
    if (start == u"first"_s)
        stu->first();
    else if (start == u"last"_s)
        stu->last();
    else
        stu->moveTo(start.toInt());
    openView();
    for (int i = 0; i < presses.size(); ++i) {
        QTest::mouseClick(presses.at(i) == u'u' ? editstu_form->up_button : editstu_form->down_button,
                          Qt::LeftButton);
        QCOMPARE(editstu_form->name_dbedit->text(), names.at(i));
        QCOMPARE(stuText(u"学生姓名"_s), names.at(i));
        QCOMPARE(f->messages->shown().size(), messages.at(i));
    }
    for (const auto &m : f->messages->shown()) {
        QCOMPARE(m.method, u"information"_s);
        QCOMPARE(m.text, presses.back() == u'u' ? u"已经是第一条记录了!"_s : u"已经是最后一条记录了!"_s);
    }
    QCOMPARE(stu->state(), State::Browse);
}

void TestEditStu::digitsOnly_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    QTest::newRow("telephone") << u"tel_dbedit"_s << u"联系电话"_s;
    QTest::newRow("mobile") << u"mobile_dbedit"_s << u"手机号码"_s;
}

void TestEditStu::digitsOnly()
{
    QFETCH(QString, field);
    QFETCH(QString, column);
    openAdd();
    auto *e = control<QLineEdit>(field);
    focusOn(e);
    QTest::keyClicks(e, u"12a b-+3"_s);
    typeText(e, u"四5"_s);
    QCOMPARE(e->text(), u"1235"_s);
    QTest::keyClick(e, Qt::Key_Backspace);
    QCOMPARE(e->text(), u"123"_s);
    QCOMPARE(stuText(column), u"123"_s);
    // The other text fields take anything.
    focusOn(editstu_form->school_dbedit);
    QTest::keyClicks(editstu_form->school_dbedit, u"a-1"_s);
    QCOMPARE(editstu_form->school_dbedit->text(), u"a-1"_s);
}

void TestEditStu::quoteInEveryField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    const QList<std::pair<QString, QString>> fields = {
        {u"name_dbedit"_s, u"学生姓名"_s},
        {u"school_dbedit"_s, u"学校"_s},
        {u"grade_dbcb"_s, u"年级"_s},
        {u"aihao_dbedit"_s, u"爱好"_s},
        {u"father_dbedit"_s, u"父亲姓名"_s},
        {u"fatherlevel_dbcb"_s, u"父亲文化程度"_s},
        {u"mother_dbedit"_s, u"母亲姓名"_s},
        {u"motherlevel_dbcb"_s, u"母亲文化程度"_s},
        {u"address_dbedit"_s, u"家庭住址"_s},
        {u"subject_dbedit"_s, u"辅导科目"_s},
        {u"teachtime_dbmemo"_s, u"辅导时间"_s},
        {u"score_dbmemo"_s, u"学生成绩"_s},
        {u"request_dbmemo"_s, u"客户要求"_s},
        {u"laoshiyaoqiu_dbedit"_s, u"老师要求"_s},
        {u"pricerequest_dbcb"_s, u"价格要求"_s},
        {u"xieyi_dbedit"_s, u"协议"_s},
        {u"ziliao_dbedit"_s, u"资料"_s},
        {u"service_dbmemo"_s, u"客户服务记录"_s},
        {u"tuiguangyuan_dbcb"_s, u"推广员"_s},
        {u"guwen_dbcb"_s, u"顾问"_s},
    };
    for (const auto &[field, column] : fields)
        QTest::newRow(qPrintable(field)) << field << column;
}

void TestEditStu::quoteInEveryField()
{
    QFETCH(QString, field);
    QFETCH(QString, column);
    const QString text = u"O'Brien's \"x\" '--"_s;
    // A first record with the same quoted text, so that the duplicate check really compares it.
    f->addStudent({{u"学生姓名"_s, u"张小明"_s}, {u"性别"_s, u"男"_s}, {column, text}});
    openAdd();
    fill(required());
    retype(field, text);
    f->messages->answerYes(); // in case the five fields match
    save();
    QVERIFY(!editstu_form->isVisible());
    for (const auto &m : f->messages->shown())
        QCOMPARE(m.method, u"plainBox"_s);
    QCOMPARE(f->count(kStudents, SqlDialect::quote(column) + u" = ?"_s, {text}), 2);
    QCOMPARE(f->counter(u"S"_s), 1);
    if (field == u"grade_dbcb"_s)
        QCOMPARE(f->count(u"学生年级"_s, u"\"学生年级\" = ?"_s, {text}), 1);
}

void TestEditStu::popupsFromTheEditor()
{
    openAdd();
    fill(required());
    // Subject: the pop-up lists 课程, a typed new subject joins it; two choices joined by "|".
    for (const QString &s : {u"数学"_s, u"Kids' 围棋"_s}) {
        QTimer::singleShot(0, selectcourse_form, [s] {
            QVERIFY(selectcourse_form->isVisible());
            QCOMPARE(selectcourse_form->caller, 0);
            QVERIFY(selectcourse_form->course_cb->findText(u"数学"_s) >= 0);
            QCOMPARE(selectcourse_form->course_cb->currentText(), QString());
            selectcourse_form->course_cb->setEditText(s);
            selectcourse_form->ToolButton1->click();
        });
        QTest::mouseDClick(editstu_form->subject_dbedit, Qt::LeftButton);
        QVERIFY(!selectcourse_form->isVisible());
    }
    QCOMPARE(editstu_form->subject_dbedit->text(), u"数学|Kids' 围棋"_s);
    QCOMPARE(stuText(u"辅导科目"_s), u"数学|Kids' 围棋"_s);
    QCOMPARE(f->count(u"课程"_s, u"\"名称\" = ?"_s, {u"Kids' 围棋"_s}), 1);
    // Time slots: one line each.
    for (const QString &day : {u"星期一"_s, u"星期六"_s}) {
        QTimer::singleShot(0, selecttime_form, [day] {
            QCOMPARE(selecttime_form->caller, 0);
            QCOMPARE(selecttime_form->day_cb->currentText(), QString());
            selecttime_form->day_cb->setEditText(day);
            selecttime_form->begin_cb->setCurrentIndex(3);
            selecttime_form->end_cb->setCurrentIndex(5);
            selecttime_form->ToolButton1->click();
        });
        QTest::mouseDClick(editstu_form->teachtime_dbmemo->viewport(), Qt::LeftButton);
        QVERIFY(!selecttime_form->isVisible());
    }
    const QString slotLines = u"星期一上午8：00至上午10：00\n星期六上午8：00至上午10：00"_s;
    QCOMPARE(editstu_form->teachtime_dbmemo->toPlainText(), slotLines);
    save();
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(storedOf(u"张小明"_s, u"辅导科目"_s).toString(), u"数学|Kids' 围棋"_s);
    QCOMPARE(storedOf(u"张小明"_s, u"辅导时间"_s).toString(), slotLines);
}

void TestEditStu::conflictOnChange_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::newRow("changed elsewhere") << false;
    QTest::newRow("deleted elsewhere") << true;
}

void TestEditStu::conflictOnChange()
{
    QFETCH(bool, deleted);
    f->addStudent({{u"学生姓名"_s, u"甲"_s},
                   {u"性别"_s, u"女"_s},
                   {u"年级"_s, u"初一"_s},
                   {u"联系电话"_s, u"123"_s},
                   {u"家庭住址"_s, u"某路"_s},
                   {u"价格要求"_s, u"10元/小时"_s},
                   {u"学校"_s, u"旧校"_s}});
    openChange();
    retype(u"school_dbedit"_s, u"我的学校"_s);
    retype(u"aihao_dbedit"_s, u"画画"_s);
    // Another program gets there first.
    if (deleted)
        f->db->exec(u"DELETE FROM \"客户资料表\" WHERE \"学生姓名\" = '甲'"_s);
    else
        f->db->exec(u"UPDATE \"客户资料表\" SET \"学校\" = '别人的学校', tv_version = tv_version + 1"_s);
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    const auto &m = f->messages->shown().first();
    QCOMPARE(m.kind, MessageService::Kind::Error);
    QVERIFY2(m.text.contains(deleted ? u"已被其他用户删除"_s : u"已被其他用户修改"_s), qPrintable(m.text));
    QVERIFY(m.text.contains(u"仍保留"_s));
    // The editor stays open with what was typed; nothing was written over the other change.
    QVERIFY(editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Edit);
    QCOMPARE(editstu_form->school_dbedit->text(), u"我的学校"_s);
    QCOMPARE(editstu_form->aihao_dbedit->text(), u"画画"_s);
    if (deleted) {
        QCOMPARE(students(), 0);
    } else {
        QCOMPARE(storedOf(u"甲"_s, u"学校"_s).toString(), u"别人的学校"_s);
        QVERIFY(storedOf(u"甲"_s, u"爱好"_s).isNull());
    }
    // Saving again does not overwrite either.
    save();
    QCOMPARE(f->messages->shown().size(), 2);
    QVERIFY(editstu_form->isVisible());
    // Closing gives up the typing; the register then shows the other program's state.
    QTest::mouseClick(editstu_form->close_button, Qt::LeftButton);
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Browse);
    if (deleted) {
        QCOMPARE(DM->stu_table->recordCount(), 0);
    } else {
        QCOMPARE(stuText(u"学校"_s), u"别人的学校"_s);
        // And a new change goes through.
        openChange();
        retype(u"aihao_dbedit"_s, u"下棋"_s);
        save();
        QVERIFY(!editstu_form->isVisible());
        QCOMPARE(storedOf(u"甲"_s, u"爱好"_s).toString(), u"下棋"_s);
        QCOMPARE(storedOf(u"甲"_s, u"学校"_s).toString(), u"别人的学校"_s);
    }
}

void TestEditStu::engineRefusesTheRow()
{
    // The engine refuses new rows for the name "拒绝".
    if (f->db->engine() == TestDatabase::Engine::SQLite) {
        f->db->exec(u"CREATE TRIGGER refuse BEFORE INSERT ON \"客户资料表\" WHEN NEW.\"学生姓名\" = '拒绝' "
                    u"BEGIN SELECT RAISE(ABORT, 'row refused'); END"_s);
    } else {
        f->db->exec(
            u"CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN "
            u"IF NEW.\"学生姓名\" = '拒绝' THEN RAISE EXCEPTION 'row refused'; END IF; RETURN NEW; END $$ "
            u"LANGUAGE plpgsql"_s);
        f->db->exec(
            u"CREATE TRIGGER refuse BEFORE INSERT ON \"客户资料表\" FOR EACH ROW EXECUTE FUNCTION refuse()"_s);
    }
    openAdd();
    fill(required());
    retype(u"name_dbedit"_s, u"拒绝"_s);
    retype(u"grade_dbcb"_s, u"没有的年级"_s);
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    const auto &m = f->messages->shown().first();
    QCOMPARE(m.kind, MessageService::Kind::Error);
    QVERIFY(m.text.startsWith(u"学生记录没有保存"_s));
    QVERIFY(m.text.contains(u"row refused"_s));
    QVERIFY(editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Insert);
    QCOMPARE(editstu_form->name_dbedit->text(), u"拒绝"_s);
    QCOMPARE(students(), 0);
    QCOMPARE(f->count(u"学生年级"_s, u"\"学生年级\" = ?"_s, {u"没有的年级"_s}), 0);
    QCOMPARE(f->counter(u"S"_s), 1); // the number is used up
    // Corrected, the record saves with the next number.
    retype(u"name_dbedit"_s, u"接受"_s);
    save();
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(storedOf(u"接受"_s, u"编号"_s).toString(), u"2"_s);
    QCOMPARE(f->count(u"学生年级"_s, u"\"学生年级\" = ?"_s, {u"没有的年级"_s}), 1);
}

void TestEditStu::gradeListRefusesTheGrade()
{
    // The engine refuses the grade "坏年级" in the grade list: the student is written, the save stops there.
    if (f->db->engine() == TestDatabase::Engine::SQLite) {
        f->db->exec(u"CREATE TRIGGER refusegrade BEFORE INSERT ON \"学生年级\" WHEN NEW.\"学生年级\" = '坏年级' "
                    u"BEGIN SELECT RAISE(ABORT, 'grade refused'); END"_s);
    } else {
        f->db->exec(u"CREATE FUNCTION refusegrade() RETURNS trigger AS $$ BEGIN "
                    u"IF NEW.\"学生年级\" = '坏年级' THEN RAISE EXCEPTION 'grade refused'; END IF; RETURN NEW; END $$ "
                    u"LANGUAGE plpgsql"_s);
        f->db->exec(u"CREATE TRIGGER refusegrade BEFORE INSERT ON \"学生年级\" FOR EACH ROW "
                    u"EXECUTE FUNCTION refusegrade()"_s);
    }
    openAdd();
    fill(required());
    retype(u"grade_dbcb"_s, u"坏年级"_s);
    editstu_form->lianxu_check->setChecked(true);
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    QVERIFY(f->messages->lastText().contains(u"grade refused"_s));
    QCOMPARE(students(), 1);                      // the steps before are done
    QVERIFY(editstu_form->isVisible());           // no close ...
    QCOMPARE(DM->stu_table->state(), State::Browse); // ... and no next new row
    QCOMPARE(f->count(u"学生年级"_s, u"\"学生年级\" = ?"_s, {u"坏年级"_s}), 0);
}

void TestEditStu::missingCounterRow()
{
    f->db->exec(u"DELETE FROM \"计数器\" WHERE \"编号\" = 'S'"_s);
    openAdd();
    fill(required());
    save();
    QCOMPARE(f->messages->shown().size(), 1);
    const auto &m = f->messages->shown().first();
    QCOMPARE(m.kind, MessageService::Kind::Error);
    QVERIFY(m.text.contains(u"编号计数器"_s));
    QVERIFY(editstu_form->isVisible());
    QCOMPARE(DM->stu_table->state(), State::Insert);
    QCOMPARE(editstu_form->name_dbedit->text(), u"张小明"_s);
    QVERIFY(DM->stu_table->value(u"编号"_s).isNull());
    QCOMPARE(students(), 0);
}

// ------------------------------------------------------------------------------ the look

void TestEditStu::screenshots_data()
{
    modes_data();
}

void TestEditStu::screenshots()
{
    // Pictures of the three modes over a few rows, for a look by eye (TAVIMOR_SHOTS names the
    // folder); the layout checks below hold in every mode.
    QFETCH(QString, mode);
    f->addStudent({{u"学生姓名"_s, u"欧阳小明"_s},
                   {u"性别"_s, u"男"_s},
                   {u"学校"_s, u"北京市第一实验小学"_s},
                   {u"年级"_s, u"五年级"_s},
                   {u"爱好"_s, u"围棋、游泳"_s},
                   {u"登记日期"_s, QDate(2024, 3, 18)},
                   {u"父亲姓名"_s, u"欧阳建国"_s},
                   {u"父亲文化程度"_s, u"本科"_s},
                   {u"母亲姓名"_s, u"李秀英"_s},
                   {u"母亲文化程度"_s, u"大专"_s},
                   {u"联系电话"_s, u"01062345678"_s},
                   {u"手机号码"_s, u"13912345678"_s},
                   {u"家庭住址"_s, u"北京市海淀区中关村大街27号3单元502室"_s},
                   {u"辅导科目"_s, u"数学|英语|奥数"_s},
                   {u"辅导时间"_s, u"星期六上午8：00至上午10：00\n星期天下午2：00至下午4：00"_s},
                   {u"学生成绩"_s, u"数学92，英语85"_s},
                   {u"客户要求"_s, u"希望老师有耐心"_s},
                   {u"老师要求"_s, u"女老师，师范类"_s},
                   {u"价格要求"_s, u"50元/小时"_s},
                   {u"协议"_s, u"已签"_s},
                   {u"费用"_s, 1200.0},
                   {u"资料"_s, u"已交"_s},
                   {u"客户服务记录"_s, u"3月20日回访，满意"_s},
                   {u"推广员"_s, u"刘推广"_s},
                   {u"顾问"_s, u"陈顾问"_s}});
    f->addStudent({{u"学生姓名"_s, u"李四"_s}});
    DM->stu_table->first();
    openIn(mode);
    QTest::qWait(10);
    const QImage img = editstu_form->grab().toImage();
    const QString dir = qEnvironmentVariable("TAVIMOR_SHOTS");
    if (!dir.isEmpty())
        QVERIFY(img.save(dir + u"/editstu_form-"_s + mode + u".png"_s));

    // Nothing clipped: every label shows its whole text, every field lies inside the panel,
    // no two fields overlap, the window holds its layout.
    const QRect panel = editstu_form->Panel2->contentsRect();
    QList<QPair<QString, QRect>> fields;
    for (QWidget *w : editstu_form->Panel2->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible())
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
            QVERIFY2(l->height() >= l->sizeHint().height(), qPrintable(l->text()));
        } else {
            // A memo shows three lines at least, any other field its whole height.
            const int needed = qobject_cast<QPlainTextEdit *>(w) ? w->fontMetrics().lineSpacing() * 3
                                                                 : w->minimumSizeHint().height();
            QVERIFY2(w->height() >= needed, qPrintable(w->objectName()));
            for (const auto &[other, r] : fields)
                QVERIFY2(!r.intersects(w->geometry()), qPrintable(w->objectName() + u" / "_s + other));
            fields << qMakePair(w->objectName(), w->geometry());
        }
        QVERIFY2(panel.contains(w->geometry()), qPrintable(w->objectName()));
    }
    QCOMPARE(fields.size(), 25);
    for (QWidget *w :
         {static_cast<QWidget *>(editstu_form->Label16), static_cast<QWidget *>(editstu_form->save_button),
          static_cast<QWidget *>(editstu_form->lianxu_check)}) {
        QVERIFY(editstu_form->rect().contains(QRect(w->mapTo(editstu_form, QPoint(0, 0)), w->size())));
        QVERIFY(w->height() >= w->minimumSizeHint().height());
    }
    QVERIFY(editstu_form->Label16->height() >=
            editstu_form->Label16->heightForWidth(editstu_form->Label16->width()));
    // The radio group shows both items in full.
    for (QRadioButton *b : editstu_form->sex_dbrg->findChildren<QRadioButton *>())
        QVERIFY(editstu_form->sex_dbrg->contentsRect().contains(b->geometry()));
    // The pale green double-click fields stay pale green in view mode too.
    const QPoint inSubject = editstu_form->subject_dbedit->mapTo(
        editstu_form, QPoint(editstu_form->subject_dbedit->width() - 6, 6));
    QCOMPARE(img.pixelColor(inSubject), QColor(223, 235, 222));
}

QTEST_MAIN(TestEditStu)
#include "test_editstu.moc"
