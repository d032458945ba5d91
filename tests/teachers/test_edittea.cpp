// The teacher editor, driven through its widgets: required entries, duplicates, numbering, dates,
// list growth, the family panel, view mode, stepping, digit fields, conflicts and the pop-ups.
#include "database.h"
#include "dbcontrols.h"
#include "dbinit.h"
#include "dm.h"
#include "teachers/edittea_form.h"
#include "look.h"
#include "schema.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"
#include "testdb.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using tavimor::test::TestDatabase;
using DbEngine = TestDatabase::Engine;

namespace {

const QString kRequiredMessage = u"请填写必填项：1.姓名,2.性别,3.年级,4.专业,5.擅长科目\r"
                                 u"6.可授课时间,7.可授课对象8.现居联系电话,9.身份证号"_s;
const QString kDuplicateQuestion = u"系统中已经有个姓名、性别、出生年月、籍贯等都相同的老师，是否还增加此记录!"_s;

// A teacher as the tests describe one: column → value.
using Teacher = QMap<QString, QVariant>;

// A fresh database with the data module, scripted message boxes and the windows of the
// teacher editor (the three pop-ups first, then the editor), torn down in reverse order.
struct Editor {
    TestDatabase db;
    std::unique_ptr<TDM> dm;
    ScriptedMessages *messages = nullptr;

    explicit Editor(DbEngine engine = DbEngine::SQLite, const QList<Teacher> &teachers = {}) : db(engine)
    {
        for (const Teacher &t : teachers)
            insertTeacher(t);
        db.exec(u"UPDATE \"计数器\" SET \"值\" = ? WHERE \"编号\" = 'T'"_s, {int(teachers.size())});
        dm = std::make_unique<TDM>(db.url());
        auto scripted = std::make_unique<ScriptedMessages>();
        messages = scripted.get();
        dm->setMessages(std::move(scripted));
        selectcourse_form = new Tselectcourse_form;
        selecttime_form = new Tselecttime_form;
        selectduixiang_form = new Tselectduixiang_form;
        edittea_form = new Tedittea_form;
    }
    ~Editor()
    {
        delete edittea_form;
        delete selectduixiang_form;
        delete selecttime_form;
        delete selectcourse_form;
        edittea_form = nullptr;
        selectduixiang_form = nullptr;
        selecttime_form = nullptr;
        selectcourse_form = nullptr;
        dm.reset();
    }

    // Another program writes a teacher.
    void insertTeacher(const Teacher &t) const
    {
        QStringList cols, marks;
        QVariantList values;
        for (auto it = t.cbegin(); it != t.cend(); ++it) {
            cols << SqlDialect::quote(it.key());
            marks << u"?"_s;
            values << it.value();
        }
        db.exec(u"INSERT INTO \"员工表\" ("_s + cols.join(u", "_s) + u") VALUES ("_s + marks.join(u", "_s) + u")"_s,
                values);
    }
    int count(const QString &table, const QString &where = u"1=1"_s, const QVariantList &values = {}) const
    {
        return db.scalar(u"SELECT COUNT(*) FROM "_s + SqlDialect::quote(table) + u" WHERE "_s + where, values).toInt();
    }
    int valueCount(const QString &table, const QString &column, const QString &value) const
    {
        return count(table, SqlDialect::quote(column) + u" = ?"_s, {value});
    }
    QVariant stored(const QString &column, const QString &number) const
    {
        return db.scalar(u"SELECT "_s + SqlDialect::quote(column) + u" FROM \"员工表\" WHERE \"编号\" = ?"_s, {number});
    }
    qint64 counter() const { return db.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'T'"_s).toLongLong(); }
    QStringList shownTexts() const { return messages->texts(); }
};

Tedittea_form *form()
{
    return edittea_form;
}

template <class W = QWidget>
W *control(const QString &name)
{
    W *w = edittea_form->findChild<W *>(name);
    if (!w)
        qWarning("no control %s", qPrintable(name));
    return w;
}

// Keys carrying the characters, Chinese included (as an input method delivers them).
void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, c.unicode() < 128 ? Qt::Key(QChar(c).toUpper().unicode()) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
}

void typeInto(const QString &name, const QString &text)
{
    QWidget *w = control(name);
    if (auto *cb = qobject_cast<QComboBox *>(w))
        w = cb->lineEdit();
    typeText(w, text);
}

void chooseSex(const QString &item)
{
    for (QRadioButton *b : form()->sex_dbrg->findChildren<QRadioButton *>())
        if (b->text() == item)
            QTest::mouseClick(b, Qt::LeftButton);
}

void click(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}

// A double click where the user makes it (a multi-line field takes it on its viewport).
void doubleClick(QWidget *w)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(w))
        w = area->viewport();
    QTest::mouseDClick(w, Qt::LeftButton);
}

// The main window's three ways of opening the editor (without the modal loop).
void openAdd()
{
    DM->tea_table->insert();
    form()->prepareForAdd();
    form()->show();
}
void openChange()
{
    DM->tea_table->edit();
    form()->prepareForChange();
    form()->show();
}
void openView()
{
    form()->prepareForView();
    form()->show();
}

// Fills the nine required entries of a new teacher; fields named in `skip` stay empty.
void fillRequired(const Teacher &t, const QStringList &skip = {})
{
    const QList<std::pair<QString, QString>> fields{
        {u"name_dbedit"_s, u"姓名"_s},       {u"nowtel_dbedit"_s, u"现居电话"_s},
        {u"grade_dbcb"_s, u"年级"_s},        {u"zhuanye_dbcb"_s, u"专业"_s},
        {u"shanchang_dbedit"_s, u"擅长科目"_s}, {u"idnumber_dbedit"_s, u"身份证号"_s},
        {u"teachduixiang_dbmemo"_s, u"可以教授的对象"_s}, {u"teachtime_dbmemo"_s, u"可教学时间"_s},
        {u"hometown_dbcb"_s, u"籍贯"_s}};
    for (const auto &[name, column] : fields)
        if (!skip.contains(name) && !t.value(column).toString().isEmpty())
            typeInto(name, t.value(column).toString());
    if (!skip.contains(u"sex_dbrg"_s))
        chooseSex(t.value(u"性别"_s, u"男"_s).toString());
}

Teacher newTeacher(const QString &name = u"王老师"_s)
{
    return {{u"姓名"_s, name},
            {u"性别"_s, u"男"_s},
            {u"现居电话"_s, u"13800001111"_s},
            {u"年级"_s, u"大三"_s},
            {u"专业"_s, u"数学"_s},
            {u"擅长科目"_s, u"数学|物理"_s},
            {u"身份证号"_s, u"110105199001010012"_s},
            {u"可以教授的对象"_s, u"初中学生"_s},
            {u"可教学时间"_s, u"星期六上午8：00至上午10：00"_s}};
}

QString today()
{
    return QDate::currentDate().toString(u"yyyy-MM-dd"_s);
}

// The stored day of a date column as "yyyy-MM-dd", whatever type the engine hands back.
QString dayOf(const QVariant &v)
{
    return v.metaType().id() == QMetaType::QDate ? v.toDate().toString(u"yyyy-MM-dd"_s) : v.toString();
}

void addEngineRows(const char *name, const std::function<void(QTestData &)> &fill)
{
    for (DbEngine e : TestDatabase::engines())
        fill(QTest::newRow(qPrintable(TestDatabase::engineName(e) + u": "_s + QString::fromUtf8(name))) << int(e));
}

