// The three choice pop-ups: their look, lists, the caller table with its ways of writing, the
// empty-choice messages and the growth of the subject and target lists.
#include "database.h"
#include "dbcontrols.h"
#include "look.h"
#include "studentfixture.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using namespace tavimor::test;

namespace {

enum class Pop { Course, Time, Target };
enum class Kind { Line, Memo, DataLine, DataMemo };

ChoicePopup *popup(Pop p)
{
    switch (p) {
    case Pop::Course:
        return selectcourse_form;
    case Pop::Time:
        return selecttime_form;
    case Pop::Target:
        return selectduixiang_form;
    }
    return nullptr;
}

// A top-level window standing in for an opener, holding the target control; data-aware kinds
// are bound to the student register's column (a text or a memo column).
struct StandIn {
    std::unique_ptr<QWidget> window;
    QWidget *control = nullptr;

    StandIn(const QString &form, const QString &name, Kind kind, const QString &oldText)
        : window(std::make_unique<QWidget>())
    {
        window->setObjectName(form);
        switch (kind) {
        case Kind::Line:
            control = new QLineEdit(oldText, window.get());
            break;
        case Kind::Memo:
            control = new QPlainTextEdit(oldText, window.get());
            break;
        case Kind::DataLine: {
            auto *e = new DBEdit(window.get());
            e->bind(DM->stu_ds, u"辅导科目"_s); // shows the record
            control = e;
            break;
        }
        case Kind::DataMemo: {
            auto *m = new DBMemo(window.get());
            m->bind(DM->stu_ds, u"辅导时间"_s);
            control = m;
            break;
        }
        }
        control->setObjectName(name);
    }
    QString text() const
    {
        if (auto *e = qobject_cast<QLineEdit *>(control))
            return e->text();
        return qobject_cast<QPlainTextEdit *>(control)->toPlainText();
    }
};

void chooseTime(const QString &day, const QString &begin, const QString &end)
{
    selecttime_form->day_cb->setEditText(day);
    selecttime_form->begin_cb->setEditText(begin);
    selecttime_form->end_cb->setEditText(end);
}

const QString kSlot = u"星期六上午8：00至上午10：00"_s;

// What an opener and then the user do: the pop-up prepared for caller and shown, the choice made
// (for the time-slot pop-up the choice is the day, from 上午8：00 to 上午10：00).
void offer(Pop p, int caller, const QString &choice)
{
    switch (p) {
    case Pop::Course:
        selectcourse_form->prepareFor(caller);
        selectcourse_form->show();
        selectcourse_form->course_cb->setEditText(choice);
        break;
    case Pop::Time:
        selecttime_form->caller = caller;
        selecttime_form->show();
        chooseTime(choice, u"上午8：00"_s, u"上午10：00"_s);
        break;
    case Pop::Target:
        selectduixiang_form->prepareFor(caller);
        selectduixiang_form->show();
        selectduixiang_form->duixiang_dbcb->setEditText(choice);
        break;
    }
}

void confirm(Pop p)
{
    QTest::mouseClick(popup(p)->ToolButton1, Qt::LeftButton);
}

} // namespace

class TestPopups : public QObject
{
    Q_OBJECT
    std::unique_ptr<StudentFixture> f;

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void look_data();
    void look();
    void altShortcuts_data() { look_data(); }
    void altShortcuts();
    void timeItems();
    void callerTable_data();
    void callerTable();
    void dataAwareTargets_data();
    void dataAwareTargets();
    void repeatedChoices_data();
    void repeatedChoices();
    void lookupGrowth_data();
    void lookupGrowth();
    void openerFillsList_data();
    void openerFillsList();
    void emptyChoice_data();
    void emptyChoice();
    void incompleteTime();
    void timeBoxesEmptiedAtShow();
    void typedTimeAccepted();
    void missingTarget_data();
    void missingTarget();
    void closeDoesNothing_data() { look_data(); }
    void closeDoesNothing();
    void modalShowThroughOpener();
    void screenshots();
};

void TestPopups::initTestCase_data()
{
    QTest::addColumn<int>("engine");
    for (auto e : TestDatabase::engines())
        QTest::newRow(qPrintable(TestDatabase::engineName(e))) << int(e);
}

