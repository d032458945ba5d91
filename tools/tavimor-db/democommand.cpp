// tavimor-db demo: fills an initialised database with generated students, teachers and
// teaching records, for trials and benchmarks.
#include "commands.h"
#include "database.h"
#include "dbinit.h"
#include "demodata.h"
#include "errors.h"
#include "schema.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::cli {

namespace {

// SQLite takes at most 32766 bound values in one statement, and the time it needs to parse
// named placeholders grows with the square of their number; about a thousand values per
// statement run as fast as any larger batch.
constexpr int kBatchParameters = 1000;

// Multi-row INSERTs with bound values, kBatchParameters values per statement.
class BatchInserter
{
public:
    BatchInserter(const QSqlDatabase &db, const QString &table, const QStringList &columns)
        : m_db(db), m_columns(int(columns.size())), m_rowsPerBatch(std::max(1, kBatchParameters / m_columns))
    {
        QStringList quoted;
        for (const QString &c : columns)
            quoted << SqlDialect::quote(c);
        m_head = u"INSERT INTO "_s + SqlDialect::quote(table) + u" ("_s + quoted.join(u", "_s) + u") VALUES "_s;
        m_buffer.resize(qsizetype(m_rowsPerBatch) * m_columns);
        // Named placeholders, bound by name: Qt would format a name for every value bound by position.
        m_names.reserve(m_buffer.size());
        for (qsizetype i = 0; i < m_buffer.size(); ++i)
            m_names << u":p"_s + QString::number(i);
    }

    // The next row to fill, m_columns values in the order of the column list.
    QVariant *row()
    {
        if (m_rows == m_rowsPerBatch)
            flush();
        return m_buffer.data() + qsizetype(m_rows++) * m_columns;
    }

    void flush()
    {
        if (m_rows == 0)
            return;
        if (m_rows == m_rowsPerBatch) {
            if (!m_full)
                m_full = prepare(m_rows);
            run(*m_full, 0, m_rows);
        } else {
            // The last, shorter batch: row by row rather than parsing one more long statement.
            if (!m_single)
                m_single = prepare(1);
            for (int r = 0; r < m_rows; ++r)
                run(*m_single, r, 1);
        }
        m_rows = 0;
    }

private:
    void run(QSqlQuery &q, int firstRow, int rows)
    {
        const qsizetype base = qsizetype(firstRow) * m_columns;
        const qsizetype n = qsizetype(rows) * m_columns;
        for (qsizetype i = 0; i < n; ++i)
            q.bindValue(m_names.at(i), m_buffer.at(base + i));
        if (!q.exec())
            throw DatabaseError(q.lastError().text());
    }

    std::unique_ptr<QSqlQuery> prepare(int rows) const
    {
        QString sql = m_head;
        for (int r = 0; r < rows; ++r) {
            sql += r ? u",("_s : u"("_s;
            for (int c = 0; c < m_columns; ++c)
                sql += (c ? u","_s : QString()) + m_names.at(qsizetype(r) * m_columns + c);
            sql += u')';
        }
        auto q = std::make_unique<QSqlQuery>(m_db);
        q->setForwardOnly(true);
        if (!q->prepare(sql))
            throw DatabaseError(q->lastError().text());
        return q;
    }