// The named widget (or the named control it belongs to) that has the keyboard focus.
QString focusedControl(const QStringList &names)
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (names.contains(w->objectName()))
            return w->objectName();
    return QApplication::focusWidget() ? u"?"_s + QApplication::focusWidget()->objectName() : u"(none)"_s;
}

} // namespace

class TestEditTea : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void requiredEntries_data();
    void requiredEntries();
    void duplicateRule_data();
    void duplicateRule();
    void numbering_data();
    void numbering();
    void missingCounter();
    void dateWriting_data();
    void dateWriting();
    void listGrowth_data();
    void listGrowth();
    void continuousAdd();
    void closeDiscards_data();
    void closeDiscards();
    void filterOffOnNewSave();
    void changeMode();
    void conflictOnChange_data();
    void conflictOnChange();
    void familyPanelAcrossModes();
    void readOnlyControls_data();
    void readOnlyControls();
    void viewModeTakesNoInput();
    void stepping_data();
    void stepping();
    void digitsOnly_data();
    void digitsOnly();
    void popups_data();
    void popups();
    void fixedTexts();
    void tabOrder_data();
    void tabOrder();
    void layoutAndScreenshots_data();
    void layoutAndScreenshots();
};

void TestEditTea::initTestCase()
{
    applyLook(*qApp);
}

// ------------------------------------------------------------------------------ required entries

void TestEditTea::requiredEntries_data()
{
    QTest::addColumn<QString>("missing");
    // In the order they are tested; each alone stops the save.
    for (const char *name : {"name_dbedit", "nowtel_dbedit", "sex_dbrg", "grade_dbcb", "zhuanye_dbcb",
                             "shanchang_dbedit", "idnumber_dbedit", "teachduixiang_dbmemo", "teachtime_dbmemo"})
        QTest::newRow(name) << QString::fromLatin1(name);
    QTest::newRow("nothing missing") << QString();
}

void TestEditTea::requiredEntries()
{
    QFETCH(QString, missing);
    Editor e;
    openAdd();
    fillRequired(newTeacher(), {missing});
    typeInto(u"school_dbedit"_s, u"师范大学"_s);
    click(form()->save_button);

    if (missing.isEmpty()) {
        QCOMPARE(e.messages->shown().size(), 0);
        QCOMPARE(e.count(u"员工表"_s), 1);
        QVERIFY(!form()->isVisible());
        return;
    }
    QCOMPARE(e.messages->shown().size(), 1);
    const auto &box = e.messages->shown().first();
    QCOMPARE(box.method, u"messageBox"_s);
    QCOMPARE(box.text, kRequiredMessage);
    QCOMPARE(box.kind, MessageService::Kind::Error);
    QCOMPARE(box.buttons, MessageService::Buttons::Ok);
    // Nothing else happened: no row, no number, the typing and the pending row stay.
    QCOMPARE(e.count(u"员工表"_s), 0);
    QCOMPARE(e.counter(), 0);
    QVERIFY(form()->isVisible());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Insert);
    QCOMPARE(form()->school_dbedit->text(), u"师范大学"_s);
    QCOMPARE(DM->tea_table->value(u"院校"_s).toString(), u"师范大学"_s);
}

// ------------------------------------------------------------------------------ duplicates

void TestEditTea::duplicateRule_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<Teacher>("changes"); // applied to the existing teacher to make the new one
    QTest::addColumn<bool>("asks");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("rowsAfter");

    const auto rows = [](const char *name, const Teacher &changes, bool asks, int answer, int rowsAfter) {
        addEngineRows(name, [&](QTestData &d) { d << changes << asks << answer << rowsAfter; });
    };
    rows("same four, other birth date, Yes", {{u"出生年月"_s, QDate(1995, 6, 1)}}, true, MessageService::Yes, 2);
    rows("same four, other birth date, No", {{u"出生年月"_s, QDate(1995, 6, 1)}}, true, MessageService::No, 1);
    rows("same four, other phone and grade, closed box", {{u"现居电话"_s, u"139"_s}, {u"年级"_s, u"研一"_s}}, true, 0, 1);
    rows("other native place", {{u"籍贯"_s, u"上海市"_s}}, false, 0, 2);
    rows("other major", {{u"专业"_s, u"物理"_s}}, false, 0, 2);
    rows("other sex", {{u"性别"_s, u"女"_s}}, false, 0, 2);
    rows("other name", {{u"姓名"_s, u"李老师"_s}}, false, 0, 2);
    rows("both without native place", {{u"籍贯"_s, QString()}}, true, MessageService::Yes, 2);
    rows("a quote in the name", {{u"姓名"_s, u"O'Neil"_s}}, false, 0, 2);
}

void TestEditTea::duplicateRule()
{
    QFETCH(int, engine);
    QFETCH(Teacher, changes);
    QFETCH(bool, asks);
    QFETCH(int, answer);
    QFETCH(int, rowsAfter);

    Teacher existing = newTeacher();
    existing[u"编号"_s] = u"1"_s;
    existing[u"籍贯"_s] = changes.contains(u"籍贯"_s) && changes.value(u"籍贯"_s).toString().isEmpty()
                              ? QVariant()
                              : QVariant(u"北京市"_s);
    existing[u"出生年月"_s] = QDate(1990, 1, 1);
    Editor e(DbEngine(engine), {existing});
    e.db.exec(u"UPDATE \"计数器\" SET \"值\" = 1 WHERE \"编号\" = 'T'"_s);

    Teacher typed = existing;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        typed[it.key()] = it.value();
    if (answer)
        e.messages->answer(answer);
    openAdd();
    fillRequired(typed);
    form()->borth_dbdtp->dateEdit()->setDate(typed.value(u"出生年月"_s).toDate());
    click(form()->save_button);

    if (asks) {
        QCOMPARE(e.messages->shown().size(), 1);
        const auto &box = e.messages->shown().first();
        QCOMPARE(box.method, u"messageBox"_s);
        QCOMPARE(box.text, kDuplicateQuestion);
        QCOMPARE(box.kind, MessageService::Kind::Warning);
        QCOMPARE(box.buttons, MessageService::Buttons::YesNo);
    } else {
        QCOMPARE(e.shownTexts(), QStringList());
    }
    QCOMPARE(e.count(u"员工表"_s), rowsAfter);
    // A number is taken only for a record that is written; the window closes either way.
    QCOMPARE(e.counter(), rowsAfter);
    QVERIFY(!form()->isVisible());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
    if (rowsAfter == 2)
        QCOMPARE(e.stored(u"姓名"_s, u"2"_s).toString(), typed.value(u"姓名"_s).toString());
}

// ------------------------------------------------------------------------------ numbering

void TestEditTea::numbering_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<int>("startAt");
    QTest::addColumn<int>("saves");
    QTest::addColumn<QStringList>("numbers");
    const auto rows = [](const char *name, int startAt, int saves, const QStringList &numbers) {
        addEngineRows(name, [&](QTestData &d) { d << startAt << saves << numbers; });
    };
    rows("first teacher", 0, 1, {u"1"_s});
    rows("after 41", 41, 1, {u"42"_s});
    rows("three in a row, continuous", 99, 3, {u"100"_s, u"101"_s, u"102"_s});
}

