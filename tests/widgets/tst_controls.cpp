// The data-aware controls over a real data module: what they show, what they write and when.
#include "dbcontrols.h"
#include "fieldlook.h"
#include "dbgrid.h"
#include "fixture.h"
#include "look.h"

#include "database.h"
#include "errors.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QRadioButton>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using tavimor::TableCursor;
using namespace tavimor;
using namespace tavimor::test;

namespace {

const QStringList kGrades{u"初一"_s, u"初二"_s, u"高一"_s};

// The student every case starts from (the cursor stands on it, browsing).
QVariantMap baseStudent()
{
    return {{u"编号"_s, u"7"_s},
            {u"学生姓名"_s, u"张三"_s},
            {u"性别"_s, u"男"_s},
            {u"年级"_s, u"初一"_s},
            {u"辅导时间"_s, u"周一"_s},
            {u"费用"_s, 10.0},
            {u"登记日期"_s, QDate(2024, 3, 5)},
            {u"联系电话"_s, u"123"_s}};
}

// A control of the given kind bound to stu_ds.column. Kinds: edit, digits, combo, memo,
// currency, radio, date, datetick.
QWidget *makeControl(const QString &kind, DataLink *link, const QString &column)
{
    QWidget *w = nullptr;
    if (kind == u"edit"_s || kind == u"digits"_s) {
        auto *e = new DBEdit;
        if (kind == u"digits"_s)
            DigitsOnlyFilter::install(e);
        e->bind(link, column);
        w = e;
    } else if (kind == u"combo"_s) {
        auto *c = new DBComboBox;
        c->addItems(kGrades);
        c->bind(link, column);
        w = c;
    } else if (kind == u"memo"_s) {
        auto *m = new DBMemo;
        m->bind(link, column);
        w = m;
    } else if (kind == u"currency"_s) {
        auto *c = new DBCurrencyEdit;
        c->bind(link, column);
        w = c;
    } else if (kind == u"radio"_s) {
        auto *r = new DBRadioGroup;
        r->setItems({u"男"_s, u"女"_s});
        r->setColumns(2);
        r->bind(link, column);
        w = r;
    } else if (kind == u"date"_s || kind == u"datetick"_s) {
        auto *d = new DBDatePicker;
        d->setShowCheckBox(kind == u"datetick"_s);
        d->bind(link, column);
        w = d;
    } else if (kind == u"check"_s) {
        auto *c = new DBCheckBox(u"添加"_s);
        c->bind(link, column);
        w = c;
    }
    Q_ASSERT(w);
    w->resize(200, 60);
    return w;
}

// What the control shows, as text.
QString shown(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        return m->toPlainText();
    if (auto *r = qobject_cast<DBRadioGroup *>(w))
        return QString::number(r->itemIndex()) + u':' + r->itemText();
    if (auto *d = qobject_cast<DBDatePicker *>(w)) {
        // [tick] day | what the field shows ("-" when greyed)
        const QString tick = d->showCheckBox() ? (d->isChecked() ? u"☑"_s : u"☐"_s) : QString();
        return tick + d->date().toString(Qt::ISODate) + u'|' +
               (d->dateEdit()->isEnabled() ? d->dateEdit()->text() : u"-"_s);
    }
    if (auto *c = qobject_cast<QCheckBox *>(w))
        return c->isChecked() ? u"checked"_s : u"unchecked"_s;
    return {};
}

// What a user does to the control. Text controls: the keys of `input` typed. combo with
// input "down": one Down arrow (chooses the next item). radio: clicks the item numbered
// input. date: Up on the day section. datetick: clicks the tick box. check: clicks it.
void act(const QString &kind, QWidget *w, const QString &input)
{
    if (kind == u"combo"_s && input == u"down"_s) {
        QTest::keyClick(w, Qt::Key_Down);
    } else if (kind == u"radio"_s) {
        const auto buttons = w->findChildren<QRadioButton *>();
        for (QRadioButton *b : buttons)
            if (b->text() == static_cast<DBRadioGroup *>(w)->items().at(input.toInt()))
                QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    } else if (kind == u"date"_s) {
        QDateEdit *e = static_cast<DBDatePicker *>(w)->dateEdit();
        e->setCurrentSection(QDateTimeEdit::DaySection);
        QTest::keyClick(e, Qt::Key_Up);
    } else if (kind == u"datetick"_s) {
        QCheckBox *c = static_cast<DBDatePicker *>(w)->checkBox();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
    } else if (kind == u"check"_s) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    } else {
        QWidget *target = w;
        if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            target = m->viewport();
        typeText(target, input);
    }
}