void TestPopups::init()
{
    QFETCH_GLOBAL(int, engine);
    f = std::make_unique<StudentFixture>(TestDatabase::Engine(engine), false);
}

void TestPopups::cleanup()
{
    f.reset();
}

void TestPopups::look_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("subject") << int(Pop::Course) << u"selectcourse_form"_s << u"请选择科目:"_s;
    QTest::newRow("time") << int(Pop::Time) << u"selecttime_form"_s << u"请选择时间段："_s;
    QTest::newRow("target") << int(Pop::Target) << u"selectduixiang_form"_s << u"请选择可授课对象:"_s;
}

void TestPopups::look()
{
    QFETCH(int, pop);
    QFETCH(QString, name);
    QFETCH(QString, prompt);
    ChoicePopup *p = popup(Pop(pop));
    QCOMPARE(p->objectName(), name);
    QVERIFY(p->isWindow());
    QVERIFY(p->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(p->promptLabel->text(), prompt);
    QCOMPARE(p->palette().color(QPalette::Window), QColor(239, 235, 222));
    QCOMPARE(p->ToolButton1->objectName(), u"ToolButton1"_s);
    QCOMPARE(p->ToolButton1->text(), u"&O确定"_s);
    QCOMPARE(p->ToolButton2->text(), u"&C关闭"_s);
    QVERIFY(p->ToolButton1->autoRaise());
    QVERIFY(p->ToolButton2->autoRaise());

    p->show();
    const QImage img = p->grab().toImage();
    // The thin frame line along the edge, the fixed-cell colour inside.
    QCOMPARE(img.pixelColor(0, img.height() / 2), QColor(128, 128, 128));
    QCOMPARE(img.pixelColor(img.width() - 1, img.height() / 2), QColor(128, 128, 128));
    QCOMPARE(img.pixelColor(img.width() / 2, 0), QColor(128, 128, 128));
    QCOMPARE(img.pixelColor(3, 3), QColor(239, 235, 222));
    // Sized to the content: every control lies inside the window.
    for (QWidget *w : p->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        const QRect r(w->mapTo(p, QPoint(0, 0)), w->size());
        QVERIFY2(p->rect().contains(r), qPrintable(w->objectName()));
    }
}

void TestPopups::altShortcuts()
{
    QFETCH(int, pop);
    ChoicePopup *p = popup(Pop(pop));
    QCOMPARE(p->ToolButton1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    QCOMPARE(p->ToolButton2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    // Alt+C closes the shown pop-up; Alt+O on an empty choice only complains.
    p->show();
    focusOn(p);
    // A shortcut presses its button with a short animation.
    QTest::keyClick(p, Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(f->messages->shown().size(), 1);
    QVERIFY(p->isVisible());
    QTest::keyClick(p, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!p->isVisible());
    QCOMPARE(f->messages->shown().size(), 1);
}

void TestPopups::timeItems()
{
    const QStringList days{u"星期天"_s, u"星期一"_s, u"星期二"_s, u"星期三"_s,
                           u"星期四"_s, u"星期五"_s, u"星期六"_s};
    QStringList items;
    for (int i = 0; i < selecttime_form->day_cb->count(); ++i)
        items << selecttime_form->day_cb->itemText(i);
    QCOMPARE(items, days);
    for (QComboBox *cb : {selecttime_form->begin_cb, selecttime_form->end_cb}) {
        QCOMPARE(cb->count(), 20);
        QCOMPARE(cb->itemText(0), u"早上5\uFF1A00"_s);
        QCOMPARE(cb->itemText(3), u"上午8\uFF1A00"_s);
        QCOMPARE(cb->itemText(7), u"中午12\uFF1A00"_s);
        QCOMPARE(cb->itemText(19), u"晚上12\uFF1A00"_s);
        for (int i = 0; i < cb->count(); ++i)
            QVERIFY(!cb->itemText(i).contains(u':'));
        QVERIFY(cb->isEditable());
    }
    QCOMPARE(selecttime_form->Label2->text(), u"的"_s);
    QCOMPARE(selecttime_form->Label3->text(), u"至"_s);
}

void TestPopups::callerTable_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<int>("caller");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("expected");

    struct Row {
        const char *tag;
        Pop pop;
        int caller;
        QString form, control;
        Kind kind;
    };
    const QList<Row> rows = {
        {"subject 0 student editor", Pop::Course, 0, u"editstu_form"_s, u"subject_dbedit"_s, Kind::Line},
        {"subject 1 teacher editor", Pop::Course, 1, u"edittea_form"_s, u"shanchang_dbedit"_s, Kind::Line},
        {"subject 2 teacher search", Pop::Course, 2, u"teaquery_form"_s, u"subject_edit"_s, Kind::Line},
        {"subject 3 student search", Pop::Course, 3, u"stuquery_form"_s, u"subject_edit"_s, Kind::Line},
        {"time 0 student editor", Pop::Time, 0, u"editstu_form"_s, u"teachtime_dbmemo"_s, Kind::Memo},
        {"time 1 teacher editor", Pop::Time, 1, u"edittea_form"_s, u"teachtime_dbmemo"_s, Kind::Memo},
        {"time 2 teacher search", Pop::Time, 2, u"teaquery_form"_s, u"teachtime_memo"_s, Kind::Memo},
        {"time 3 record editor", Pop::Time, 3, u"editteachrecord_form"_s, u"teachtime_dbedit"_s, Kind::Line},
        {"time 4 student search", Pop::Time, 4, u"stuquery_form"_s, u"teachtime_edit"_s, Kind::Line},
        {"target 0 teacher editor", Pop::Target, 0, u"edittea_form"_s, u"teachduixiang_dbmemo"_s, Kind::Memo},
        {"target 1 teacher search", Pop::Target, 1, u"teaquery_form"_s, u"teachduixiang_memo"_s, Kind::Memo},
        {"target 2 teacher search", Pop::Target, 2, u"teaquery_form"_s, u"teachduixiang_memo"_s, Kind::Memo},
        {"target -1 teacher search", Pop::Target, -1, u"teaquery_form"_s, u"teachduixiang_memo"_s,
         Kind::Memo},
    };
    for (const Row &r : rows) {
        const QString value = r.pop == Pop::Course ? u"数学"_s : r.pop == Pop::Time ? kSlot : u"初中生"_s;
        QString joined;
        if (r.pop == Pop::Course)
            joined = u"语文|"_s + value;
        else if (r.pop == Pop::Time && (r.caller == 3 || r.caller == 4))
            joined = u"星期一早上6\uFF1A00至上午7\uFF1A00"_s + value;
        else
            joined = u"小学生\n"_s + value;
        const QString old = joined.left(joined.size() - value.size() -
                                        (r.kind == Kind::Memo || r.pop == Pop::Course ? 1 : 0));
        QTest::addRow("%s, empty", r.tag)
            << int(r.pop) << r.caller << r.form << r.control << int(r.kind) << value << QString() << value;
        QTest::addRow("%s, with text", r.tag)
            << int(r.pop) << r.caller << r.form << r.control << int(r.kind) << value << old << joined;
        if (r.kind == Kind::Memo)
            QTest::addRow("%s, ending in a line break", r.tag)
                << int(r.pop) << r.caller << r.form << r.control << int(r.kind) << value << old + u'\n'
                << joined;
    }
}

void TestPopups::callerTable()
{
    QFETCH(int, pop);
    QFETCH(int, caller);
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(int, kind);
    QFETCH(QString, value);
    QFETCH(QString, oldText);
    QFETCH(QString, expected);

    StandIn target(form, control, Kind(kind), oldText);
    // A second window with a control of the same name must not receive anything.
    StandIn other(u"otherwindow_form"_s, control, Kind(kind), oldText);
    ChoicePopup *p = popup(Pop(pop));
    offer(Pop(pop), caller, Pop(pop) == Pop::Time ? u"星期六"_s : value);
    confirm(Pop(pop));
    QCOMPARE(f->messages->shown().size(), 0);
    QVERIFY(!p->isVisible());
    QCOMPARE(p->result(), int(QDialog::Accepted));
    QCOMPARE(target.text(), expected);
    QCOMPARE(other.text(), oldText);
}

void TestPopups::dataAwareTargets_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<int>("caller");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("inserting"); // else the row browses: the write puts it into edit state
    QTest::addColumn<QString>("expected");
    QTest::newRow("subject into a record being added")
        << int(Pop::Course) << 0 << u"editstu_form"_s << u"subject_dbedit"_s << int(Kind::DataLine)
        << u"辅导科目"_s << true << u"英语|物理"_s;
    QTest::newRow("subject into a browsing record")
        << int(Pop::Course) << 1 << u"edittea_form"_s << u"shanchang_dbedit"_s << int(Kind::DataLine)
        << u"辅导科目"_s << false << u"英语|物理"_s;
    QTest::newRow("time line into a record being added")
        << int(Pop::Time) << 0 << u"editstu_form"_s << u"teachtime_dbmemo"_s << int(Kind::DataMemo)
        << u"辅导时间"_s << true << u"英语\n"_s + kSlot;
    QTest::newRow("time appended to a browsing record")
        << int(Pop::Time) << 3 << u"editteachrecord_form"_s << u"teachtime_dbedit"_s << int(Kind::DataLine)
        << u"辅导科目"_s << false << u"英语"_s + kSlot;
    QTest::newRow("target line into a record being added")
        << int(Pop::Target) << 0 << u"edittea_form"_s << u"teachduixiang_dbmemo"_s << int(Kind::DataMemo)
        << u"辅导时间"_s << true << u"英语\n高中生"_s;
}

void TestPopups::dataAwareTargets()
{
    QFETCH(int, pop);
    QFETCH(int, caller);
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(int, kind);
    QFETCH(QString, column);
    QFETCH(bool, inserting);
    QFETCH(QString, expected);

    TableCursor *stu = DM->stu_table;
    f->addStudent({{u"学生姓名"_s, u"甲"_s}, {column, u"英语"_s}});
    if (inserting) {
        stu->insert();
        stu->setValue(column, u"英语"_s);
    }
    StandIn target(form, control, Kind(kind), QString());
    QCOMPARE(target.text(), u"英语"_s); // shows the record

    offer(Pop(pop), caller,
          Pop(pop) == Pop::Course ? u"物理"_s
          : Pop(pop) == Pop::Time ? u"星期六"_s
                                  : u"高中生"_s);
    confirm(Pop(pop));
    QVERIFY(!popup(Pop(pop))->isVisible());
    QCOMPARE(target.text(), expected);
    // The pending record holds the written text; it is saved with the record.
    QCOMPARE(stu->state(), inserting ? TableCursor::State::Insert : TableCursor::State::Edit);
    QCOMPARE(stu->value(column).toString(), expected);
    stu->post();
    QCOMPARE(f->count(u"客户资料表"_s, SqlDialect::quote(column) + u" = ?"_s, {expected}), 1);
}

void TestPopups::repeatedChoices_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<int>("caller");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same subject twice")
        << int(Pop::Course) << 0 << u"editstu_form"_s << u"subject_dbedit"_s << int(Kind::Line)
        << QStringList{u"数学"_s, u"数学"_s} << u"数学|数学"_s;
    QTest::newRow("three slots, student editor: three lines")
        << int(Pop::Time) << 0 << u"editstu_form"_s << u"teachtime_dbmemo"_s << int(Kind::Memo)
        << QStringList{u"星期一"_s, u"星期三"_s, u"星期五"_s}
        << u"星期一上午8：00至上午10：00\n星期三上午8：00至上午10：00\n星期五上午8：00至上午10：00"_s;
    QTest::newRow("three slots, student search: one line")
        << int(Pop::Time) << 4 << u"stuquery_form"_s << u"teachtime_edit"_s << int(Kind::Line)
        << QStringList{u"星期一"_s, u"星期三"_s, u"星期五"_s}
        << u"星期一上午8：00至上午10：00星期三上午8：00至上午10：00星期五上午8：00至上午10：00"_s;
    QTest::newRow("two targets") << int(Pop::Target) << 1 << u"teaquery_form"_s << u"teachduixiang_memo"_s
                                 << int(Kind::Memo) << QStringList{u"小学生"_s, u"初中生"_s}
                                 << u"小学生\n初中生"_s;
}

void TestPopups::repeatedChoices()
{
    QFETCH(int, pop);
    QFETCH(int, caller);
    QFETCH(QString, form);
    QFETCH(QString, control);
    QFETCH(int, kind);
    QFETCH(QStringList, choices);
    QFETCH(QString, expected);

    StandIn target(form, control, Kind(kind), QString());
    for (const QString &c : choices) {
        offer(Pop(pop), caller, c);
        confirm(Pop(pop));
        QVERIFY(!popup(Pop(pop))->isVisible());
    }
    QCOMPARE(target.text(), expected);
}

void TestPopups::lookupGrowth_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("alreadyThere");
    QTest::newRow("new subject") << int(Pop::Course) << u"围棋"_s << false;
    QTest::newRow("known subject") << int(Pop::Course) << u"围棋"_s << true;
    QTest::newRow("subject with a quote") << int(Pop::Course) << u"Children's English"_s << false;
    QTest::newRow("known subject with a quote") << int(Pop::Course) << u"O'Neil 数学"_s << true;
    QTest::newRow("new target") << int(Pop::Target) << u"艺考生"_s << false;
    QTest::newRow("known target") << int(Pop::Target) << u"艺考生"_s << true;
    QTest::newRow("target with a quote") << int(Pop::Target) << u"kids' class"_s << false;
}

