// The command-line database tool, run as a separate program: init, demo, verify and bad input.
#include "database.h"
#include "testdb.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using tavimor::test::TestDatabase;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

// The columns every table must have, in stored order (the hidden key and version aside).
QList<QPair<QString, QStringList>> expectedTables()
{
    QStringList teacher{u"编号"_s,     u"姓名"_s,     u"性别"_s,     u"籍贯"_s,     u"出生年月"_s,     u"院校"_s,
                        u"年级"_s,     u"专业"_s,     u"曾得奖励"_s, u"爱好"_s,     u"身份证号"_s,     u"家庭住址"_s,
                        u"家庭电话"_s, u"现居地址"_s, u"现居电话"_s, u"手机"_s,     u"电子邮件"_s,     u"QQ号码"_s,
                        u"擅长科目"_s, u"可以教授的对象"_s, u"可教学时间"_s, u"个人简历"_s, u"备注"_s,
                        u"面试时间"_s, u"面试官"_s,   u"得分"_s,     u"登记日期"_s, u"评价"_s,
                        u"成员1称呼"_s, u"成员1单位"_s, u"成员1职称"_s, u"成员1单位电话"_s,
                        u"成员2称呼"_s, u"成员2单位"_s, u"成员2职称"_s, u"成员2单位电话"_s,
                        u"成员3称呼"_s, u"成员3单位"_s, u"成员3职称"_s, u"成员3单位电话"_s};
    return {
        {u"客户资料表"_s,
         {u"编号"_s, u"学生姓名"_s, u"性别"_s, u"学校"_s, u"年级"_s, u"爱好"_s, u"登记日期"_s, u"父亲姓名"_s,
          u"父亲文化程度"_s, u"母亲姓名"_s, u"母亲文化程度"_s, u"联系电话"_s, u"手机号码"_s, u"家庭住址"_s,
          u"辅导科目"_s, u"辅导时间"_s, u"学生成绩"_s, u"客户要求"_s, u"老师要求"_s, u"价格要求"_s, u"协议"_s,
          u"费用"_s, u"资料"_s, u"客户服务记录"_s, u"推广员"_s, u"顾问"_s}},
        {u"员工表"_s, teacher},
        {u"授课记录"_s,
         {u"学生编号"_s, u"老师编号"_s, u"学生姓名"_s, u"学生联系电话"_s, u"老师姓名"_s, u"老师联系电话"_s,
          u"授课科目"_s, u"授课时间"_s, u"首次时间"_s, u"授课次数"_s}},
        {u"计数器"_s, {u"编号"_s, u"值"_s}},
        {u"用户"_s,
         {u"用户名"_s,     u"密码"_s,     u"添加学生"_s,   u"修改学生"_s,     u"删除学生"_s,   u"添加老师"_s,
          u"修改老师"_s,   u"删除老师"_s, u"学生查询"_s,   u"老师查询"_s,     u"学生打印"_s,   u"老师打印"_s,
          u"学生联系方式"_s, u"老师联系方式"_s, u"添加教学记录"_s, u"修改教学记录"_s, u"删除教学记录"_s,
          u"课程设置"_s,   u"职称设置"_s, u"专业设置"_s,   u"年级设置"_s,     u"推广员设置"_s, u"顾问设置"_s,
          u"参数设置"_s,   u"管理员设置"_s, u"数据备份"_s, u"数据还原"_s}},
        {u"公司信息"_s, {u"公司名称"_s, u"公司地址"_s, u"公司电话"_s, u"联系人"_s, u"传真"_s, u"网站"_s, u"公司简介"_s}},
        {u"学生年级"_s, {u"学生年级"_s}},
        {u"员工年级"_s, {u"年级"_s}},
        {u"员工专业"_s, {u"专业"_s}},
        {u"职称"_s, {u"职称"_s}},
        {u"籍贯"_s, {u"省份"_s}},
        {u"课程"_s, {u"名称"_s}},
        {u"授课对象"_s, {u"对象"_s}},
        {u"推广员"_s, {u"姓名"_s}},
        {u"顾问"_s, {u"姓名"_s}},
    };
}

