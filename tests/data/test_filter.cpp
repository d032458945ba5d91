// The filter grammar: what parses, what it selects, and what is refused.
#include "database.h"
#include "errors.h"
#include "filterexpression.h"
#include "tablecursor.h"
#include "testdb.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using tavimor::test::TestDatabase;

class TestFilter : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void refused_data();
    void refused();
    void selects_data();
    void selects();
    void badFilterKeepsCursorState();
};

void TestFilter::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("conditions");
    QTest::addColumn<QString>("firstLiteral");

    QTest::newRow("empty") << QString() << 0 << QString();
    QTest::newRow("blank") << u"   "_s << 0 << QString();
    QTest::newRow("equals") << u"学生姓名='张三'"_s << 1 << u"张三"_s;
    QTest::newRow("spaces around") << u"  学生姓名 = '张三'  "_s << 1 << u"张三"_s;
    QTest::newRow("like") << u"学生姓名 like '%王%'"_s << 1 << u"%王%"_s;
    QTest::newRow("LIKE upper") << u"学生姓名 LIKE '%王%'"_s << 1 << u"%王%"_s;
    QTest::newRow("doubled quote") << u"学生姓名='O''Neil'"_s << 1 << u"O'Neil"_s;
    QTest::newRow("and inside literal") << u"家庭住址='a and b'"_s << 1 << u"a and b"_s;
    QTest::newRow("date") << u"登记日期>#2020-01-01#"_s << 1 << u"2020-01-01"_s;
    QTest::newRow("three joined") << u"学生姓名 like '%王%' and 登记日期>#2020-01-01# and 登记日期<#2021-01-01#"_s << 3
                                  << u"%王%"_s;
    QTest::newRow("bracketed name") << u"[学生姓名]='x'"_s << 1 << u"x"_s;
}

void TestFilter::parse()
{
    QFETCH(QString, text);
    QFETCH(int, conditions);
    QFETCH(QString, firstLiteral);
    const FilterExpression e = FilterExpression::parse(text, tableDef(u"客户资料表"_s));
    QCOMPARE(e.conditions().size(), conditions);
    if (conditions > 0) {
        const QVariant lit = e.conditions().first().literal;
        const QString shown = lit.metaType().id() == QMetaType::QDate ? lit.toDate().toString(Qt::ISODate)
                                                                       : lit.toString();
        QCOMPARE(shown, firstLiteral);
    }
}

void TestFilter::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown column") << u"不存在='x'"_s;
    QTest::newRow("unclosed quote") << u"学生姓名='x"_s;
    QTest::newRow("stray quote") << u"学生姓名='x' or '1'='1'"_s;
    QTest::newRow("injection after value") << u"学生姓名='x'; drop table 用户"_s;
    QTest::newRow("no operator") << u"学生姓名 'x'"_s;
    QTest::newRow("no value") << u"学生姓名="_s;
    QTest::newRow("bad date") << u"登记日期>#2020-13-45#"_s;
    QTest::newRow("unclosed date") << u"登记日期>#2020-01-01"_s;
    QTest::newRow("dangling and") << u"学生姓名='x' and"_s;
    QTest::newRow("like number") << u"学生姓名 like 5"_s;
    QTest::newRow("or is not allowed") << u"学生姓名='x' or 学生姓名='y'"_s;
}

void TestFilter::refused()
{
    QFETCH(QString, text);
    QVERIFY_THROWS_EXCEPTION(FilterError, FilterExpression::parse(text, tableDef(u"客户资料表"_s)));
}