void TestPopups::lookupGrowth()
{
    QFETCH(int, pop);
    QFETCH(QString, value);
    QFETCH(bool, alreadyThere);

    const bool course = Pop(pop) == Pop::Course;
    const QString table = course ? u"课程"_s : u"授课对象"_s;
    const QString column = course ? u"名称"_s : u"对象"_s;
    TableCursor *cursor = course ? DM->course_table : DM->teachduixiang_table;
    if (alreadyThere)
        StudentFixture::addLookup(cursor, column, value);
    const int before = f->count(table);
    const int cursorBefore = cursor->recordCount();

    StandIn target(course ? u"stuquery_form"_s : u"teaquery_form"_s,
                   course ? u"subject_edit"_s : u"teachduixiang_memo"_s, course ? Kind::Line : Kind::Memo,
                   QString());
    offer(Pop(pop), course ? 3 : 1, value);
    confirm(Pop(pop));
    QCOMPARE(f->messages->shown().size(), 0);
    QCOMPARE(target.text(), value);

    const int added = alreadyThere ? 0 : 1;
    QCOMPARE(f->count(table), before + added);
    QCOMPARE(f->count(table, SqlDialect::quote(column) + u" = ?"_s, {value}), 1);
    // The cursor sees the new row, so the next opening offers it.
    QCOMPARE(cursor->recordCount(), cursorBefore + added);
    QCOMPARE(cursor->state(), TableCursor::State::Browse);
    auto *lookupPopup = static_cast<LookupChoicePopup *>(popup(Pop(pop)));
    QComboBox *list = course ? selectcourse_form->course_cb : selectduixiang_form->duixiang_dbcb;
    lookupPopup->prepareFor(3);
    QVERIFY(list->findText(value) >= 0);
    if (!alreadyThere)
        QCOMPARE(list->itemText(list->count() - 1), value);
    QCOMPARE(list->currentText(), QString());
}