void setReadOnly(QWidget *w, bool on)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setReadOnly(on);
    else if (auto *c = qobject_cast<DBComboBox *>(w))
        c->setReadOnly(on);
    else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
        m->setReadOnly(on);
    else if (auto *r = qobject_cast<DBRadioGroup *>(w))
        r->setReadOnly(on);
    else if (auto *d = qobject_cast<DBDatePicker *>(w))
        d->setReadOnly(on);
    else if (auto *c = qobject_cast<DBCheckBox *>(w))
        c->setReadOnly(on);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;

private slots:
    void init()
    {
        f = std::make_unique<Fixture>();
        f->addStudent(baseStudent());
        QCOMPARE(f->dm->stu_table->state(), TableCursor::State::Browse);
    }
    void cleanup() { f.reset(); }

    void userEditIsWrittenAndPosted_data();
    void userEditIsWrittenAndPosted();
    void cancelRestoresShownValue_data() { userEditIsWrittenAndPosted_data(); }
    void cancelRestoresShownValue();
    void readOnlyControlNeverWrites_data() { userEditIsWrittenAndPosted_data(); }
    void readOnlyControlNeverWrites();
    void programSetterWritesOnlyInEditStates_data();
    void programSetterWritesOnlyInEditStates();
    void showsCurrentRow_data();
    void showsCurrentRow();
    void followsCursorAndOtherControls();
    void comboKeepsValueWhenListIsFilled();
    void typingIntoEmptyCursorIsTakenBack();
    void checkBoxWritesYesNo();
    void unboundControlsArePlain();
    void doubleClickSignals();
    void unknownColumnIsRefused();
    void demoFormLaysOutEveryControl();
};

void TestControls::userEditIsWrittenAndPosted_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("edit appends") << u"edit"_s << u"学生姓名"_s << u"丰"_s << QVariant(u"张三丰"_s);
    QTest::newRow("edit cleared is null") << u"edit"_s << u"学生姓名"_s << u"\b\b"_s << QVariant();
    QTest::newRow("digits edit keeps digits") << u"digits"_s << u"联系电话"_s << u"4a-5 六6"_s
                                              << QVariant(u"123456"_s);
    QTest::newRow("combo typed") << u"combo"_s << u"年级"_s << u"\b\b高三"_s << QVariant(u"高三"_s);
    QTest::newRow("combo chosen") << u"combo"_s << u"年级"_s << u"down"_s << QVariant(u"初二"_s);
    QTest::newRow("memo typed") << u"memo"_s << u"辅导时间"_s << u"周六"_s << QVariant(u"周六周一"_s);
    QTest::newRow("currency plain number") << u"currency"_s << u"费用"_s << u"\b\b\b\b\b\b88.5"_s << QVariant(88.5);
    QTest::newRow("currency with yuan sign") << u"currency"_s << u"费用"_s << u"\b\b\b\b\b7"_s << QVariant(7.0);
    QTest::newRow("currency zero") << u"currency"_s << u"费用"_s << u"\b\b\b\b\b0"_s << QVariant(0.0);
    QTest::newRow("currency emptied is null") << u"currency"_s << u"费用"_s << u"\b\b\b\b\b\b"_s << QVariant();
    QTest::newRow("radio stores item text") << u"radio"_s << u"性别"_s << u"1"_s << QVariant(u"女"_s);
    QTest::newRow("date picker writes the day") << u"date"_s << u"登记日期"_s << QString()
                                                << QVariant(QDate(2024, 3, 6));
    QTest::newRow("unticked date is null") << u"datetick"_s << u"登记日期"_s << QString() << QVariant();
}