void TestEditTea::numbering()
{
    QFETCH(int, engine);
    QFETCH(int, startAt);
    QFETCH(int, saves);
    QFETCH(QStringList, numbers);
    Editor e{DbEngine(engine)};
    e.db.exec(u"UPDATE \"计数器\" SET \"值\" = ? WHERE \"编号\" = 'T'"_s, {startAt});
    e.db.exec(u"UPDATE \"计数器\" SET \"值\" = 7 WHERE \"编号\" = 'S'"_s);

    openAdd();
    form()->lianxu_check->setChecked(saves > 1);
    for (int i = 0; i < saves; ++i) {
        fillRequired(newTeacher(u"老师"_s + QString::number(i)));
        click(form()->save_button);
    }
    QCOMPARE(e.shownTexts(), QStringList());
    QStringList got;
    for (int i = 0; i < saves; ++i)
        got << e.db.scalar(u"SELECT \"编号\" FROM \"员工表\" WHERE \"姓名\" = ?"_s, QVariantList{QString(u"老师"_s + QString::number(i))}).toString();
    QCOMPARE(got, numbers);
    QCOMPARE(e.counter(), startAt + saves);
    QCOMPARE(e.db.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'S'"_s).toInt(), 7);
}

void TestEditTea::missingCounter()
{
    Editor e;
    e.db.exec(u"DELETE FROM \"计数器\" WHERE \"编号\" = 'T'"_s);
    openAdd();
    Teacher t = newTeacher();
    t[u"年级"_s] = u"大五"_s;
    fillRequired(t);
    click(form()->save_button);

    QCOMPARE(e.messages->shown().size(), 1);
    QCOMPARE(e.messages->shown().first().kind, MessageService::Kind::Error);
    QVERIFY2(e.messages->lastText().startsWith(u"无法为新老师分配编号，记录没有保存。"_s), qPrintable(e.messages->lastText()));
    // Nothing written, the pending record and its typing stay, the window stays open.
    QCOMPARE(e.count(u"员工表"_s), 0);
    QCOMPARE(e.valueCount(u"员工年级"_s, u"年级"_s, u"大五"_s), 0);
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Insert);
    QVERIFY(DM->tea_table->value(u"编号"_s).isNull());
    QCOMPARE(form()->name_dbedit->text(), u"王老师"_s);
    QVERIFY(form()->isVisible());

    // Once the counter is back, the same record saves.
    e.db.exec(u"INSERT INTO \"计数器\" (\"编号\", \"值\") VALUES ('T', 5)"_s);
    e.messages->clear();
    click(form()->save_button);
    QCOMPARE(e.shownTexts(), QStringList());
    QCOMPARE(e.stored(u"姓名"_s, u"6"_s).toString(), u"王老师"_s);
}

// ------------------------------------------------------------------------------ dates

void TestEditTea::dateWriting_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<QDate>("birth");     // null: the picker is left as opened
    QTest::addColumn<QDate>("interview");
    QTest::addColumn<QDate>("entered");
    addEngineRows("untouched pickers", [](QTestData &d) { d << QDate() << QDate() << QDate(); });
    addEngineRows("picked days", [](QTestData &d) { d << QDate(1998, 2, 28) << QDate(2023, 12, 31) << QDate(2024, 1, 2); });
}

void TestEditTea::dateWriting()
{
    QFETCH(int, engine);
    QFETCH(QDate, birth);
    QFETCH(QDate, interview);
    QFETCH(QDate, entered);
    Editor e{DbEngine(engine)};
    openAdd();
    // Opening in add mode sets the three pickers to now.
    for (DBDatePicker *p : {form()->borth_dbdtp, form()->meettime_dbdtp, form()->inputdate_dbdtp})
        QCOMPARE(p->date(), QDate::currentDate());
    fillRequired(newTeacher());
    const std::pair<DBDatePicker *, QDate> picks[] = {
        {form()->borth_dbdtp, birth}, {form()->meettime_dbdtp, interview}, {form()->inputdate_dbdtp, entered}};
    for (const auto &[picker, day] : picks)
        if (day.isValid())
            picker->dateEdit()->setDate(day);
    click(form()->save_button);
    QCOMPARE(e.shownTexts(), QStringList());

    const std::pair<const char *, QDate> columns[] = {{"出生年月", birth}, {"面试时间", interview}, {"登记日期", entered}};
    for (const auto &[column, day] : columns) {
        const QString expected = day.isValid() ? day.toString(u"yyyy-MM-dd"_s) : today();
        QCOMPARE(dayOf(e.stored(QString::fromUtf8(column), u"1"_s)), expected);
    }
    if (DbEngine(engine) == DbEngine::SQLite) // stored as the bare day text, no time of day
        QCOMPARE(e.db.scalar(u"SELECT \"登记日期\" FROM \"员工表\""_s).toString().size(), 10);
}

// ------------------------------------------------------------------------------ list growth

void TestEditTea::listGrowth_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("changeMode");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("major");
    QTest::addColumn<QStringList>("titles");   // members 1 to 3
    QTest::addColumn<QString>("hometown");
    QTest::addColumn<int>("gradesAdded");
    QTest::addColumn<int>("majorsAdded");
    QTest::addColumn<QStringList>("titlesAdded");

    const auto rows = [](const char *name, bool change, const QString &g, const QString &m, const QStringList &t,
                         const QString &h, int ga, int ma, const QStringList &ta) {
        addEngineRows(name, [&](QTestData &d) { d << change << g << m << t << h << ga << ma << ta; });
    };
    rows("new grade, major and title", false, u"博士后"_s, u"天体物理"_s, {u"总工程师"_s, QString(), QString()},
         u"北京市"_s, 1, 1, {u"总工程师"_s});
    rows("one title for two members", false, u"博士后"_s, u"天体物理"_s, {u"高级教师"_s, u"高级教师"_s, QString()},
         QString(), 1, 1, {u"高级教师"_s});
    rows("three different titles", false, u"博士后"_s, u"天体物理"_s, {u"技师"_s, u"院士"_s, u"讲师甲"_s},
         QString(), 1, 1, {u"技师"_s, u"院士"_s, u"讲师甲"_s});
    rows("empty titles add nothing", false, u"博士后"_s, u"天体物理"_s, {QString(), QString(), QString()},
         QString(), 1, 1, {});
    rows("values already listed", false, starterRows(u"员工年级"_s).value(0), starterRows(u"员工专业"_s).value(0),
         {starterRows(u"职称"_s).value(0), QString(), QString()}, QString(), 0, 0, {});
    rows("a native place typed freely", false, u"博士后"_s, u"天体物理"_s, {QString(), QString(), QString()},
         u"火星基地"_s, 1, 1, {});
    rows("change mode adds nothing", true, u"博士后"_s, u"天体物理"_s, {u"总工程师"_s, u"院士"_s, QString()},
         u"火星基地"_s, 0, 0, {});
}