void TestFilter::selects_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");

    for (TestDatabase::Engine e : TestDatabase::engines()) {
        const QByteArray en = TestDatabase::engineName(e).toUtf8();
        auto row = [&](const char *tag) -> QTestData & { return QTest::newRow(QByteArray(en + ": " + tag).constData()) << int(e); };
        row("contains") << u"学生姓名 like '%王%'"_s << QStringList{u"王小明"_s, u"小王"_s};
        row("equals exact") << u"学生姓名='小王'"_s << QStringList{u"小王"_s};
        row("quote in value") << u"学生姓名='O''Neil'"_s << QStringList{u"O'Neil"_s};
        row("after the boundary day") << u"登记日期>#2020-01-01#"_s << QStringList{u"O'Neil"_s, u"小王"_s};
        row("before the boundary day") << u"登记日期<#2020-01-01#"_s << QStringList{u"张三"_s};
        row("day with a time part is that day") << u"登记日期=#2020-01-01#"_s << QStringList{u"王小明"_s};
        row("combined") << u"学生姓名 like '%王%' and 登记日期>#2019-12-31#"_s << QStringList{u"王小明"_s, u"小王"_s};
        row("percent literal is a wildcard only in like") << u"学生姓名='%王%'"_s << QStringList{};
        row("empty means all") << QString() << QStringList{u"张三"_s, u"王小明"_s, u"O'Neil"_s, u"小王"_s};
    }
}

void TestFilter::selects()
{
    QFETCH(int, engine);
    QFETCH(QString, filter);
    QFETCH(QStringList, names);

    TestDatabase db(TestDatabase::Engine(engine), TestDatabase::Content::TablesOnly);
    const bool pg = engine == int(TestDatabase::Engine::PostgreSQL);
    const QString ins = u"INSERT INTO \"客户资料表\" (\"学生姓名\", \"登记日期\") VALUES (?, ?)"_s;
    db.exec(ins, {u"张三"_s, u"2019-12-31"_s});
    // SQLite keeps a time part when another program wrote one; it still counts as its day.
    db.exec(ins, {u"王小明"_s, pg ? u"2020-01-01"_s : u"2020-01-01 23:59:00"_s});
    db.exec(ins, {u"O'Neil"_s, u"2020-01-02"_s});
    db.exec(ins, {u"小王"_s, u"2021-06-30"_s});

    const QString conn = u"filter-test"_s;
    {
        openDatabase(db.url(), conn);
        TableCursor c(conn, u"客户资料表"_s);
        c.setFilter(filter);
        c.setFiltered(true);
        c.open();
        QStringList got;
        for (int r = 0; r < c.recordCount(); ++r)
            got << c.valueAt(r, c.columnIndex(u"学生姓名"_s)).toString();
        QCOMPARE(got, names);
        QCOMPARE(c.recordCount(), names.size());
    }
    closeDatabase(conn);
}

void TestFilter::badFilterKeepsCursorState()
{
    TestDatabase db(TestDatabase::Engine::SQLite, TestDatabase::Content::TablesOnly);
    for (const QString &n : {u"甲"_s, u"乙"_s, u"丙"_s})
        db.exec(u"INSERT INTO \"客户资料表\" (\"学生姓名\") VALUES (?)"_s, {n});
    const QString conn = u"filter-keep"_s;
    {
        openDatabase(db.url(), conn);
        TableCursor c(conn, u"客户资料表"_s);
        c.open();
        c.setFilter(u"学生姓名 like '%乙%'"_s);
        c.setFiltered(true);
        QCOMPARE(c.recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(FilterError, c.setFilter(u"学生姓名='乙"_s));
        QCOMPARE(c.filter(), u"学生姓名 like '%乙%'"_s);
        QVERIFY(c.isFiltered());
        QCOMPARE(c.recordCount(), 1);
        QCOMPARE(c.value(u"学生姓名"_s).toString(), u"乙"_s);
        c.setFiltered(false);
        QCOMPARE(c.recordCount(), 3);
        QCOMPARE(c.filter(), u"学生姓名 like '%乙%'"_s); // the text stays stored
    }
    closeDatabase(conn);
}

QTEST_GUILESS_MAIN(TestFilter)
#include "test_filter.moc"