void TestControls::userEditIsWrittenAndPosted()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, input);
    QFETCH(QVariant, expected);
    TableCursor *c = f->dm->stu_table;
    std::unique_ptr<QWidget> w(makeControl(kind, f->dm->stu_ds, column));

    act(kind, w.get(), input);

    QCOMPARE(c->state(), TableCursor::State::Edit); // auto-edit
    QCOMPARE(c->value(column), expected);
    c->post();
    QCOMPARE(f->stored(u"7"_s, column), expected);
    QCOMPARE(c->value(column), expected);
}

void TestControls::cancelRestoresShownValue()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, input);
    TableCursor *c = f->dm->stu_table;
    std::unique_ptr<QWidget> w(makeControl(kind, f->dm->stu_ds, column));
    const QString before = shown(w.get());
    const QVariant storedBefore = f->stored(u"7"_s, column);

    act(kind, w.get(), input);
    QVERIFY(shown(w.get()) != before);
    c->cancel();

    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(shown(w.get()), before);
    QCOMPARE(f->stored(u"7"_s, column), storedBefore);
}

void TestControls::readOnlyControlNeverWrites()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QString, input);
    TableCursor *c = f->dm->stu_table;
    std::unique_ptr<QWidget> w(makeControl(kind, f->dm->stu_ds, column));
    setReadOnly(w.get(), true);
    const QString before = shown(w.get());
    const QVariant value = c->value(column);

    act(kind, w.get(), input);
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(shown(w.get()), before);

    // Not even in edit state.
    c->edit();
    act(kind, w.get(), input);
    QCOMPARE(c->value(column), value);
    QVERIFY(!c->isModified());
    QCOMPARE(shown(w.get()), before);
}

// Columns of the tables that put a value into a control and look at what it shows.
static void addShownValueColumns()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expectedShown");
}

void TestControls::programSetterWritesOnlyInEditStates_data()
{
    addShownValueColumns();

    QTest::newRow("edit setText") << u"edit"_s << u"学生姓名"_s << QVariant(u"李四"_s) << u"李四"_s;
    QTest::newRow("combo setEditText") << u"combo"_s << u"年级"_s << QVariant(u"高一"_s) << u"高一"_s;
    QTest::newRow("memo setPlainText") << u"memo"_s << u"辅导时间"_s << QVariant(u"周六\n周日"_s) << u"周六\n周日"_s;
    QTest::newRow("radio setItemIndex") << u"radio"_s << u"性别"_s << QVariant(u"女"_s) << u"1:女"_s;
    QTest::newRow("date setDate") << u"date"_s << u"登记日期"_s << QVariant(QDate(2025, 1, 31))
                                  << u"2025-01-31|2025-01-31"_s;
    QTest::newRow("ticked date setDate(null)") << u"datetick"_s << u"登记日期"_s << QVariant() << u"☐|-"_s;
    QTest::newRow("currency zero") << u"currency"_s << u"费用"_s << QVariant(0.0) << u"￥0.00"_s;
    QTest::newRow("currency null") << u"currency"_s << u"费用"_s << QVariant() << QString();
}

static void setByProgram(const QString &kind, QWidget *w, const QVariant &value)
{
    if (kind == u"edit"_s)
        static_cast<DBEdit *>(w)->setText(value.toString());
    else if (kind == u"combo"_s)
        static_cast<DBComboBox *>(w)->setEditText(value.toString());
    else if (kind == u"memo"_s)
        static_cast<DBMemo *>(w)->setPlainText(value.toString());
    else if (kind == u"radio"_s)
        static_cast<DBRadioGroup *>(w)->setItemIndex(int(static_cast<DBRadioGroup *>(w)->items().indexOf(value.toString())));
    else if (kind == u"date"_s || kind == u"datetick"_s)
        static_cast<DBDatePicker *>(w)->setDate(value.toDate());
    else if (kind == u"currency"_s)
        static_cast<DBCurrencyEdit *>(w)->setAmount(value);
}