void TestPopups::openerFillsList_data()
{
    QTest::addColumn<int>("pop");
    QTest::newRow("subject") << int(Pop::Course);
    QTest::newRow("target") << int(Pop::Target);
}

void TestPopups::openerFillsList()
{
    QFETCH(int, pop);
    const bool course = Pop(pop) == Pop::Course;
    TableCursor *cursor = course ? DM->course_table : DM->teachduixiang_table;
    const QString column = course ? u"名称"_s : u"对象"_s;
    QComboBox *list = course ? selectcourse_form->course_cb : selectduixiang_form->duixiang_dbcb;
    StudentFixture::addLookup(cursor, column, u"甲项"_s);
    StudentFixture::addLookup(cursor, column, u"乙项"_s);
    QStringList expected;
    for (int r = 0; r < cursor->recordCount(); ++r)
        expected << cursor->valueAt(r, cursor->columnIndex(column)).toString();
    QVERIFY(expected.size() >= 2);

    list->addItem(u"旧的选项"_s);
    list->setEditText(u"旧的文字"_s);
    static_cast<LookupChoicePopup *>(popup(Pop(pop)))->prepareFor(2);
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    QCOMPARE(items, expected);
    QCOMPARE(list->currentText(), QString());
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(popup(Pop(pop))->caller, 2);
    QVERIFY(list->isEditable());
}