void TestEditTea::listGrowth()
{
    QFETCH(int, engine);
    QFETCH(bool, changeMode);
    QFETCH(QString, grade);
    QFETCH(QString, major);
    QFETCH(QStringList, titles);
    QFETCH(QString, hometown);
    QFETCH(int, gradesAdded);
    QFETCH(int, majorsAdded);
    QFETCH(QStringList, titlesAdded);

    Teacher existing = newTeacher(u"旧老师"_s);
    existing[u"编号"_s] = u"1"_s;
    existing[u"年级"_s] = u"大一"_s;
    Editor e(DbEngine(engine), {existing});
    const int grades = e.count(u"员工年级"_s), majors = e.count(u"员工专业"_s), titleRows = e.count(u"职称"_s),
              places = e.count(u"籍贯"_s);

    Teacher t = newTeacher();
    t[u"年级"_s] = grade;
    t[u"专业"_s] = major;
    t[u"籍贯"_s] = hometown;
    if (changeMode) {
        openChange();
        for (const char *name : {"grade_dbcb", "zhuanye_dbcb", "hometown_dbcb"})
            control<QComboBox>(QString::fromLatin1(name))->lineEdit()->clear();
        typeInto(u"grade_dbcb"_s, grade);
        typeInto(u"zhuanye_dbcb"_s, major);
        typeInto(u"hometown_dbcb"_s, hometown);
    } else {
        openAdd();
        fillRequired(t);
    }
    for (int i = 0; i < 3; ++i)
        typeInto(u"zhichen%1_dbcb"_s.arg(i + 1), titles.value(i));
    click(form()->save_button);
    QCOMPARE(e.shownTexts(), QStringList());

    QCOMPARE(e.count(u"员工年级"_s), grades + gradesAdded);
    QCOMPARE(e.count(u"员工专业"_s), majors + majorsAdded);
    QCOMPARE(e.count(u"职称"_s), titleRows + int(titlesAdded.size()));
    for (const QString &title : titlesAdded)
        QCOMPARE(e.valueCount(u"职称"_s, u"职称"_s, title), 1);
    if (gradesAdded)
        QCOMPARE(e.valueCount(u"员工年级"_s, u"年级"_s, grade), 1);
    if (majorsAdded)
        QCOMPARE(e.valueCount(u"员工专业"_s, u"专业"_s, major), 1);
    // The native place is kept in the record and never added to its list.
    QCOMPARE(e.count(u"籍贯"_s), places);
    const QString number = changeMode ? u"1"_s : u"2"_s;
    QCOMPARE(e.stored(u"籍贯"_s, number).toString(), hometown);
    QCOMPARE(e.stored(u"年级"_s, number).toString(), grade);
    QCOMPARE(e.stored(u"成员2职称"_s, number).toString(), titles.value(1));
}

void TestEditTea::continuousAdd()
{
    Editor e;
    openAdd();
    form()->lianxu_check->setChecked(true);
    Teacher t = newTeacher();
    t[u"年级"_s] = u"大五"_s;
    fillRequired(t);
    typeInto(u"zhichen1_dbcb"_s, u"首席教师"_s);
    form()->meettime_dbdtp->dateEdit()->setDate(QDate(2020, 3, 4));
    click(form()->save_button);

    QCOMPARE(e.shownTexts(), QStringList());
    QCOMPARE(e.count(u"员工表"_s), 1);
    // The window stays open on a fresh record dated now, the box still ticked.
    QVERIFY(form()->isVisible());
    QVERIFY(form()->lianxu_check->isChecked());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Insert);
    QCOMPARE(form()->name_dbedit->text(), QString());
    QCOMPARE(form()->sex_dbrg->itemIndex(), -1);
    QCOMPARE(form()->teachtime_dbmemo->toPlainText(), QString());
    for (DBDatePicker *p : {form()->borth_dbdtp, form()->meettime_dbdtp, form()->inputdate_dbdtp})
        QCOMPARE(p->date(), QDate::currentDate());
    // The values just added are offered at once.
    QVERIFY(form()->grade_dbcb->findText(u"大五"_s) >= 0);
    for (QComboBox *cb : {form()->zhichen1_dbcb, form()->zhichen2_dbcb, form()->zhichen3_dbcb})
        QVERIFY(cb->findText(u"首席教师"_s) >= 0);

    // A second one, then closing drops only the untouched third.
    fillRequired(newTeacher(u"第二位"_s));
    click(form()->save_button);
    QCOMPARE(e.count(u"员工表"_s), 2);
    click(form()->close_button);
    QVERIFY(!form()->isVisible());
    QCOMPARE(e.count(u"员工表"_s), 2);
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
    QCOMPARE(e.counter(), 2);

    // The next add starts with the box cleared again.
    openAdd();
    QVERIFY(!form()->lianxu_check->isChecked());
    QVERIFY(form()->lianxu_check->isEnabled());
}

void TestEditTea::closeDiscards_data()
{
    QTest::addColumn<bool>("changeMode");
    QTest::newRow("add") << false;
    QTest::newRow("change") << true;
}

void TestEditTea::closeDiscards()
{
    QFETCH(bool, changeMode);
    Teacher t = newTeacher(u"原名"_s);
    t[u"编号"_s] = u"1"_s;
    Editor e(DbEngine::SQLite, {t});
    const qint64 counter = e.counter();
    changeMode ? openChange() : openAdd();
    typeInto(u"name_dbedit"_s, u"新名字"_s);
    typeInto(u"danwei1_dbedit"_s, u"某公司"_s);
    click(form()->close_button);

    QVERIFY(!form()->isVisible());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
    QCOMPARE(e.count(u"员工表"_s), 1);
    QCOMPARE(e.stored(u"姓名"_s, u"1"_s).toString(), u"原名"_s);
    QVERIFY(e.stored(u"成员1单位"_s, u"1"_s).isNull());
    QCOMPARE(e.counter(), counter);
    QCOMPARE(e.shownTexts(), QStringList());
}

void TestEditTea::filterOffOnNewSave()
{
    QList<Teacher> teachers;
    for (int i = 1; i <= 3; ++i) {
        Teacher t = newTeacher(i == 2 ? u"甲"_s : u"乙%1"_s.arg(i));
        t[u"编号"_s] = QString::number(i);
        teachers << t;
    }
    Editor e(DbEngine::SQLite, teachers);
    e.db.exec(u"UPDATE \"计数器\" SET \"值\" = 3 WHERE \"编号\" = 'T'"_s);
    DM->tea_table->setFilter(u"姓名='甲'"_s);
    DM->tea_table->setFiltered(true);
    QCOMPARE(DM->tea_table->recordCount(), 1);

    openAdd();
    fillRequired(newTeacher(u"丙"_s));
    click(form()->save_button);
    QCOMPARE(e.shownTexts(), QStringList());
    QVERIFY(!DM->tea_table->isFiltered());
    QCOMPARE(DM->tea_table->recordCount(), 4);
    // The register stands on the new teacher, numbered and complete.
    QCOMPARE(DM->tea_table->value(u"姓名"_s).toString(), u"丙"_s);
    QCOMPARE(e.stored(u"姓名"_s, u"4"_s).toString(), u"丙"_s);
    QCOMPARE(e.stored(u"擅长科目"_s, u"4"_s).toString(), u"数学|物理"_s);
}

void TestEditTea::changeMode()
{
    Teacher t = newTeacher(u"赵老师"_s);
    t[u"编号"_s] = u"7"_s;
    t[u"登记日期"_s] = QDate(2001, 2, 3);
    t[u"成员1职称"_s] = u"工程师"_s;
    Editor e(DbEngine::SQLite, {t});
    e.db.exec(u"UPDATE \"计数器\" SET \"值\" = 7 WHERE \"编号\" = 'T'"_s);
    openChange();
    QCOMPARE(form()->zhichen1_dbcb->currentText(), u"工程师"_s); // the refilled list keeps the value
    QCOMPARE(form()->inputdate_dbdtp->date(), QDate(2001, 2, 3));  // no date set to now
    form()->nowtel_dbedit->clear();
    typeInto(u"nowtel_dbedit"_s, u"02166668888"_s);
    typeInto(u"beizhu_dbmemo"_s, u"可以周末上课"_s);
    click(form()->save_button);

    QCOMPARE(e.shownTexts(), QStringList());
    QVERIFY(!form()->isVisible());
    QCOMPARE(e.stored(u"现居电话"_s, u"7"_s).toString(), u"02166668888"_s);
    QCOMPARE(e.stored(u"备注"_s, u"7"_s).toString(), u"可以周末上课"_s);
    QCOMPARE(dayOf(e.stored(u"登记日期"_s, u"7"_s)), u"2001-02-03"_s);
    QCOMPARE(e.count(u"员工表"_s), 1);
    QCOMPARE(e.counter(), 7);
}