void TestControls::programSetterWritesOnlyInEditStates()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, expectedShown);
    TableCursor *c = f->dm->stu_table;
    std::unique_ptr<QWidget> w(makeControl(kind, f->dm->stu_ds, column));
    const QVariant before = c->value(column);
    QVERIFY(before != value);

    // Browsing: shown, not written, no edit state.
    setByProgram(kind, w.get(), value);
    QCOMPARE(shown(w.get()), expectedShown);
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(c->value(column), before);

    // A new row (the editors set today's date this way in add mode).
    c->append();
    c->setValue(u"编号"_s, u"8"_s);
    setByProgram(kind, w.get(), value);
    QCOMPARE(c->value(column), value);
    c->post();
    QCOMPARE(f->stored(u"8"_s, column), value);
    QCOMPARE(shown(w.get()), expectedShown);

    // A row being changed; a read-only control leaves it alone.
    c->edit();
    setReadOnly(w.get(), true);
    setByProgram(kind, w.get(), before);
    QCOMPARE(c->value(column), value);
    setReadOnly(w.get(), false);
    setByProgram(kind, w.get(), before);
    QCOMPARE(c->value(column), before);
    c->post();
    QCOMPARE(f->stored(u"8"_s, column), before);
}

void TestControls::showsCurrentRow_data()
{
    addShownValueColumns();

    QTest::newRow("radio known text") << u"radio"_s << u"性别"_s << QVariant(u"女"_s) << u"1:女"_s;
    QTest::newRow("radio unknown text") << u"radio"_s << u"性别"_s << QVariant(u"未知"_s) << u"-1:"_s;
    QTest::newRow("radio null") << u"radio"_s << u"性别"_s << QVariant() << u"-1:"_s;
    QTest::newRow("currency zero") << u"currency"_s << u"费用"_s << QVariant(0.0) << u"￥0.00"_s;
    QTest::newRow("currency null") << u"currency"_s << u"费用"_s << QVariant() << QString();
    QTest::newRow("currency amount") << u"currency"_s << u"费用"_s << QVariant(1234.5) << u"￥1234.50"_s;
    QTest::newRow("currency negative") << u"currency"_s << u"费用"_s << QVariant(-5.0) << u"-￥5.00"_s;
    QTest::newRow("date") << u"date"_s << u"登记日期"_s << QVariant(QDate(2023, 12, 31)) << u"2023-12-31|2023-12-31"_s;
    QTest::newRow("null date is blank") << u"date"_s << u"登记日期"_s << QVariant() << u"| "_s;
    QTest::newRow("ticked date") << u"datetick"_s << u"登记日期"_s << QVariant(QDate(2023, 1, 2))
                                 << u"☑2023-01-02|2023-01-02"_s;
    QTest::newRow("combo text not in list") << u"combo"_s << u"年级"_s << QVariant(u"大一"_s) << u"大一"_s;
    QTest::newRow("memo lines") << u"memo"_s << u"辅导时间"_s << QVariant(u"周一\n周二"_s) << u"周一\n周二"_s;
    QTest::newRow("edit on a currency column") << u"edit"_s << u"费用"_s << QVariant(3.0) << u"￥3.00"_s;
    QTest::newRow("edit on a date column") << u"edit"_s << u"登记日期"_s << QVariant(QDate(2022, 2, 2))
                                           << u"2022-02-02"_s;
}

void TestControls::showsCurrentRow()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QString, expectedShown);
    TableCursor *c = f->dm->stu_table;
    c->edit();
    c->setValue(column, value);
    c->post();
    std::unique_ptr<QWidget> w(makeControl(kind, f->dm->stu_ds, column));
    QCOMPARE(shown(w.get()), expectedShown);
    if (kind == u"datetick"_s)
        QVERIFY(static_cast<DBDatePicker *>(w.get())->isChecked());
}