    QSqlDatabase m_db;
    int m_columns;
    int m_rowsPerBatch;
    int m_rows = 0;
    QString m_head;
    QList<QVariant> m_buffer;
    QStringList m_names;
    std::unique_ptr<QSqlQuery> m_full, m_single;
};

QStringList readColumn(const QSqlDatabase &db, const QString &table, const QString &column)
{
    QSqlQuery q = execute(db, u"SELECT "_s + SqlDialect::quote(column) + u" FROM "_s + SqlDialect::quote(table) +
                                  u" WHERE "_s + SqlDialect::quote(column) + u" IS NOT NULL ORDER BY tv_id"_s);
    QStringList values;
    while (q.next())
        if (!q.value(0).toString().trimmed().isEmpty() && !values.contains(q.value(0).toString()))
            values << q.value(0).toString();
    return values;
}

// A lookup list as the database holds it; the starter rows when someone emptied it.
QStringList lookupList(const QSqlDatabase &db, const QString &table)
{
    const QStringList values = readColumn(db, table, tableDef(table).columns.first().name);
    return values.isEmpty() ? starterRows(table) : values;
}

// Promoters and consultants come with no starter rows: a demo database gets a few of each.
QStringList ensurePeople(const QSqlDatabase &db, const QString &table, int count, demo::Generator &g)
{
    const QString column = tableDef(table).columns.first().name;
    QStringList names = readColumn(db, table, column);
    if (!names.isEmpty())
        return names;
    while (names.size() < count) {
        const QString name = g.personName();
        if (!names.contains(name))
            names << name;
    }
    for (const QString &n : std::as_const(names))
        execute(db, u"INSERT INTO "_s + SqlDialect::quote(table) + u" ("_s + SqlDialect::quote(column) + u") VALUES (?)"_s,
                {n});
    return names;
}

// Moves counter `key` on by `count` in one statement and returns the first number it covers.
qint64 takeNumbers(const QSqlDatabase &db, const QString &key, qint64 count)
{
    QSqlQuery q = execute(db, u"UPDATE \"计数器\" SET \"值\" = COALESCE(\"值\", 0) + ? WHERE \"编号\" = ? RETURNING \"值\""_s,
                          {count, key});
    if (!q.next())
        throw DatabaseError(u"数据库中没有编号为“%1”的计数器行，无法分配编号。请用 tavimor-db verify 检查数据库。"_s.arg(key));
    const qint64 last = q.value(0).toLongLong();
    if (q.next())
        throw DatabaseError(u"编号为“%1”的计数器行不止一行，无法分配编号。请用 tavimor-db verify 检查数据库。"_s.arg(key));
    return last - count + 1;
}

QString seconds(const QElapsedTimer &t)
{
    return QString::number(double(t.elapsed()) / 1000.0, 'f', 1);
}

// Drops a table's ordinary indexes for a bulk load and builds them again afterwards: sorting
// once is far cheaper than a million scattered index inserts. Runs inside the caller's
// transaction, so a failure brings the indexes back with everything else.
class SuspendedIndexes
{
public:
    static constexpr qint64 kWorthFrom = 50'000; // rows to add