void TestEditTea::conflictOnChange_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("expected");
    addEngineRows("changed elsewhere", [](QTestData &d) { d << false << u"这位老师的记录已被其他用户修改"_s; });
    addEngineRows("deleted elsewhere", [](QTestData &d) { d << true << u"这位老师的记录已被其他用户删除"_s; });
}

void TestEditTea::conflictOnChange()
{
    QFETCH(int, engine);
    QFETCH(bool, deleted);
    QFETCH(QString, expected);
    Teacher t = newTeacher(u"钱老师"_s);
    t[u"编号"_s] = u"3"_s;
    Editor e(DbEngine(engine), {t});
    openChange();
    form()->mobile_dbedit->clear();
    typeInto(u"mobile_dbedit"_s, u"13911112222"_s);
    if (deleted)
        e.db.exec(u"DELETE FROM \"员工表\" WHERE \"编号\" = '3'"_s);
    else
        e.db.exec(u"UPDATE \"员工表\" SET \"手机\" = '13300000000', tv_version = tv_version + 1 WHERE \"编号\" = '3'"_s);
    click(form()->save_button);

    QCOMPARE(e.messages->shown().size(), 1);
    QCOMPARE(e.messages->shown().first().kind, MessageService::Kind::Error);
    QVERIFY2(e.messages->lastText().startsWith(expected), qPrintable(e.messages->lastText()));
    // Nothing overwritten, the typing kept, the window open in edit state.
    QCOMPARE(e.count(u"员工表"_s, u"\"手机\" = '13911112222'"_s), 0);
    if (!deleted)
        QCOMPARE(e.stored(u"手机"_s, u"3"_s).toString(), u"13300000000"_s);
    QVERIFY(form()->isVisible());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Edit);
    QCOMPARE(form()->mobile_dbedit->text(), u"13911112222"_s);
    click(form()->close_button);
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
}

// ------------------------------------------------------------------------------ family panel, modes

void TestEditTea::familyPanelAcrossModes()
{
    Teacher t = newTeacher();
    t[u"编号"_s] = u"1"_s;
    t[u"成员1称呼"_s] = u"妈妈"_s;
    t[u"成员1单位"_s] = u"第一医院"_s;
    Editor e(DbEngine::SQLite, {t});
    auto narrow = [] {
        return form()->width() == Tedittea_form::kNarrowWidth && !form()->Panel3->isVisible() &&
               form()->chengyuan_button->text() == u"添加家庭成员>>"_s;
    };
    auto wide = [] {
        return form()->width() == Tedittea_form::kWideWidth && form()->Panel3->isVisible() &&
               form()->chengyuan_button->text() == u"<<完成添加家庭成员"_s;
    };

    openView(); // the first showing is narrow
    QVERIFY(narrow());
    QVERIFY(form()->chengyuan_button->isEnabled());
    click(form()->chengyuan_button);
    QVERIFY(wide());
    // In view mode the family fields show the record and cannot be changed.
    QCOMPARE(form()->danwei1_dbedit->text(), u"第一医院"_s);
    QCOMPARE(form()->chenhu1_dbcb->currentText(), u"妈妈"_s);
    QVERIFY(form()->danwei1_dbedit->isReadOnly());
    QVERIFY(!form()->chenhu1_dbcb->isEnabled());
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse); // switching changes no data
    click(form()->close_button);

    openChange(); // left open: open again, in another mode
    QVERIFY(wide());
    QVERIFY(!form()->danwei1_dbedit->isReadOnly());
    QVERIFY(form()->chenhu1_dbcb->isEnabled());
    QVERIFY(!DM->tea_table->isModified());
    click(form()->chengyuan_button);
    QVERIFY(narrow());
    click(form()->close_button);

    openAdd(); // closed stays closed
    QVERIFY(narrow());
    // Hidden or not, the family fields are saved with the record.
    fillRequired(newTeacher(u"孙老师"_s));
    typeInto(u"danwei2_dbedit"_s, u"机械厂"_s);
    typeInto(u"danweidianhua3_dbedit"_s, u"87654321"_s);
    click(form()->save_button);
    QCOMPARE(e.shownTexts(), QStringList());
    QCOMPARE(e.stored(u"成员2单位"_s, u"2"_s).toString(), u"机械厂"_s);
    QCOMPARE(e.stored(u"成员3单位电话"_s, u"2"_s).toString(), u"87654321"_s);
}

void TestEditTea::readOnlyControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("disabledInView"); // otherwise read-only in view mode
    for (const char *n : {"name_dbedit", "sex_dbrg", "school_dbedit", "idnumber_dbedit", "aihao_dbedit", "jiangli_dbedit",
                          "homeaddress_dbedit", "hometel_dbedit", "nowaddress_dbedit", "nowtel_dbedit", "mobile_dbedit",
                          "email_dbedit", "oicq_dbedit", "express_dbmemo", "beizhu_dbmemo", "mianshiguan_dbedit",
                          "pingjia_dbmemo", "danwei1_dbedit", "danwei2_dbedit", "danwei3_dbedit",
                          "danweidianhua1_dbedit", "danweidianhua2_dbedit", "danweidianhua3_dbedit"})
        QTest::newRow(n) << QString::fromLatin1(n) << false;
    for (const char *n : {"hometown_dbcb", "borth_dbdtp", "grade_dbcb", "zhuanye_dbcb", "meettime_dbdtp", "score_dbcb",
                          "inputdate_dbdtp", "shanchang_dbedit", "teachduixiang_dbmemo", "teachtime_dbmemo",
                          "zhichen1_dbcb", "zhichen2_dbcb", "zhichen3_dbcb", "chenhu1_dbcb", "chenhu2_dbcb",
                          "chenhu3_dbcb"})
        QTest::newRow(n) << QString::fromLatin1(n) << true;
}

void TestEditTea::readOnlyControls()
{
    QFETCH(QString, name);
    QFETCH(bool, disabledInView);
    Teacher t = newTeacher();
    t[u"编号"_s] = u"1"_s;
    Editor e(DbEngine::SQLite, {t});
    QWidget *w = control(name);
    QVERIFY(w);
    const auto readOnly = [w] {
        if (auto *l = qobject_cast<QLineEdit *>(w))
            return l->isReadOnly();
        if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            return m->isReadOnly();
        return qobject_cast<DBRadioGroup *>(w)->isReadOnly();
    };

    openView();
    if (disabledInView) {
        QVERIFY(!w->isEnabled());
    } else {
        QVERIFY(w->isEnabled());
        QVERIFY(readOnly());
    }
    click(form()->close_button);
    openChange();
    QVERIFY(w->isEnabled());
    if (!disabledInView)
        QVERIFY(!readOnly());
    click(form()->close_button);
    openAdd();
    QVERIFY(w->isEnabled());
    if (!disabledInView)
        QVERIFY(!readOnly());
}