void TestControls::followsCursorAndOtherControls()
{
    TableCursor *c = f->dm->stu_table;
    QVariantMap second = baseStudent();
    second[u"编号"_s] = u"9"_s;
    second[u"学生姓名"_s] = u"王五"_s;
    second[u"性别"_s] = u"女"_s;
    second[u"登记日期"_s] = QVariant();
    f->addStudent(second);

    DBEdit name, name2;
    name.bind(f->dm->stu_ds, u"学生姓名"_s);
    name2.bind(f->dm->stu_ds, u"学生姓名"_s);
    DBRadioGroup sex;
    sex.setItems({u"男"_s, u"女"_s});
    sex.bind(f->dm->stu_ds, u"性别"_s);
    DBDatePicker day;
    day.setShowCheckBox(true);
    day.bind(f->dm->stu_ds, u"登记日期"_s);

    QCOMPARE(name.text(), u"王五"_s);
    QCOMPARE(sex.itemIndex(), 1);
    QVERIFY(!day.isChecked());
    QVERIFY(!day.date().isValid());
    c->first();
    QCOMPARE(name.text(), u"张三"_s);
    QCOMPARE(sex.itemIndex(), 0);
    QCOMPARE(day.date(), QDate(2024, 3, 5));

    // Typing in one control shows in the other bound to the same column, not echoed back.
    name.setCursorPosition(1);
    typeText(&name, u"小"_s);
    QCOMPARE(name.text(), u"张小三"_s);
    QCOMPARE(name.cursorPosition(), 2);
    QCOMPARE(name2.text(), u"张小三"_s);

    // Leaving the row posts it; the other row shows.
    c->last();
    QCOMPARE(name.text(), u"王五"_s);
    QCOMPARE(f->stored(u"7"_s, u"学生姓名"_s), QVariant(u"张小三"_s));

    // A closed cursor shows nothing.
    c->close();
    QCOMPARE(name.text(), QString());
    QCOMPARE(sex.itemIndex(), -1);
}

void TestControls::comboKeepsValueWhenListIsFilled()
{
    TableCursor *c = f->dm->stu_table;
    DBComboBox grade;
    grade.bind(f->dm->stu_ds, u"年级"_s);
    QCOMPARE(grade.currentText(), u"初一"_s);
    // The windows fill their lists when shown, after binding.
    grade.clear();
    grade.addItems({u"高一"_s, u"初一"_s});
    QCOMPARE(grade.currentText(), u"初一"_s);
    QCOMPARE(grade.currentIndex(), 1);
    grade.clear();
    grade.addItems({u"高一"_s, u"高二"_s});
    QCOMPARE(grade.currentText(), u"初一"_s);
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(grade.count(), 2);
    // Typed text is not added to the list.
    typeText(&grade, u"\b\b大二"_s);
    QTest::keyClick(&grade, Qt::Key_Return);
    QCOMPARE(grade.count(), 2);
    QCOMPARE(c->value(u"年级"_s), QVariant(u"大二"_s));
}

void TestControls::typingIntoEmptyCursorIsTakenBack()
{
    // A fresh database has no teachers: nothing to edit, the typed text goes.
    TableCursor *t = f->dm->tea_table;
    QVERIFY(t->isEmpty());
    DBEdit name;
    name.bind(f->dm->tea_ds, u"姓名"_s);
    typeText(&name, u"赵"_s);
    QCOMPARE(name.text(), QString());
    QCOMPARE(t->state(), TableCursor::State::Browse);

    // With auto-edit off, a browsing cursor is not put into edit state either.
    f->dm->stu_ds->setAutoEdit(false);
    DBEdit student;
    student.bind(f->dm->stu_ds, u"学生姓名"_s);
    typeText(&student, u"丰"_s);
    QCOMPARE(student.text(), u"张三"_s);
    QCOMPARE(f->dm->stu_table->state(), TableCursor::State::Browse);
    f->dm->stu_ds->setAutoEdit(true);
}