void TestPopups::emptyChoice_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("method");
    QTest::addColumn<int>("kind");
    QTest::newRow("subject") << int(Pop::Course) << u"请选择或输入科目!"_s << u"messageBox"_s
                             << int(MessageService::Kind::Error);
    QTest::newRow("time") << int(Pop::Time) << u"请选择完整的时间!"_s << u"information"_s
                          << int(MessageService::Kind::Information);
    QTest::newRow("target") << int(Pop::Target) << u"请选择或输入可授课的对象!"_s << u"messageBox"_s
                            << int(MessageService::Kind::Error);
}

void TestPopups::emptyChoice()
{
    QFETCH(int, pop);
    QFETCH(QString, message);
    QFETCH(QString, method);
    QFETCH(int, kind);
    StandIn subject(u"editstu_form"_s, u"subject_dbedit"_s, Kind::Line, u"语文"_s);
    StandIn time(u"stuquery_form"_s, u"teachtime_edit"_s, Kind::Line, u"x"_s);
    StandIn target(u"edittea_form"_s, u"teachduixiang_dbmemo"_s, Kind::Memo, u"y"_s);
    const int courses = f->count(u"课程"_s), targets = f->count(u"授课对象"_s);

    ChoicePopup *p = popup(Pop(pop));
    offer(Pop(pop), Pop(pop) == Pop::Time ? 4 : 0, QString());
    confirm(Pop(pop));
    QVERIFY(p->isVisible());
    QCOMPARE(f->messages->shown().size(), 1);
    const auto &shown = f->messages->shown().first();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.method, method);
    QCOMPARE(int(shown.kind), kind);
    QCOMPARE(int(shown.buttons), int(MessageService::Buttons::Ok));
    QCOMPARE(subject.text(), u"语文"_s);
    QCOMPARE(time.text(), u"x"_s);
    QCOMPARE(target.text(), u"y"_s);
    QCOMPARE(f->count(u"课程"_s), courses);
    QCOMPARE(f->count(u"授课对象"_s), targets);
}