void TestEditTea::viewModeTakesNoInput()
{
    Teacher t = newTeacher(u"周老师"_s);
    t[u"编号"_s] = u"1"_s;
    Editor e(DbEngine::SQLite, {t});
    openView();
    QCOMPARE(form()->windowTitle(), u"查看老师记录"_s);
    QCOMPARE(form()->Panel2->text(), u"[老师信息]-查看基本信息"_s);
    QVERIFY(!form()->save_button->isEnabled());
    QVERIFY(!form()->lianxu_check->isEnabled());
    QVERIFY(form()->up_button->isEnabled() && form()->down_button->isEnabled());

    typeInto(u"name_dbedit"_s, u"改"_s);
    typeInto(u"danwei1_dbedit"_s, u"x"_s);
    chooseSex(u"女"_s);
    for (QWidget *w : {static_cast<QWidget *>(form()->shanchang_dbedit), static_cast<QWidget *>(form()->teachduixiang_dbmemo),
                       static_cast<QWidget *>(form()->teachtime_dbmemo)})
        doubleClick(w);
    QCOMPARE(form()->name_dbedit->text(), u"周老师"_s);
    QCOMPARE(form()->sex_dbrg->itemText(), u"男"_s);
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
    for (QDialog *popup : {static_cast<QDialog *>(selectcourse_form), static_cast<QDialog *>(selectduixiang_form),
                           static_cast<QDialog *>(selecttime_form)})
        QVERIFY(!popup->isVisible());
    QCOMPARE(form()->shanchang_dbedit->text(), u"数学|物理"_s);
    click(form()->save_button); // disabled: nothing happens
    QCOMPARE(e.shownTexts(), QStringList());
    QVERIFY(form()->isVisible());
    QCOMPARE(e.stored(u"姓名"_s, u"1"_s).toString(), u"周老师"_s);
}

// ------------------------------------------------------------------------------ stepping

void TestEditTea::stepping_data()
{
    QTest::addColumn<QString>("start"); // "first", "second", "last", "third"
    QTest::addColumn<QString>("presses"); // u = 上, d = 下
    QTest::addColumn<QStringList>("shown"); // the name after each press
    QTest::addColumn<QStringList>("messages");
    const QString first = u"已经是第一条记录了!"_s, last = u"已经是最后一条记录了!"_s;
    QTest::newRow("just opened: 上 at once") << u"first"_s << u"u"_s << QStringList{u"甲"_s} << QStringList{first};
    QTest::newRow("from the second: 上 上 上") << u"second"_s << u"uuu"_s
                                          << QStringList{u"甲"_s, u"甲"_s, u"甲"_s} << QStringList{first};
    QTest::newRow("down to the end") << u"first"_s << u"dddd"_s << QStringList{u"乙"_s, u"丙"_s, u"丙"_s, u"丙"_s}
                                     << QStringList{last};
    QTest::newRow("after go-to-last: 下 at once") << u"last"_s << u"d"_s << QStringList{u"丙"_s} << QStringList{last};
    QTest::newRow("from the third: 下 下 then back") << u"third"_s << u"ddu"_s
                                               << QStringList{u"丙"_s, u"丙"_s, u"乙"_s} << QStringList{last};
}

void TestEditTea::stepping()
{
    QFETCH(QString, start);
    QFETCH(QString, presses);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, messages);
    QList<Teacher> teachers;
    const QStringList names{u"甲"_s, u"乙"_s, u"丙"_s};
    for (int i = 0; i < 3; ++i) {
        Teacher t = newTeacher(names.at(i));
        t[u"编号"_s] = QString::number(i + 1);
        teachers << t;
    }
    Editor e(DbEngine::SQLite, teachers);
    TableCursor *c = DM->tea_table;
    if (start == u"second")
        c->moveTo(1);
    else if (start == u"third")
        c->moveTo(2);
    else if (start == u"last")
        c->last();
    openView();

    QStringList got;
    for (const QChar p : presses) {
        click(p == u'u' ? form()->up_button : form()->down_button);
        got << form()->name_dbedit->text();
        QCOMPARE(form()->name_dbedit->text(), c->value(u"姓名"_s).toString());
    }
    QCOMPARE(got, shown);
    QCOMPARE(e.shownTexts(), messages);
    for (const auto &box : e.messages->shown())
        QCOMPARE(box.method, u"information"_s);
    QCOMPARE(c->state(), TableCursor::State::Browse);
}

// ------------------------------------------------------------------------------ digits only

void TestEditTea::digitsOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ID number ending in X") << u"idnumber_dbedit"_s << u"11010519491231002X"_s << u"11010519491231002"_s;
    QTest::newRow("ID number, lower-case x") << u"idnumber_dbedit"_s << u"4401x06"_s << u"440106"_s;
    QTest::newRow("home phone with dash") << u"hometel_dbedit"_s << u"010-6666 7777"_s << u"01066667777"_s;
    QTest::newRow("present phone with plus") << u"nowtel_dbedit"_s << u"+86 21"_s << u"8621"_s;
    QTest::newRow("mobile with letters") << u"mobile_dbedit"_s << u"1a3b9"_s << u"139"_s;
    QTest::newRow("QQ with Chinese") << u"oicq_dbedit"_s << u"号12345"_s << u"12345"_s;
    QTest::newRow("work phone 1") << u"danweidianhua1_dbedit"_s << u"(0755)8888"_s << u"07558888"_s;
    QTest::newRow("work phone 2") << u"danweidianhua2_dbedit"_s << u"8.8.8"_s << u"888"_s;
    QTest::newRow("work phone 3, backspace works") << u"danweidianhua3_dbedit"_s << u"123\b4-"_s << u"124"_s;
    QTest::newRow("name takes anything") << u"name_dbedit"_s << u"Li 2"_s << u"Li 2"_s;
}

void TestEditTea::digitsOnly()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Editor e;
    openAdd();
    if (!form()->isFamilyPanelOpen())
        click(form()->chengyuan_button);
    auto *edit = control<QLineEdit>(name);
    for (const QChar c : typed) {
        if (c == u'\b')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            typeText(edit, QString(c));
    }
    QCOMPARE(edit->text(), expected);
    const QMap<QString, QString> columns{{u"idnumber_dbedit"_s, u"身份证号"_s},      {u"hometel_dbedit"_s, u"家庭电话"_s},
                                         {u"nowtel_dbedit"_s, u"现居电话"_s},        {u"mobile_dbedit"_s, u"手机"_s},
                                         {u"oicq_dbedit"_s, u"QQ号码"_s},            {u"name_dbedit"_s, u"姓名"_s},
                                         {u"danweidianhua1_dbedit"_s, u"成员1单位电话"_s},
                                         {u"danweidianhua2_dbedit"_s, u"成员2单位电话"_s},
                                         {u"danweidianhua3_dbedit"_s, u"成员3单位电话"_s}};
    QCOMPARE(DM->tea_table->value(columns.value(name)).toString(), expected);
}

// ------------------------------------------------------------------------------ pop-ups

void TestEditTea::popups_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("subject into an empty field") << u"shanchang_dbedit"_s << QString() << u"化学"_s;
    QTest::newRow("subject after a bar") << u"shanchang_dbedit"_s << u"数学"_s << u"数学|化学"_s;
    QTest::newRow("target as a new line") << u"teachduixiang_dbmemo"_s << u"小学生"_s << u"小学生\n艺考生"_s;
    QTest::newRow("time slot as a new line") << u"teachtime_dbmemo"_s << u"星期一晚上7：00至晚上9：00"_s
                                             << u"星期一晚上7：00至晚上9：00\n星期六上午8：00至上午10：00"_s;
}