void TestControls::checkBoxWritesYesNo()
{
    TableCursor *u = f->dm->user_table;
    const QString column = permissionColumns().first();
    QCOMPARE(u->value(column), QVariant(true));
    std::unique_ptr<QWidget> w(makeControl(u"check"_s, f->dm->users_ds, column));
    auto *box = static_cast<DBCheckBox *>(w.get());
    QVERIFY(box->isChecked());

    box->setReadOnly(true);
    act(u"check"_s, box, {});
    QVERIFY(box->isChecked());
    QCOMPARE(u->state(), TableCursor::State::Browse);

    box->setReadOnly(false);
    act(u"check"_s, box, {});
    QVERIFY(!box->isChecked());
    QCOMPARE(u->state(), TableCursor::State::Edit);
    QCOMPARE(u->value(column), QVariant(false));
    u->post();
    const QVariant stored = f->db->scalar(u"SELECT \"%1\" FROM \"用户\" WHERE \"用户名\" = ?"_s.arg(column), {kSuperUser});
    QCOMPARE(SqlDialect::fromStorage(ColumnKind::YesNo, stored), QVariant(false));

    // Programmatic ticks write only while editing.
    box->setChecked(true);
    QCOMPARE(u->value(column), QVariant(false));
    u->edit();
    box->setChecked(true);
    QCOMPARE(u->value(column), QVariant(true));
    u->cancel();
    QVERIFY(!box->isChecked());
}

void TestControls::unboundControlsArePlain()
{
    DBEdit e;
    typeText(&e, u"abc"_s);
    QCOMPARE(e.text(), u"abc"_s);
    e.setText(u"x"_s);
    QCOMPARE(e.text(), u"x"_s);
    QVERIFY(!e.dataSource());

    DBRadioGroup r;
    r.setItems({u"男"_s, u"女"_s});
    r.setItemIndex(1);
    QCOMPARE(r.itemText(), u"女"_s);
    r.setItems({u"女"_s, u"男"_s});
    QCOMPARE(r.itemIndex(), 0); // the chosen text stays chosen
    r.setItemIndex(-1);
    QCOMPARE(r.itemIndex(), -1);

    DBDatePicker d;
    d.setDate(QDate(2020, 2, 29));
    QCOMPARE(d.date(), QDate(2020, 2, 29));
    d.setShowCheckBox(true);
    QCOMPARE(d.date(), QDate(2020, 2, 29));
    d.setDate({});
    QVERIFY(!d.date().isValid());
    QVERIFY(!d.dateEdit()->isEnabled());

    DBCurrencyEdit m;
    typeText(&m, u"12.345a"_s); // the third decimal and the letter do not fit
    QCOMPARE(m.text(), u"12.34"_s);
    QCOMPARE(m.amount(), QVariant(12.34));

    // Binding to nothing after a link leaves a plain control.
    DBEdit bound;
    bound.bind(f->dm->stu_ds, u"学生姓名"_s);
    bound.bind(nullptr, {});
    typeText(&bound, u"丰"_s);
    QCOMPARE(bound.text(), u"张三丰"_s);
    QCOMPARE(f->dm->stu_table->state(), TableCursor::State::Browse);
}

void TestControls::doubleClickSignals()
{
    DBEdit e;
    DBMemo m;
    e.bind(f->dm->stu_ds, u"辅导科目"_s);
    m.bind(f->dm->stu_ds, u"辅导时间"_s);
    QSignalSpy es(&e, &DBEdit::doubleClicked), ms(&m, &DBMemo::doubleClicked);
    QTest::mouseDClick(&e, Qt::LeftButton);
    QTest::mouseDClick(m.viewport(), Qt::LeftButton);
    QCOMPARE(es.count(), 1);
    QCOMPARE(ms.count(), 1);
    QCOMPARE(f->dm->stu_table->state(), TableCursor::State::Browse);
}

void TestControls::unknownColumnIsRefused()
{
    DBEdit e;
    QVERIFY_THROWS_EXCEPTION(DatabaseError, e.bind(f->dm->stu_ds, u"没有这一列"_s));
}