void TestPopups::incompleteTime()
{
    StandIn target(u"editstu_form"_s, u"teachtime_dbmemo"_s, Kind::Memo, QString());
    selecttime_form->caller = 0;
    selecttime_form->show();
    selecttime_form->day_cb->setCurrentIndex(6);
    selecttime_form->begin_cb->setCurrentIndex(3);
    QTest::mouseClick(selecttime_form->ToolButton1, Qt::LeftButton);
    QCOMPARE(f->messages->lastText(), u"请选择完整的时间!"_s);
    QVERIFY(selecttime_form->isVisible());
    QCOMPARE(target.text(), QString());
    // The choices made so far stay.
    QCOMPARE(selecttime_form->day_cb->currentText(), u"星期六"_s);
    QCOMPARE(selecttime_form->begin_cb->currentText(), u"上午8：00"_s);
    selecttime_form->end_cb->setCurrentIndex(5);
    QTest::mouseClick(selecttime_form->ToolButton1, Qt::LeftButton);
    QVERIFY(!selecttime_form->isVisible());
    QCOMPARE(target.text(), kSlot);
}

void TestPopups::timeBoxesEmptiedAtShow()
{
    StandIn target(u"stuquery_form"_s, u"teachtime_edit"_s, Kind::Line, QString());
    for (int round = 0; round < 3; ++round) {
        selecttime_form->caller = 4;
        selecttime_form->show();
        for (QComboBox *cb : {selecttime_form->day_cb, selecttime_form->begin_cb, selecttime_form->end_cb}) {
            QCOMPARE(cb->currentText(), QString());
            QCOMPARE(cb->currentIndex(), -1);
            QVERIFY(cb->count() > 0);
        }
        selecttime_form->day_cb->setCurrentIndex(round);
        selecttime_form->begin_cb->setCurrentIndex(2);
        selecttime_form->end_cb->setCurrentIndex(4);
        if (round == 1)
            selecttime_form->ToolButton2Click(); // closed without choosing
        else
            QTest::mouseClick(selecttime_form->ToolButton1, Qt::LeftButton);
        QVERIFY(!selecttime_form->isVisible());
    }
    QCOMPARE(target.text(), u"星期天上午7：00至上午9：00星期二上午7：00至上午9：00"_s);
}