void TestEditTea::popups()
{
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, after);
    Editor e;
    openAdd();
    typeInto(field, before);

    // While the pop-up is up: look at what the editor prepared, choose, confirm.
    int caller = -1;
    QStringList items;
    QString textOnOpen = u"(not shown)"_s;
    QObject whileThisTestRuns;
    QTimer::singleShot(0, &whileThisTestRuns, [&] {
        if (field == u"shanchang_dbedit"_s) {
            auto *p = selectcourse_form;
            caller = p->caller;
            for (int i = 0; i < p->course_cb->count(); ++i)
                items << p->course_cb->itemText(i);
            textOnOpen = p->course_cb->currentText();
            p->course_cb->setEditText(u"化学"_s);
            p->ToolButton1Click();
        } else if (field == u"teachduixiang_dbmemo"_s) {
            auto *p = selectduixiang_form;
            caller = p->caller;
            for (int i = 0; i < p->duixiang_dbcb->count(); ++i)
                items << p->duixiang_dbcb->itemText(i);
            textOnOpen = p->duixiang_dbcb->currentText();
            p->duixiang_dbcb->setEditText(u"艺考生"_s);
            p->ToolButton1Click();
        } else {
            auto *p = selecttime_form;
            caller = p->caller;
            textOnOpen = p->day_cb->currentText();
            p->day_cb->setEditText(u"星期六"_s);
            p->begin_cb->setEditText(u"上午8：00"_s);
            p->end_cb->setEditText(u"上午10：00"_s);
            p->ToolButton1Click();
        }
    });
    doubleClick(control(field));

    QCOMPARE(textOnOpen, QString());
    if (field == u"shanchang_dbedit"_s) {
        QCOMPARE(caller, 1);
        QCOMPARE(items, starterRows(u"课程"_s));
        QCOMPARE(form()->shanchang_dbedit->text(), after);
        QCOMPARE(e.valueCount(u"课程"_s, u"名称"_s, u"化学"_s), 1);
    } else if (field == u"teachduixiang_dbmemo"_s) {
        QCOMPARE(caller, 0);
        QCOMPARE(items, starterRows(u"授课对象"_s));
        QCOMPARE(form()->teachduixiang_dbmemo->toPlainText(), after);
        QCOMPARE(e.valueCount(u"授课对象"_s, u"对象"_s, u"艺考生"_s), 1);
    } else {
        QCOMPARE(caller, 1);
        QCOMPARE(form()->teachtime_dbmemo->toPlainText(), after);
    }
    // The choice went into the pending record.
    const QString column = field == u"shanchang_dbedit"_s       ? u"擅长科目"_s
                           : field == u"teachduixiang_dbmemo"_s ? u"可以教授的对象"_s
                                                                : u"可教学时间"_s;
    QCOMPARE(DM->tea_table->value(column).toString(), after);
    QCOMPARE(e.shownTexts(), QStringList());
}

// ------------------------------------------------------------------------------ texts, tab order, look

void TestEditTea::fixedTexts()
{
    Editor e;
    QCOMPARE(form()->objectName(), u"edittea_form"_s);
    QCOMPARE(form()->Label23->text(),
             u"提示:数据录入时,在下拉列表中没有你所要的数据,可直接填写,保存后系统自动将添加到相应的表中!"_s);
    QStringList labels;
    for (QLabel *l : form()->findChildren<QLabel *>())
        labels << l->text();
    for (const char *t : {"姓    名:", "性    别:", "籍    贯:", "出生年月:", "院    校:", "年    级;", "专    业:",
                          "曾得奖励:", "爱    好:", "身份证号:", "家庭住址:", "家庭电话:", "现居地址:", "现居电话:",
                          "手    机:", "电子邮件:", "O I C Q :", "擅长科目:", "可教对象:", "可教授时间", "个人简历:",
                          "备    注:", "面试日期:", "面 试 官:", "得    分:", "登记日期:", "评    价:", "称呼:",
                          "工作单位:", "职称:", "单位电话:"})
        QVERIFY2(labels.contains(QString::fromUtf8(t)), t);
    QCOMPARE(form()->GroupBox2->title(), u"家庭成员2"_s);
    QCOMPARE(form()->save_button->text(), u"&S保存"_s);
    QVERIFY(form()->save_button->isDefault());
    QCOMPARE(form()->close_button->text(), u"&C关闭"_s);
    QCOMPARE(form()->lianxu_check->text(), u"连续添加"_s);
    QCOMPARE(form()->sex_dbrg->items(), (QStringList{u"男"_s, u"女"_s}));
    QCOMPARE(form()->sex_dbrg->columns(), 2);
    QStringList scores, relations;
    for (int i = 0; i < form()->score_dbcb->count(); ++i)
        scores << form()->score_dbcb->itemText(i);
    for (int i = 0; i < form()->chenhu3_dbcb->count(); ++i)
        relations << form()->chenhu3_dbcb->itemText(i);
    QCOMPARE(scores, (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s}));
    QCOMPARE(relations, (QStringList{u"爸爸"_s, u"妈妈"_s, u"爷爷"_s, u"奶奶"_s, u"哥哥"_s, u"姐姐"_s, u"弟弟"_s,
                                     u"妹妹"_s, u"叔叔"_s, u"阿姨"_s}));
    for (QWidget *w : {static_cast<QWidget *>(form()->shanchang_dbedit), static_cast<QWidget *>(form()->teachduixiang_dbmemo),
                       static_cast<QWidget *>(form()->teachtime_dbmemo)}) {
        QCOMPARE(w->toolTip(), u"请双击此处录入！"_s);
        QCOMPARE(w->palette().color(QPalette::Base), QColor(223, 235, 222));
    }
    QCOMPARE(form()->name_dbedit->toolTip(), QString());

    // The headers of the three modes, and the lists FormShow fills.
    openAdd();
    QCOMPARE(form()->windowTitle(), u"增加老师记录"_s);
    QCOMPARE(form()->Panel2->text(), u"[老师信息]-基本信息录入"_s);
    QVERIFY(!form()->up_button->isEnabled() && !form()->down_button->isEnabled());
    const auto items = [](QComboBox *cb) {
        QStringList l;
        for (int i = 0; i < cb->count(); ++i)
            l << cb->itemText(i);
        return l;
    };
    QCOMPARE(items(form()->grade_dbcb), starterRows(u"员工年级"_s));
    QCOMPARE(items(form()->zhuanye_dbcb), starterRows(u"员工专业"_s));
    QCOMPARE(items(form()->hometown_dbcb), provinces());
    QCOMPARE(items(form()->zhichen3_dbcb), starterRows(u"职称"_s));
    QCOMPARE(form()->grade_dbcb->currentText(), QString()); // filling chose nothing for the new row
    QVERIFY(DM->tea_table->value(u"年级"_s).isNull());
    click(form()->close_button);

    e.insertTeacher({{u"编号"_s, u"1"_s}, {u"姓名"_s, u"x"_s}});
    DM->tea_table->refresh();
    openChange();
    QCOMPARE(form()->windowTitle(), u"修改老师记录"_s);
    QCOMPARE(form()->Panel2->text(), u"[老师信息]-基本信息修改"_s);
    QVERIFY(!form()->lianxu_check->isEnabled() && !form()->lianxu_check->isChecked());
    QVERIFY(form()->save_button->isEnabled());
}