// Every row of every table, in stored order, as text: what two databases are compared by.
QStringList dump(const QString &url)
{
    const QString conn = u"tooltest-dump"_s;
    QStringList rows;
    {
        const QSqlDatabase db = openDatabase(url, conn);
        for (const auto &[table, columns] : expectedTables()) {
            QSqlQuery q = execute(db, u"SELECT * FROM "_s + SqlDialect::quote(table) + u" ORDER BY tv_id"_s);
            while (q.next()) {
                QStringList values;
                for (int c = 0; c < q.record().count(); ++c) {
                    const QVariant v = q.value(c);
                    values << (v.metaType().id() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString());
                }
                if (table != u"用户"_s) // the password hash is salted anew by every init
                    rows << table + u": "_s + values.join(u'|');
            }
        }
    }
    closeDatabase(conn);
    return rows;
}

QList<QVariantList> rowsOf(const QString &url, const QString &sql)
{
    const QString conn = u"tooltest-rows"_s;
    QList<QVariantList> rows;
    {
        QSqlQuery q = execute(openDatabase(url, conn), sql);
        while (q.next()) {
            QVariantList r;
            for (int c = 0; c < q.record().count(); ++c)
                r << q.value(c);
            rows << r;
        }
    }
    closeDatabase(conn);
    return rows;
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void addEngineColumn()
{
    QTest::addColumn<int>("engine");
}

} // namespace

class TestTavimorDb : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void initCreatesSchemaAndSeed_data();
    void initCreatesSchemaAndSeed();
    void initRefusesExisting_data();
    void initRefusesExisting();
    void initPasswordFromStdin();
    void initEmptyPasswordWarns();
    void verifyPasses_data();
    void verifyPasses();
    void verifyDetectsBrokenInvariant_data();
    void verifyDetectsBrokenInvariant();
    void verifyNotADatabase();
    void demoIsDeterministic_data();
    void demoIsDeterministic();
    void demoContinuesNumbers_data();
    void demoContinuesNumbers();
    void demoNeedsPeopleForRecords();
    void demoBulkLoadRebuildsIndexes_data();
    void demoBulkLoadRebuildsIndexes();
    void badInput_data();
    void badInput();

private:
    Result run(const QStringList &args, const QByteArray &input = {}) const;
    static void engineRows();

    QString m_tool;
    QTemporaryDir m_home;
};

void TestTavimorDb::engineRows()
{
    addEngineColumn();
    for (TestDatabase::Engine e : TestDatabase::engines())
        QTest::newRow(qPrintable(TestDatabase::engineName(e))) << int(e);
}