void TestPopups::typedTimeAccepted()
{
    StandIn target(u"edittea_form"_s, u"teachtime_dbmemo"_s, Kind::Memo, QString());
    selecttime_form->caller = 1;
    selecttime_form->show();
    focusOn(selecttime_form->day_cb);
    typeText(selecttime_form->day_cb, u"周末"_s);
    typeText(selecttime_form->begin_cb, u"晚上7：30"_s);
    typeText(selecttime_form->end_cb, u"晚上9：30"_s);
    QCOMPARE(selecttime_form->slotText(), u"周末晚上7：30至晚上9：30"_s);
    QTest::mouseClick(selecttime_form->ToolButton1, Qt::LeftButton);
    QCOMPARE(target.text(), u"周末晚上7：30至晚上9：30"_s);
    // Typed values are never added to the lists.
    QCOMPARE(selecttime_form->begin_cb->count(), 20);
    QCOMPARE(selecttime_form->day_cb->count(), 7);
}

void TestPopups::missingTarget_data()
{
    QTest::addColumn<int>("pop");
    QTest::addColumn<int>("caller");
    QTest::newRow("subject, window not there") << int(Pop::Course) << 1;
    QTest::newRow("subject, unknown caller") << int(Pop::Course) << 9;
    QTest::newRow("time, unknown caller") << int(Pop::Time) << 5;
    QTest::newRow("target, window not there") << int(Pop::Target) << 0;
}

void TestPopups::missingTarget()
{
    QFETCH(int, pop);
    QFETCH(int, caller);
    // Only the student editor stands in, without the right control for the others.
    StandIn editor(u"editstu_form"_s, u"subject_dbedit"_s, Kind::Line, QString());
    const int courses = f->count(u"课程"_s), targets = f->count(u"授课对象"_s);
    offer(Pop(pop), caller,
          Pop(pop) == Pop::Course ? u"新科目"_s
          : Pop(pop) == Pop::Time ? u"星期六"_s
                                  : u"新对象"_s);
    confirm(Pop(pop));
    QVERIFY(popup(Pop(pop))->isVisible());
    QCOMPARE(f->messages->shown().size(), 1);
    QCOMPARE(f->messages->shown().first().kind, MessageService::Kind::Error);
    QVERIFY(f->messages->lastText().startsWith(u"找不到"_s));
    QCOMPARE(editor.text(), QString());
    QCOMPARE(f->count(u"课程"_s), courses);
    QCOMPARE(f->count(u"授课对象"_s), targets);
}

void TestPopups::closeDoesNothing()
{
    QFETCH(int, pop);
    StandIn a(u"editstu_form"_s, u"subject_dbedit"_s, Kind::Line, u"a"_s);
    StandIn b(u"edittea_form"_s, u"teachduixiang_dbmemo"_s, Kind::Memo, u"b"_s);
    auto *memo = new QPlainTextEdit(u"c"_s, a.window.get()); // the editor's second target
    memo->setObjectName(u"teachtime_dbmemo"_s);
    const int courses = f->count(u"课程"_s), targets = f->count(u"授课对象"_s);
    ChoicePopup *p = popup(Pop(pop));
    offer(Pop(pop), 0, Pop(pop) == Pop::Time ? u"星期六"_s : u"不保存"_s);
    QTest::mouseClick(p->ToolButton2, Qt::LeftButton);
    QVERIFY(!p->isVisible());
    QCOMPARE(p->result(), int(QDialog::Rejected));
    QCOMPARE(a.text(), u"a"_s);
    QCOMPARE(b.text(), u"b"_s);
    QCOMPARE(memo->toPlainText(), u"c"_s);
    QCOMPARE(f->count(u"课程"_s), courses);
    QCOMPARE(f->count(u"授课对象"_s), targets);
    QVERIFY(f->messages->shown().isEmpty());
}