void TestEditTea::tabOrder_data()
{
    QTest::addColumn<bool>("familyOpen");
    QTest::newRow("narrow") << false;
    QTest::newRow("wide") << true;
}

void TestEditTea::tabOrder()
{
    QFETCH(bool, familyOpen);
    Editor e;
    openAdd();
    if (familyOpen)
        click(form()->chengyuan_button);
    QStringList expected{u"name_dbedit"_s,        u"sex_dbrg"_s,           u"hometown_dbcb"_s,    u"borth_dbdtp"_s,
                         u"school_dbedit"_s,      u"grade_dbcb"_s,         u"zhuanye_dbcb"_s,     u"jiangli_dbedit"_s,
                         u"aihao_dbedit"_s,       u"idnumber_dbedit"_s,    u"homeaddress_dbedit"_s, u"hometel_dbedit"_s,
                         u"nowaddress_dbedit"_s,  u"nowtel_dbedit"_s,      u"mobile_dbedit"_s,    u"email_dbedit"_s,
                         u"oicq_dbedit"_s,        u"shanchang_dbedit"_s,   u"teachduixiang_dbmemo"_s,
                         u"teachtime_dbmemo"_s,   u"express_dbmemo"_s,     u"beizhu_dbmemo"_s,    u"meettime_dbdtp"_s,
                         u"mianshiguan_dbedit"_s, u"score_dbcb"_s,         u"inputdate_dbdtp"_s,  u"pingjia_dbmemo"_s};
    // 上 and 下 are disabled in add mode, so the family panel follows.
    if (familyOpen)
        for (int m = 1; m <= 3; ++m)
            expected << u"chenhu%1_dbcb"_s.arg(m) << u"danwei%1_dbedit"_s.arg(m) << u"zhichen%1_dbcb"_s.arg(m)
                     << u"danweidianhua%1_dbedit"_s.arg(m);
    expected << u"save_button"_s << u"close_button"_s << u"lianxu_check"_s << u"name_dbedit"_s;

    form()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form()));
    form()->name_dbedit->setFocus();
    QStringList got{focusedControl(expected)};
    // (a date field takes a Tab per part of the date before it lets the focus go)
    for (int i = 1; i < 4 * expected.size() && got.size() < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString now = focusedControl(expected);
        if (now != got.last()) // the two radio buttons are one stop of the group
            got << now;
    }
    if (got != expected)
        qWarning("tab stops: %s", qPrintable(got.mid(16).join(u' ')));
    QCOMPARE(got, expected);
}

void TestEditTea::layoutAndScreenshots_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("familyOpen");
    for (const char *mode : {"add", "change", "view"}) {
        QTest::newRow(qPrintable(QString::fromLatin1(mode) + u"-narrow"_s)) << QString::fromLatin1(mode) << false;
        QTest::newRow(qPrintable(QString::fromLatin1(mode) + u"-wide"_s)) << QString::fromLatin1(mode) << true;
    }
}

void TestEditTea::layoutAndScreenshots()
{
    QFETCH(QString, mode);
    QFETCH(bool, familyOpen);
    Teacher t = newTeacher(u"欧阳明"_s);
    t[u"编号"_s] = u"12"_s;
    t[u"籍贯"_s] = u"湖南省"_s;
    t[u"出生年月"_s] = QDate(1999, 10, 8);
    t[u"院校"_s] = u"湖南师范大学"_s;
    t[u"曾得奖励"_s] = u"校一等奖学金"_s;
    t[u"爱好"_s] = u"篮球、书法"_s;
    t[u"身份证号"_s] = u"430102199910080016"_s;
    t[u"家庭住址"_s] = u"湖南省长沙市岳麓区麓山南路36号"_s;
    t[u"家庭电话"_s] = u"073188886666"_s;
    t[u"现居地址"_s] = u"长沙市天心区书院路9号2栋301"_s;
    t[u"手机"_s] = u"13975112345"_s;
    t[u"电子邮件"_s] = u"ouyang@example.com"_s;
    t[u"QQ号码"_s] = u"123456789"_s;
    t[u"可以教授的对象"_s] = u"初中学生\n高中学生"_s;
    t[u"可教学时间"_s] = u"星期六上午8：00至上午10：00\n星期天下午2：00至下午5：00"_s;
    t[u"个人简历"_s] = u"2018年入学，数学与应用数学专业；两年家教经验。"_s;
    t[u"面试时间"_s] = QDate(2024, 3, 1);
    t[u"面试官"_s] = u"李主任"_s;
    t[u"得分"_s] = u"A"_s;
    t[u"登记日期"_s] = QDate(2024, 3, 2);
    t[u"评价"_s] = u"表达清楚，耐心细致。"_s;
    t[u"成员1称呼"_s] = u"爸爸"_s;
    t[u"成员1单位"_s] = u"长沙市第一中学"_s;
    t[u"成员1职称"_s] = u"高级教师"_s;
    t[u"成员1单位电话"_s] = u"073184441234"_s;
    t[u"成员2称呼"_s] = u"妈妈"_s;
    t[u"成员2单位"_s] = u"湘雅医院"_s;
    t[u"成员2职称"_s] = u"主治医师"_s;
    Editor e(DbEngine::SQLite, {t});
    if (mode == u"add"_s)
        openAdd();
    else if (mode == u"change"_s)
        openChange();
    else
        openView();
    if (familyOpen)
        click(form()->chengyuan_button);
    form()->layout()->activate();
    QApplication::processEvents();

    QCOMPARE(form()->width(), familyOpen ? Tedittea_form::kWideWidth : Tedittea_form::kNarrowWidth);
    QCOMPARE(form()->minimumSize(), form()->maximumSize()); // not resizable
    // Every visible control lies inside the window and is not squeezed below its smallest size.
    const QRect inside = form()->rect();
    for (QWidget *w : form()->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(form()) || w->isWindow())
            continue;
        const QRect r(w->mapTo(form(), QPoint(0, 0)), w->size());
        QVERIFY2(inside.contains(r), qPrintable(w->objectName() + u" "_s + QString::fromLatin1(w->metaObject()->className())));
        if (qobject_cast<QLabel *>(w) && !qobject_cast<QLabel *>(w)->wordWrap() && !qobject_cast<QLabel *>(w)->text().isEmpty())
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(qobject_cast<QLabel *>(w)->text()));
        if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            const int text = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(u'&'));
            QVERIFY2(b->width() >= text + 8, qPrintable(b->text()));
        }
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w))
            QVERIFY2(w->height() >= w->minimumSizeHint().height(), qPrintable(w->objectName()));
    }
    // The hint text fits its frame.
    QVERIFY(form()->Label23->height() >= form()->Label23->heightForWidth(form()->Label23->width()));
    // The family panel sits right of the main panel; narrow, the window ends before it.
    const int mainRight = form()->panel1->geometry().right();
    if (familyOpen)
        QVERIFY(form()->Panel3->geometry().left() > mainRight);

    QDir dir(QCoreApplication::applicationDirPath());
    dir.mkpath(u"shots"_s);
    const QString file = dir.filePath(u"shots/edittea-%1-%2.png"_s.arg(mode, familyOpen ? u"wide"_s : u"narrow"_s));
    QVERIFY(form()->grab().save(file));
}

QTEST_MAIN(TestEditTea)
#include "test_edittea.moc"