Result TestTavimorDb::run(const QStringList &args, const QByteArray &input) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Nothing may ever fall back on the user's real database.
    env.remove(u"TAVIMOR_DATABASE"_s);
    env.insert(u"XDG_DATA_HOME"_s, m_home.path());
    env.insert(u"HOME"_s, m_home.path());
    p.setProcessEnvironment(env);
    p.start(m_tool, args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(600'000);
    Result r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestTavimorDb::initTestCase()
{
    const QString dir = qEnvironmentVariable("TAVIMOR_BIN_DIR");
    QVERIFY2(!dir.isEmpty(), "TAVIMOR_BIN_DIR is not set");
    m_tool = dir + u"/tavimor-db"_s;
    QVERIFY2(QFileInfo(m_tool).isExecutable(), qPrintable(m_tool));
    QVERIFY(m_home.isValid());
}

// --------------------------------------------------------------------------------------- init

void TestTavimorDb::initCreatesSchemaAndSeed_data()
{
    engineRows();
}

void TestTavimorDb::initCreatesSchemaAndSeed()
{
    QFETCH(int, engine);
    QTemporaryDir dir;
    std::unique_ptr<TestDatabase> pg;
    QString url = dir.filePath(u"新建/jiajiao.db"_s);
    if (TestDatabase::Engine(engine) == TestDatabase::Engine::PostgreSQL) {
        pg = std::make_unique<TestDatabase>(TestDatabase::Engine::PostgreSQL, TestDatabase::Content::Nothing);
        url = pg->url();
    }
    const Result r = run({u"init"_s, u"--database"_s, url, u"--admin-password"_s, u"admin-pw"_s});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    if (!pg)
        QCOMPARE(QFileInfo(url).permissions() & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                 QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::ReadOwner | QFile::WriteOwner);

    const QString conn = u"tooltest-init"_s;
    {
        const QSqlDatabase db = openDatabase(url, conn);
        for (const auto &[table, columns] : expectedTables()) {
            QVERIFY2(db.tables().contains(table), qPrintable(table));
            const QSqlRecord rec = db.record(table);
            QStringList actual;
            for (int i = 0; i < rec.count(); ++i)
                if (rec.fieldName(i) != u"tv_id"_s && rec.fieldName(i) != u"tv_version"_s)
                    actual << rec.fieldName(i);
            QCOMPARE(actual, columns);
        }
        QSqlQuery counters = execute(db, u"SELECT \"编号\", \"值\" FROM \"计数器\" ORDER BY \"编号\""_s);
        QStringList seen;
        while (counters.next())
            seen << counters.value(0).toString() + u'=' + counters.value(1).toString();
        QCOMPARE(seen, (QStringList{u"S=0"_s, u"T=0"_s}));

        QSqlQuery company = execute(db, u"SELECT \"公司名称\", \"公司电话\" FROM \"公司信息\""_s);
        QVERIFY(company.next());
        QVERIFY(!company.value(0).toString().isEmpty());
        QVERIFY(!company.value(1).toString().isEmpty());
        QVERIFY(!company.next());

        QSqlQuery user = execute(db, u"SELECT * FROM \"用户\" WHERE \"用户名\" = ?"_s, {u"超级管理员"_s});
        QVERIFY(user.next());
        const QString hash = user.value(u"密码"_s).toString();
        QVERIFY(hash != u"admin-pw"_s);
        QVERIFY(verifyPassword(hash, u"admin-pw"_s));
        QVERIFY(!verifyPassword(hash, u"admin-pX"_s));
        const QStringList userColumns = expectedTables().at(4).second;
        for (const QString &flag : userColumns.mid(2)) {
            const QVariant v = user.value(flag);
            QVERIFY2(v.toBool() && (v.toString() == u"1"_s || v.toString() == u"true"_s), qPrintable(flag));
        }

        QSqlQuery provinces = execute(db, u"SELECT \"省份\" FROM \"籍贯\""_s);
        QStringList places;
        while (provinces.next())
            places << provinces.value(0).toString();
        QCOMPARE(places.size(), 34);
        QCOMPARE(QSet<QString>(places.begin(), places.end()).size(), 34);
        for (const QString &p : {u"北京市"_s, u"新疆维吾尔自治区"_s, u"香港特别行政区"_s, u"台湾省"_s})
            QVERIFY2(places.contains(p), qPrintable(p));
        for (const QString &list : {u"学生年级"_s, u"员工年级"_s, u"员工专业"_s, u"职称"_s, u"课程"_s, u"授课对象"_s}) {
            QSqlQuery n = execute(db, u"SELECT count(*) FROM "_s + SqlDialect::quote(list));
            QVERIFY(n.next());
            QVERIFY2(n.value(0).toInt() > 0, qPrintable(list));
        }
    }
    closeDatabase(conn);
}

void TestTavimorDb::initRefusesExisting_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("database"); // an init'ed database, else a SQLite file holding `content`
    QTest::addColumn<QByteArray>("content");
    for (TestDatabase::Engine e : TestDatabase::engines())
        QTest::newRow(qPrintable(TestDatabase::engineName(e) + u" database"_s)) << int(e) << true << QByteArray();
    QTest::newRow("sqlite other file") << int(TestDatabase::Engine::SQLite) << false << QByteArray("not a database\n");
    QTest::newRow("sqlite empty file") << int(TestDatabase::Engine::SQLite) << false << QByteArray();
}

void TestTavimorDb::initRefusesExisting()
{
    QFETCH(int, engine);
    QFETCH(bool, database);
    QFETCH(QByteArray, content);
    std::unique_ptr<TestDatabase> existing;
    QTemporaryDir dir;
    QString url;
    if (database) {
        existing = std::make_unique<TestDatabase>(TestDatabase::Engine(engine));
        url = existing->url();
        existing->exec(u"UPDATE \"公司信息\" SET \"公司名称\" = ?"_s, {u"原有公司"_s});
    } else {
        url = dir.filePath(u"jiajiao.db"_s);
        QFile f(url);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    const QByteArray before = fileHash(url);

    const Result r = run({u"init"_s, u"--database"_s, url, u"--admin-password"_s, u"other"_s});
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.err.contains(u"init 不会改动"_s) || r.err.contains(u"不会改动已有"_s), qPrintable(r.err));
    if (existing)
        QCOMPARE(existing->scalar(u"SELECT \"公司名称\" FROM \"公司信息\""_s).toString(), u"原有公司"_s);
    else
        QCOMPARE(fileHash(url), before);
}

void TestTavimorDb::initPasswordFromStdin()
{
    QTemporaryDir dir;
    const QString url = dir.filePath(u"jiajiao.db"_s);
    const Result r = run({u"init"_s, u"--database"_s, url}, "s3cret pass\n");
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString conn = u"tooltest-pw"_s;
    QString hash;
    {
        QSqlQuery q = execute(openDatabase(url, conn), u"SELECT \"密码\" FROM \"用户\""_s);
        QVERIFY(q.next());
        hash = q.value(0).toString();
    }
    closeDatabase(conn);
    QVERIFY(verifyPassword(hash, u"s3cret pass"_s));

    // No password anywhere: nothing is created.
    const QString url2 = dir.filePath(u"second.db"_s);
    const Result none = run({u"init"_s, u"--database"_s, url2});
    QVERIFY(none.exitCode != 0);
    QVERIFY2(none.err.contains(u"--admin-password"_s), qPrintable(none.err));
    QVERIFY(!QFile::exists(url2));
}

void TestTavimorDb::initEmptyPasswordWarns()
{
    QTemporaryDir dir;
    const QString url = dir.filePath(u"jiajiao.db"_s);
    const Result r = run({u"init"_s, u"--database"_s, url, u"--admin-password"_s, QString()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains(u"警告"_s) && r.err.contains(u"空"_s), qPrintable(r.err));
    QVERIFY(QFile::exists(url));
}

// ------------------------------------------------------------------------------------- verify

void TestTavimorDb::verifyPasses_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("demo");
    for (TestDatabase::Engine e : TestDatabase::engines()) {
        QTest::newRow(qPrintable(TestDatabase::engineName(e) + u" fresh"_s)) << int(e) << false;
        QTest::newRow(qPrintable(TestDatabase::engineName(e) + u" demo"_s)) << int(e) << true;
    }
}

void TestTavimorDb::verifyPasses()
{
    QFETCH(int, engine);
    QFETCH(bool, demo);
    TestDatabase db{TestDatabase::Engine(engine)};
    if (demo) {
        const Result d = run({u"demo"_s, u"--database"_s, db.url(), u"--students"_s, u"60"_s, u"--teachers"_s,
                              u"12"_s, u"--records"_s, u"80"_s});
        QVERIFY2(d.exitCode == 0, qPrintable(d.err));
    }
    const Result r = run({u"verify"_s, u"--database"_s, db.url()});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY(!r.out.contains(u"FAIL"_s));
    QCOMPARE(r.out.count(QRegularExpression(u"^OK  "_s, QRegularExpression::MultilineOption)), 11);
}

void TestTavimorDb::verifyDetectsBrokenInvariant_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<QStringList>("breakage");
    QTest::addColumn<QStringList>("failingChecks"); // exactly these, in the order they are printed
    const QString student = u"INSERT INTO \"客户资料表\" (\"编号\", \"学生姓名\") VALUES ('%1', '学生')"_s;
    const QString teacher = u"INSERT INTO \"员工表\" (\"编号\", \"姓名\") VALUES ('%1', '老师')"_s;
    const struct {
        const char *name;
        QStringList sql;
        QStringList checks;
    } cases[] = {
        {"missing counter S", {u"DELETE FROM \"计数器\" WHERE \"编号\" = 'S'"_s}, {u"计数器 S"_s, u"学生编号计数器"_s}},
        {"null counter T", {u"UPDATE \"计数器\" SET \"值\" = NULL WHERE \"编号\" = 'T'"_s}, {u"计数器 T"_s, u"老师编号计数器"_s}},
        {"student counter below highest",
         {student.arg(3), student.arg(12), u"UPDATE \"计数器\" SET \"值\" = 9 WHERE \"编号\" = 'S'"_s},
         {u"学生编号计数器"_s}},
        {"teacher counter below highest", {teacher.arg(1)}, {u"老师编号计数器"_s}},
        {"duplicate student number",
         {student.arg(2), student.arg(2), u"UPDATE \"计数器\" SET \"值\" = 2 WHERE \"编号\" = 'S'"_s},
         {u"学生编号唯一"_s}},
        {"duplicate teacher number",
         {teacher.arg(4), teacher.arg(4), u"UPDATE \"计数器\" SET \"值\" = 4 WHERE \"编号\" = 'T'"_s},
         {u"老师编号唯一"_s}},
        {"two company rows",
         {u"INSERT INTO \"公司信息\" (\"公司名称\", \"公司电话\") VALUES ('第二家', '123')"_s}, {u"公司信息"_s}},
        {"company phone empty", {u"UPDATE \"公司信息\" SET \"公司电话\" = ''"_s}, {u"公司信息"_s}},
        {"missing super user", {u"DELETE FROM \"用户\" WHERE \"用户名\" = '超级管理员'"_s}, {u"超级管理员"_s}},
        {"missing table", {u"DROP TABLE \"顾问\""_s}, {u"数据表"_s}},
    };
    for (TestDatabase::Engine e : TestDatabase::engines())
        for (const auto &c : cases)
            QTest::newRow(qPrintable(TestDatabase::engineName(e) + u' ' + QString::fromLatin1(c.name)))
                << int(e) << c.sql << c.checks;
    // An index whose entries no longer match its definition: only the engine's own check sees it.
    QTest::newRow("sqlite index out of step")
        << int(TestDatabase::Engine::SQLite)
        << QStringList{student.arg(1), u"UPDATE \"计数器\" SET \"值\" = 1 WHERE \"编号\" = 'S'"_s,
                       u"PRAGMA writable_schema = ON"_s,
                       u"UPDATE sqlite_master SET sql = replace(sql, '(\"学生姓名\")', '(\"学校\")') "
                       "WHERE type = 'index' AND tbl_name = '客户资料表'"_s}
        << QStringList{u"完整性检查"_s};
}