void TestPopups::modalShowThroughOpener()
{
    // showFor() is what the openers call: list filled, caller set, modal show.
    StudentFixture::addLookup(DM->course_table, u"名称"_s, u"化学"_s);
    StandIn target(u"edittea_form"_s, u"shanchang_dbedit"_s, Kind::Line, u"物理"_s);
    selectcourse_form->caller = 3;
    bool sawList = false;
    QTimer::singleShot(0, selectcourse_form, [&] {
        sawList = selectcourse_form->isVisible() && selectcourse_form->isModal() &&
                  selectcourse_form->course_cb->findText(u"化学"_s) >= 0 &&
                  selectcourse_form->course_cb->currentText().isEmpty() && selectcourse_form->caller == 1;
        selectcourse_form->course_cb->setCurrentIndex(selectcourse_form->course_cb->findText(u"化学"_s));
        selectcourse_form->ToolButton1->click();
    });
    QCOMPARE(selectcourse_form->showFor(1), int(QDialog::Accepted));
    QVERIFY(sawList);
    QCOMPARE(target.text(), u"物理|化学"_s);

    StandIn slot(u"editteachrecord_form"_s, u"teachtime_dbedit"_s, Kind::Line, u"x"_s);
    QTimer::singleShot(0, selecttime_form, [&] {
        chooseTime(u"星期六"_s, u"上午8：00"_s, u"上午10：00"_s);
        selecttime_form->ToolButton1->click();
    });
    QCOMPARE(selecttime_form->showFor(3), int(QDialog::Accepted));
    QCOMPARE(slot.text(), u"x"_s + kSlot);

    StandIn memo(u"teaquery_form"_s, u"teachduixiang_memo"_s, Kind::Memo, QString());
    QTimer::singleShot(0, selectduixiang_form, [&] {
        selectduixiang_form->duixiang_dbcb->setEditText(u"成人"_s);
        selectduixiang_form->ToolButton2->click();
    });
    QCOMPARE(selectduixiang_form->showFor(7), int(QDialog::Rejected));
    QCOMPARE(memo.text(), QString());
}

void TestPopups::screenshots()
{
    // Pictures of the three pop-ups with their lists, for a look by eye; TAVIMOR_SHOTS names
    // the folder. The lists must fit their boxes.
    selectcourse_form->prepareFor(0);
    selectcourse_form->course_cb->setCurrentIndex(1);
    selectduixiang_form->prepareFor(0);
    selectduixiang_form->duixiang_dbcb->setCurrentIndex(0);
    selecttime_form->show();
    chooseTime(u"星期六"_s, u"上午10：00"_s, u"晚上12：00"_s);
    const QString dir = qEnvironmentVariable("TAVIMOR_SHOTS");
    for (ChoicePopup *p :
         {static_cast<ChoicePopup *>(selectcourse_form), static_cast<ChoicePopup *>(selecttime_form),
          static_cast<ChoicePopup *>(selectduixiang_form)}) {
        p->show();
        for (QComboBox *cb : p->findChildren<QComboBox *>()) {
            const QFontMetrics fm(cb->font());
            const int room = cb->lineEdit()->width();
            QVERIFY2(fm.horizontalAdvance(cb->currentText()) < room, qPrintable(cb->objectName()));
        }
        const QImage img = p->grab().toImage();
        QVERIFY(!img.isNull());
        if (!dir.isEmpty())
            QVERIFY(img.save(dir + u'/' + p->objectName() + u".png"_s));
        p->hide();
    }
}

QTEST_MAIN(TestPopups)
#include "test_popups.moc"