// A small form with every control and a grid over a few rows. Nothing may be squeezed below its
// size hint; with TAVIMOR_SCREENSHOT_DIR set the form is saved there as kit.png to look at.
void TestControls::demoFormLaysOutEveryControl()
{
    TableCursor *c = f->dm->stu_table;
    c->edit();
    c->setValue(u"辅导科目"_s, u"数学|英语"_s);
    c->setValue(u"父亲文化程度"_s, u"本科"_s);
    c->post();
    f->addStudent({{u"编号"_s, u"8"_s}, {u"学生姓名"_s, u"李小红"_s}, {u"性别"_s, u"女"_s}, {u"年级"_s, u"高一"_s},
                   {u"学校"_s, u"第一中学"_s}, {u"费用"_s, 0.0}, {u"登记日期"_s, QDate(2024, 9, 1)}});
    f->addStudent({{u"编号"_s, u"9"_s}, {u"学生姓名"_s, u"王强"_s}, {u"性别"_s, u"男"_s}, {u"年级"_s, u"初二"_s},
                   {u"费用"_s, 1250.5}, {u"登记日期"_s, QDate(2024, 10, 8)}});
    c->first();
    DataLink *ds = f->dm->stu_ds;

    QWidget form;
    form.setWindowTitle(u"控件一览"_s);
    form.setFont(songFont(9));
    auto *grid = new QGridLayout(&form);
    int row = 0;
    const auto add = [&](const QString &label, QWidget *w, int span = 1) {
        grid->addWidget(new QLabel(label, &form), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(w, row, 1, 1, span);
        ++row;
    };
    auto *name = new DBEdit(&form);
    name->bind(ds, u"学生姓名"_s);
    add(u"学生姓名："_s, name);
    auto *phone = new DBEdit(&form);
    DigitsOnlyFilter::install(phone);
    phone->bind(ds, u"联系电话"_s);
    add(u"联系电话："_s, phone);
    auto *sex = new DBRadioGroup(&form);
    sex->setTitle(u"性别"_s);
    sex->setItems({u"男"_s, u"女"_s});
    sex->setColumns(2);
    sex->bind(ds, u"性别"_s);
    add(u""_s, sex);
    auto *grade = new DBComboBox(&form);
    grade->addItems(kGrades);
    grade->bind(ds, u"年级"_s);
    add(u"年级："_s, grade);
    auto *edu = new DBComboBox(&form);
    edu->addItems(educationLevels());
    edu->bind(ds, u"父亲文化程度"_s);
    edu->setReadOnly(true);
    add(u"父亲文化程度："_s, edu);
    auto *subjects = new DBEdit(&form);
    subjects->bind(ds, u"辅导科目"_s);
    setDoubleClickField(subjects);
    add(u"辅导科目："_s, subjects);
    auto *times = new DBMemo(&form);
    times->bind(ds, u"辅导时间"_s);
    setDoubleClickField(times);
    times->setReadOnly(true);
    times->setFixedHeight(48);
    add(u"辅导时间："_s, times);
    auto *day = new DBDatePicker(&form);
    day->bind(ds, u"登记日期"_s);
    add(u"登记日期："_s, day);
    auto *since = new DBDatePicker(&form);
    since->setShowCheckBox(true);
    since->bind(ds, u"登记日期"_s);
    add(u"起始日期："_s, since);
    auto *fee = new DBCurrencyEdit(&form);
    fee->bind(ds, u"费用"_s);
    add(u"费用："_s, fee);
    auto *flag = new DBCheckBox(u"添加学生"_s, &form);
    flag->bind(f->dm->users_ds, permissionColumns().first());
    add(u"权限："_s, flag);
    auto *register_ = new DBGrid(&form);
    register_->bind(ds);
    register_->setMinimumSize(640, 150);
    grid->addWidget(register_, 0, 2, row, 1);
    grid->setColumnStretch(2, 1);

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    c->moveTo(1);
    QCOMPARE(name->text(), u"李小红"_s);
    QCOMPARE(fee->text(), u"￥0.00"_s);
    QCOMPARE(register_->currentIndex().row(), 1);
    const QString dir = qEnvironmentVariable("TAVIMOR_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(form.grab().save(dir + u"/kit.png"_s));
    for (QWidget *w : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractScrollArea *>(w)) // labels below; areas scroll
            continue;
        QVERIFY2(w->width() >= w->minimumSizeHint().width() && w->height() >= w->minimumSizeHint().height(),
                 w->metaObject()->className());
    }
    for (QLabel *l : form.findChildren<QLabel *>())
        QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
    c->cancel();
}

int runControlsTests(int argc, char **argv)
{
    TestControls t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_controls.moc"