void TestTavimorDb::verifyDetectsBrokenInvariant()
{
    QFETCH(int, engine);
    QFETCH(QStringList, breakage);
    QFETCH(QStringList, failingChecks);
    TestDatabase db{TestDatabase::Engine(engine)};
    {
        const QString conn = u"tooltest-break"_s;
        {
            const QSqlDatabase c = openDatabase(db.url(), conn);
            for (const QString &sql : breakage)
                execute(c, sql);
        }
        closeDatabase(conn);
    }
    const Result r = run({u"verify"_s, u"--database"_s, db.url()});
    QVERIFY2(r.exitCode != 0, qPrintable(r.out));
    QStringList failed;
    const QRegularExpression failLine(u"^FAIL  ([^：]+)："_s, QRegularExpression::MultilineOption);
    for (auto it = failLine.globalMatch(r.out); it.hasNext();)
        failed << it.next().captured(1);
    QCOMPARE(failed, failingChecks);
    QVERIFY(r.err.contains(u"%1 项检查没有通过"_s.arg(failingChecks.size())));
}

void TestTavimorDb::verifyNotADatabase()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"jiajiao.db"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    const Result r = run({u"verify"_s, u"--database"_s, path});
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.out.startsWith(u"FAIL  打开数据库"_s), qPrintable(r.out));
    QVERIFY2(r.err.contains(u"不是数据库文件"_s), qPrintable(r.err));
}