    SuspendedIndexes(const QSqlDatabase &db, const QString &table, qint64 rows) : m_db(db)
    {
        if (rows < kWorthFrom)
            return;
        const bool pg = SqlDialect::of(db).engine() == Engine::PostgreSQL;
        QSqlQuery q = execute(
            db,
            pg ? u"SELECT c.relname, pg_get_indexdef(i.indexrelid) FROM pg_index i "
                 "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_class t ON t.oid = i.indrelid "
                 "JOIN pg_namespace n ON n.oid = t.relnamespace "
                 "WHERE t.relname = ? AND n.nspname = current_schema() AND NOT i.indisprimary AND NOT i.indisunique"_s
               : u"SELECT name, sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL"_s,
            {table});
        while (q.next())
            m_indexes.append({q.value(0).toString(), q.value(1).toString()});
        q.finish();
        for (const auto &index : std::as_const(m_indexes))
            execute(db, u"DROP INDEX "_s + SqlDialect::quote(index.first));
    }
    void restore()
    {
        for (const auto &index : std::as_const(m_indexes))
            execute(m_db, index.second);
        m_indexes.clear();
    }

private:
    QSqlDatabase m_db;
    QList<QPair<QString, QString>> m_indexes; // name, definition
};

// Adds `count` generated rows to a register, numbered on from its counter.
void fillRegister(const QSqlDatabase &db, const QString &table, const QString &counter, qint64 count,
                  const std::function<void(qint64, QVariant *)> &generate, const QString &what)
{
    const qint64 first = takeNumbers(db, counter, count);
    SuspendedIndexes indexes(db, table, count);
    BatchInserter insert(db, table, tableDef(table).columnNames());
    for (qint64 i = 0; i < count; ++i)
        generate(first + i, insert.row());
    insert.flush();
    indexes.restore();
    out() << u"%1 %2 名，编号 %3 至 %4"_s.arg(what).arg(count).arg(first).arg(first + count - 1);
}

// A compact numbered copy (1..n in stored order) of the columns a teaching record copies from a
// register, so that records can pick people by position. Returns n.
qint64 numberedCopy(const QSqlDatabase &db, const QString &copy, const QString &table, const QString &name,
                    const QString &phone)
{
    execute(db, u"CREATE TEMPORARY TABLE "_s + copy + u" (pos INTEGER PRIMARY KEY, number TEXT, name TEXT, phone TEXT)"_s);
    QSqlQuery q = execute(db, u"INSERT INTO "_s + copy + u" (pos, number, name, phone) "
                              "SELECT row_number() OVER (ORDER BY tv_id), \"编号\", "_s +
                                  SqlDialect::quote(name) + u", "_s + SqlDialect::quote(phone) + u" FROM "_s +
                                  SqlDialect::quote(table));
    return q.numRowsAffected();
}

// Teaching records tie random existing students and teachers. The pairs and each record's own
// fields go into a temporary table; one INSERT … SELECT then copies numbers, names and phones
// from compact copies of the two registers.
void fillRecords(const QSqlDatabase &db, demo::Generator &g, qint64 count)
{
    const qint64 students = numberedCopy(db, u"tv_demo_student"_s, u"客户资料表"_s, u"学生姓名"_s, u"联系电话"_s);
    const qint64 teachers = numberedCopy(db, u"tv_demo_teacher"_s, u"员工表"_s, u"姓名"_s, u"现居电话"_s);
    if (students <= 0 || teachers <= 0)
        throw DatabaseError(u"数据库中还没有学生或老师，无法生成授课记录：请同时给出 --students 和 --teachers。"_s);
    const SqlDialect d = SqlDialect::of(db);
    execute(db, u"CREATE TEMPORARY TABLE tv_demo_lesson ("_s + d.keyColumnDecl() +
                    u", student BIGINT, teacher BIGINT, subject TEXT, times TEXT, first_day "_s +
                    d.columnType(ColumnKind::Date) + u", lessons TEXT)"_s);
    {
        BatchInserter insert(db, u"tv_demo_lesson"_s,
                             {u"student"_s, u"teacher"_s, u"subject"_s, u"times"_s, u"first_day"_s, u"lessons"_s});
        demo::Random &r = g.random();
        for (qint64 i = 0; i < count; ++i) {
            QVariant *row = insert.row();
            row[0] = qint64(r.next() % quint64(students)) + 1;
            row[1] = qint64(r.next() % quint64(teachers)) + 1;
            g.lesson(row + 2);
        }
        insert.flush();
    }
    SuspendedIndexes indexes(db, u"授课记录"_s, count);
    execute(db, u"INSERT INTO \"授课记录\" (\"学生编号\", \"老师编号\", \"学生姓名\", \"学生联系电话\", \"老师姓名\", "
                "\"老师联系电话\", \"授课科目\", \"授课时间\", \"首次时间\", \"授课次数\") "
                "SELECT s.number, t.number, s.name, s.phone, t.name, t.phone, "
                "p.subject, p.times, p.first_day, p.lessons "
                "FROM tv_demo_lesson p JOIN tv_demo_student s ON s.pos = p.student "
                "JOIN tv_demo_teacher t ON t.pos = p.teacher ORDER BY p.tv_id"_s);
    indexes.restore();
    for (const QString &temp : {u"tv_demo_lesson"_s, u"tv_demo_student"_s, u"tv_demo_teacher"_s})
        execute(db, u"DROP TABLE "_s + temp);
    out() << u"授课记录 %1 条"_s.arg(count);
}

int runDemo(const Options &options)
{
    constexpr qint64 kMost = 100'000'000;
    const qint64 students = options.integer(u"students"_s, 0, kMost, 0);
    const qint64 teachers = options.integer(u"teachers"_s, 0, kMost, 0);
    const qint64 records = options.integer(u"records"_s, 0, kMost, 0);
    const quint64 seed = options.unsignedInteger(u"seed"_s, 1);
    const QString url = options.databaseUrl();

    const QString conn = u"tavimor-db-demo-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QElapsedTimer total;
    total.start();
    try {
        const QSqlDatabase db = openExisting(url, conn);
        if (!hasSchema(db))
            throw DatabaseError(u"数据库 %1 中还没有本系统的数据表：请先用 tavimor-db init 建立。"_s.arg(
                DatabaseUrl::parse(url).display()));
        const Engine engine = SqlDialect::of(db).engine();
        if (engine == Engine::SQLite) {
            // A bulk load of generated data: durability of each page write does not matter here,
            // the file is consistent again at the commit.
            execute(db, u"PRAGMA synchronous = OFF"_s);
            execute(db, u"PRAGMA temp_store = MEMORY"_s);
            execute(db, u"PRAGMA cache_size = -262144"_s);
        }
        Transaction tx(db);
        if (engine == Engine::PostgreSQL)
            execute(db, u"SET LOCAL synchronous_commit TO OFF"_s);

        demo::Lists lists;
        lists.studentGrades = lookupList(db, u"学生年级"_s);
        lists.teacherGrades = lookupList(db, u"员工年级"_s);
        lists.majors = lookupList(db, u"员工专业"_s);
        lists.titles = lookupList(db, u"职称"_s);
        lists.provinces = lookupList(db, u"籍贯"_s);
        lists.subjects = lookupList(db, u"课程"_s);
        lists.targets = lookupList(db, u"授课对象"_s);
        if (lists.studentGrades.isEmpty() || lists.teacherGrades.isEmpty() || lists.majors.isEmpty() ||
            lists.provinces.isEmpty() || lists.subjects.isEmpty())
            throw DatabaseError(u"选择列表是空的，无法生成数据。"_s);
        demo::Generator g(seed, lists, engine);
        lists.promoters = ensurePeople(db, u"推广员"_s, 6, g);
        lists.consultants = ensurePeople(db, u"顾问"_s, 4, g);
        g.setLists(lists);

        QElapsedTimer step;
        step.start();
        if (students > 0) {
            fillRegister(db, u"客户资料表"_s, u"S"_s, students,
                         [&](qint64 n, QVariant *row) { g.student(n, row); }, u"学生"_s);
            out() << u"，用时 %1 秒\n"_s.arg(seconds(step)) << Qt::flush;
        }
        step.restart();
        if (teachers > 0) {
            fillRegister(db, u"员工表"_s, u"T"_s, teachers,
                         [&](qint64 n, QVariant *row) { g.teacher(n, row); }, u"老师"_s);
            out() << u"，用时 %1 秒\n"_s.arg(seconds(step)) << Qt::flush;
        }
        step.restart();
        if (records > 0) {
            fillRecords(db, g, records);
            out() << u"，用时 %1 秒\n"_s.arg(seconds(step)) << Qt::flush;
        }
        step.restart();
        tx.commit();
        out() << u"已写入数据库 %1（提交用时 %2 秒，共 %3 秒）。\n"_s.arg(DatabaseUrl::parse(url).display(),
                                                                         seconds(step), seconds(total));
    } catch (...) {
        closeDatabase(conn);
        throw;
    }
    closeDatabase(conn);
    return Success;
}

} // namespace

const Command &demoCommand()
{
    static const Command command{
        {u"demo"_s,
         u"往数据库里添加演示数据。\n\n往已经建立的数据库里添加生成的数据：学生、老师（含家庭成员）和授课记录，\n"
         "编号接着计数器往下排，计数器随之前进。同一个 --seed 生成同样的数据（默认 1）。"_s,
         {{u"database"_s, u"URL"_s, u"要填充的数据库"_s},
          {u"students"_s, u"N"_s, u"生成的学生人数"_s, true},
          {u"teachers"_s, u"M"_s, u"生成的老师人数"_s, true},
          {u"records"_s, u"K"_s, u"生成的授课记录条数"_s, true},
          {u"seed"_s, u"S"_s, u"随机数种子"_s}}},
        runDemo};
    return command;
}

} // namespace tavimor::cli