// --------------------------------------------------------------------------------------- demo

void TestTavimorDb::demoIsDeterministic_data()
{
    engineRows();
}

void TestTavimorDb::demoIsDeterministic()
{
    QFETCH(int, engine);
    const auto e = TestDatabase::Engine(engine);
    // Enough rows for several full batches and a shorter last one in every table.
    const QStringList sizes{u"--students"_s, u"1303"_s, u"--teachers"_s, u"97"_s, u"--records"_s, u"401"_s};
    TestDatabase a{e}, b{e}, c{e};
    for (auto [db, seed] : {std::pair{&a, u"42"_s}, std::pair{&b, u"42"_s}, std::pair{&c, u"43"_s}}) {
        const Result r = run(QStringList{u"demo"_s, u"--database"_s, db->url(), u"--seed"_s, seed} + sizes);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    }
    const QStringList dumpA = dump(a.url());
    QCOMPARE(dumpA, dump(b.url()));
    QVERIFY(dumpA != dump(c.url()));

    QCOMPARE(a.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'S'"_s).toLongLong(), 1303);
    QCOMPARE(a.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'T'"_s).toLongLong(), 97);

    // Numbers 1..N as decimal text, each once.
    for (const auto &[table, n] : {std::pair{u"客户资料表"_s, 1303}, std::pair{u"员工表"_s, 97}}) {
        const auto numbers = rowsOf(a.url(), u"SELECT \"编号\" FROM "_s + SqlDialect::quote(table) + u" ORDER BY tv_id"_s);
        QCOMPARE(numbers.size(), n);
        for (int i = 0; i < n; ++i)
            QCOMPARE(numbers.at(i).first().toString(), QString::number(i + 1));
    }

    // Every teaching record ties an existing student and teacher and copies their names and phones.
    QCOMPARE(a.scalar(u"SELECT count(*) FROM \"授课记录\" r JOIN \"客户资料表\" s ON s.\"编号\" = r.\"学生编号\" "
                      "AND s.\"学生姓名\" = r.\"学生姓名\" AND s.\"联系电话\" = r.\"学生联系电话\" "
                      "JOIN \"员工表\" t ON t.\"编号\" = r.\"老师编号\" AND t.\"姓名\" = r.\"老师姓名\" "
                      "AND t.\"现居电话\" = r.\"老师联系电话\""_s)
                 .toLongLong(),
             401);

    // The generated values look like what the editors write.
    QSet<QString> subjects;
    for (const auto &row : rowsOf(a.url(), u"SELECT \"名称\" FROM \"课程\""_s))
        subjects << row.first().toString();
    const QRegularExpression slot(u"^星期[天一二三四五六](早上|上午|中午|下午|晚上)\\d+：00至(早上|上午|中午|下午|晚上)\\d+：00$"_s);
    const QRegularExpression digits(u"^[0-9]+$"_s);
    QSet<int> years;
    const auto students = rowsOf(a.url(), u"SELECT \"性别\", \"辅导科目\", \"辅导时间\", \"联系电话\", \"手机号码\", "
                                          "\"登记日期\", \"学生姓名\" FROM \"客户资料表\""_s);
    for (const auto &s : students) {
        QVERIFY(s.at(0).toString() == u"男"_s || s.at(0).toString() == u"女"_s);
        for (const QString &subject : s.at(1).toString().split(u'|'))
            QVERIFY2(subjects.contains(subject), qPrintable(s.at(1).toString()));
        for (const QString &line : s.at(2).toString().split(u'\n'))
            QVERIFY2(slot.match(line).hasMatch(), qPrintable(line));
        QVERIFY(digits.match(s.at(3).toString()).hasMatch());
        QVERIFY(s.at(4).isNull() || digits.match(s.at(4).toString()).hasMatch());
        const QDate d = s.at(5).metaType().id() == QMetaType::QDate
                            ? s.at(5).toDate()
                            : QDate::fromString(s.at(5).toString(), u"yyyy-MM-dd"_s);
        QVERIFY2(d.isValid(), qPrintable(s.at(5).toString()));
        years << d.year();
        QVERIFY(s.at(6).toString().size() >= 2);
    }
    QVERIFY(years.size() >= 10);

    const QStringList relations{u"爸爸"_s, u"妈妈"_s, u"爷爷"_s, u"奶奶"_s, u"哥哥"_s,
                                u"姐姐"_s, u"弟弟"_s, u"妹妹"_s, u"叔叔"_s, u"阿姨"_s};
    for (const auto &t : rowsOf(a.url(), u"SELECT \"成员1称呼\", \"成员1职称\", \"成员1单位电话\", \"身份证号\", "
                                         "\"擅长科目\" FROM \"员工表\""_s)) {
        QVERIFY2(relations.contains(t.at(0).toString()), qPrintable(t.at(0).toString()));
        QVERIFY(!t.at(1).toString().isEmpty());
        QVERIFY(digits.match(t.at(2).toString()).hasMatch());
        QCOMPARE(t.at(3).toString().size(), 18);
        QVERIFY(digits.match(t.at(3).toString()).hasMatch());
        QVERIFY(!t.at(4).toString().contains(u" |"_s) && !t.at(4).toString().contains(u"| "_s));
    }

    const Result v = run({u"verify"_s, u"--database"_s, a.url()});
    QVERIFY2(v.exitCode == 0, qPrintable(v.out));
}

void TestTavimorDb::demoContinuesNumbers_data()
{
    engineRows();
}

void TestTavimorDb::demoContinuesNumbers()
{
    QFETCH(int, engine);
    TestDatabase db{TestDatabase::Engine(engine)};
    db.exec(u"INSERT INTO \"客户资料表\" (\"编号\", \"学生姓名\", \"联系电话\") VALUES ('41', '原有学生', '123')"_s);
    db.exec(u"UPDATE \"计数器\" SET \"值\" = 41 WHERE \"编号\" = 'S'"_s);
    db.exec(u"UPDATE \"计数器\" SET \"值\" = 7 WHERE \"编号\" = 'T'"_s);
    for (int round = 0; round < 2; ++round) {
        const Result r = run({u"demo"_s, u"--database"_s, db.url(), u"--students"_s, u"5"_s, u"--teachers"_s, u"2"_s,
                              u"--records"_s, u"3"_s, u"--seed"_s, QString::number(round)});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    }
    QCOMPARE(db.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'S'"_s).toLongLong(), 51);
    QCOMPARE(db.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'T'"_s).toLongLong(), 11);
    QStringList numbers;
    for (const auto &row : rowsOf(db.url(), u"SELECT \"编号\" FROM \"客户资料表\" ORDER BY tv_id"_s))
        numbers << row.first().toString();
    QCOMPARE(numbers, (QStringList{u"41"_s, u"42"_s, u"43"_s, u"44"_s, u"45"_s, u"46"_s, u"47"_s, u"48"_s,
                                   u"49"_s, u"50"_s, u"51"_s}));
    QStringList teachers;
    for (const auto &row : rowsOf(db.url(), u"SELECT \"编号\" FROM \"员工表\" ORDER BY tv_id"_s))
        teachers << row.first().toString();
    QCOMPARE(teachers, (QStringList{u"8"_s, u"9"_s, u"10"_s, u"11"_s}));
    QCOMPARE(db.scalar(u"SELECT count(*) FROM \"授课记录\""_s).toLongLong(), 6);
    const Result v = run({u"verify"_s, u"--database"_s, db.url()});
    QVERIFY2(v.exitCode == 0, qPrintable(v.out));
}

void TestTavimorDb::demoNeedsPeopleForRecords()
{
    // Records but no teachers anywhere: refused, and nothing of the run stays (counters included).
    TestDatabase db;
    const Result r = run({u"demo"_s, u"--database"_s, db.url(), u"--students"_s, u"3"_s, u"--teachers"_s, u"0"_s,
                          u"--records"_s, u"5"_s});
    QVERIFY(r.exitCode != 0);
    QVERIFY2(r.err.contains(u"无法生成授课记录"_s), qPrintable(r.err));
    QCOMPARE(db.scalar(u"SELECT count(*) FROM \"客户资料表\""_s).toLongLong(), 0);
    QCOMPARE(db.scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = 'S'"_s).toLongLong(), 0);
}

void TestTavimorDb::demoBulkLoadRebuildsIndexes_data()
{
    engineRows();
}

void TestTavimorDb::demoBulkLoadRebuildsIndexes()
{
    // Large loads drop a table's indexes and build them again: afterwards they are all there,
    // with the same definitions, and the engine finds them consistent.
    QFETCH(int, engine);
    const auto e = TestDatabase::Engine(engine);
    TestDatabase db{e};
    const QString indexes = e == TestDatabase::Engine::SQLite
                                ? u"SELECT name || ' ' || sql FROM sqlite_master WHERE type = 'index' "
                                  "AND sql IS NOT NULL ORDER BY name"_s
                                : u"SELECT indexdef FROM pg_indexes WHERE schemaname = current_schema() "
                                  "ORDER BY indexname"_s;
    const auto before = rowsOf(db.url(), indexes);
    QVERIFY(before.size() >= 12);
    const Result r = run({u"demo"_s, u"--database"_s, db.url(), u"--students"_s, u"50000"_s, u"--teachers"_s, u"5"_s,
                          u"--records"_s, u"50000"_s});
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(rowsOf(db.url(), indexes), before);
    QCOMPARE(db.scalar(u"SELECT count(*) FROM \"授课记录\""_s).toLongLong(), 50000);
    const Result v = run({u"verify"_s, u"--database"_s, db.url()});
    QVERIFY2(v.exitCode == 0, qPrintable(v.out));
}

// ---------------------------------------------------------------------------------- bad input

void TestTavimorDb::badInput_data()
{
    QTest::addColumn<QStringList>("args"); // @db: an init'ed database, @missing, @garbage, @bare: no tables
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // on stderr (or stdout for help)
    const QStringList counts{u"--students"_s, u"1"_s, u"--teachers"_s, u"1"_s, u"--records"_s, u"1"_s};
    QTest::newRow("no command") << QStringList{} << 2 << u"用法"_s;
    QTest::newRow("unknown command") << QStringList{u"frob"_s} << 2 << u"没有“frob”这个命令"_s;
    QTest::newRow("unknown option") << QStringList{u"verify"_s, u"--frob"_s, u"1"_s} << 2 << u"没有选项“--frob”"_s;
    QTest::newRow("stray argument") << QStringList{u"verify"_s, u"@db"_s} << 2 << u"多余的参数"_s;
    QTest::newRow("missing value") << QStringList{u"init"_s, u"--database"_s} << 2 << u"--database 后面缺少值"_s;
    QTest::newRow("option as value") << QStringList{u"init"_s, u"--database"_s, u"--admin-password"_s, u"x"_s} << 2
                                     << u"--database 后面缺少值"_s;
    QTest::newRow("not a number") << QStringList{u"demo"_s, u"--database"_s, u"@db"_s, u"--students"_s, u"many"_s,
                                                 u"--teachers"_s, u"1"_s, u"--records"_s, u"0"_s}
                                  << 2 << u"--students 的值“many”不对"_s;
    QTest::newRow("negative count") << QStringList{u"demo"_s, u"--database"_s, u"@db"_s, u"--students"_s, u"-1"_s,
                                                   u"--teachers"_s, u"1"_s, u"--records"_s, u"0"_s}
                                    << 2 << u"--students 的值“-1”不对"_s;
    QTest::newRow("bad seed") << QStringList{u"demo"_s, u"--database"_s, u"@db"_s, u"--seed"_s, u"x"_s} + counts << 2
                              << u"--seed"_s;
    QTest::newRow("missing count") << QStringList{u"demo"_s, u"--database"_s, u"@db"_s, u"--students"_s, u"1"_s,
                                                  u"--records"_s, u"0"_s}
                                   << 2 << u"需要选项 --teachers"_s;
    QTest::newRow("demo missing file") << QStringList{u"demo"_s, u"--database"_s, u"@missing"_s} + counts << 1
                                       << u"找不到数据库文件"_s;
    QTest::newRow("verify missing file") << QStringList{u"verify"_s, u"--database"_s, u"@missing"_s} << 1
                                         << u"找不到数据库文件"_s;
    QTest::newRow("demo not a database") << QStringList{u"demo"_s, u"--database"_s, u"@garbage"_s} + counts << 1
                                         << u"不是数据库文件"_s;
    QTest::newRow("demo without tables") << QStringList{u"demo"_s, u"--database"_s, u"@bare"_s} + counts << 1
                                         << u"请先用 tavimor-db init"_s;
    QTest::newRow("unreachable server")
        << QStringList{u"verify"_s, u"--database"_s, u"postgresql://nobody:pw@127.0.0.1:1/none"_s} << 1
        << u"无法连接数据库"_s;
    QTest::newRow("init unreachable server")
        << QStringList{u"init"_s, u"--database"_s, u"postgresql://nobody:pw@127.0.0.1:1/none"_s,
                       u"--admin-password"_s, u"x"_s}
        << 1 << u"无法连接数据库"_s;
    QTest::newRow("malformed url") << QStringList{u"verify"_s, u"--database"_s, u"postgresql:///nohost"_s} << 1
                                   << u"数据库地址"_s;
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << u"verify"_s;
    QTest::newRow("command help") << QStringList{u"demo"_s, u"--help"_s} << 0 << u"--students N"_s;
}

void TestTavimorDb::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    TestDatabase db;
    QTemporaryDir dir;
    const QString garbage = dir.filePath(u"garbage.db"_s);
    {
        QFile f(garbage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'g'));
    }
    const QString bare = dir.filePath(u"bare.db"_s);
    QFile(bare).open(QIODevice::WriteOnly); // an empty file is an empty SQLite database
    const QByteArray before = fileHash(db.url());
    for (QString &a : args) {
        a.replace(u"@db"_s, db.url());
        a.replace(u"@missing"_s, dir.filePath(u"missing.db"_s));
        a.replace(u"@garbage"_s, garbage);
        a.replace(u"@bare"_s, bare);
    }
    const Result r = run(args);
    QCOMPARE(r.exitCode, exitCode);
    const QString shown = exitCode == 0 ? r.out : r.err;
    QVERIFY2(shown.contains(message), qPrintable(shown));
    QVERIFY(!QFile::exists(dir.filePath(u"missing.db"_s)));
    QCOMPARE(fileHash(db.url()), before);
}

QTEST_GUILESS_MAIN(TestTavimorDb)
#include "test_tavimor_db.moc"
