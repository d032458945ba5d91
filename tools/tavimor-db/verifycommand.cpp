// tavimor-db verify: checks the invariants the program relies on and the engine's own integrity.
#include "commands.h"
#include "database.h"
#include "dbinit.h"
#include "errors.h"
#include "schema.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::cli {

namespace {

struct CheckResult {
    bool ok = true;
    QString detail;
};

QString q(const QString &identifier)
{
    return SqlDialect::quote(identifier);
}

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query = execute(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

bool isWholeNumber(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
        return v.toInt() >= 0;
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return v.toLongLong() >= 0;
    case QMetaType::ULongLong:
        return true;
    case QMetaType::QString: {
        static const QRegularExpression digits(u"^[0-9]+$"_s);
        return digits.match(v.toString()).hasMatch();
    }
    default:
        return false;
    }
}

CheckResult checkTables(const QSqlDatabase &db)
{
    QStringList problems;
    const QStringList present = db.tables();
    for (const TableDef &t : schemaTables()) {
        if (!present.contains(t.name)) {
            problems << u"缺少数据表“%1”"_s.arg(t.name);
            continue;
        }
        const QSqlRecord record = db.record(t.name);
        QStringList missing;
        for (const ColumnDef &c : t.columns)
            if (record.indexOf(c.name) < 0)
                missing << c.name;
        if (!missing.isEmpty())
            problems << u"数据表“%1”缺少列 %2"_s.arg(t.name, missing.join(u'、'));
    }
    if (problems.isEmpty())
        return {true, u"%1 张数据表齐全"_s.arg(schemaTables().size())};
    return {false, problems.join(u"；"_s)};
}

CheckResult checkCounter(const QSqlDatabase &db, const QString &key)
{
    QSqlQuery query = execute(db, u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = ?"_s, {key});
    QVariantList values;
    while (query.next())
        values << query.value(0);
    if (values.isEmpty())
        return {false, u"没有编号为“%1”的计数器行"_s.arg(key)};
    if (values.size() > 1)
        return {false, u"编号为“%1”的计数器行有 %2 行，应只有一行"_s.arg(key).arg(values.size())};
    if (values.first().isNull() || !isWholeNumber(values.first()))
        return {false, u"计数器“%1”的值“%2”不是不小于 0 的整数"_s.arg(key, values.first().toString())};
    return {true, u"值 = %1"_s.arg(values.first().toString())};
}

CheckResult checkCompany(const QSqlDatabase &db)
{
    QSqlQuery query = execute(db, u"SELECT \"公司名称\", \"公司电话\" FROM \"公司信息\""_s);
    int rows = 0;
    QString name, phone;
    while (query.next()) {
        ++rows;
        name = query.value(0).toString().trimmed();
        phone = query.value(1).toString().trimmed();
    }
    if (rows != 1)
        return {false, u"公司信息有 %1 行，应正好一行"_s.arg(rows)};
    if (name.isEmpty() || phone.isEmpty())
        return {false, u"公司名称或公司电话没有填写"_s};
    return {true, name};
}

CheckResult checkSuperUser(const QSqlDatabase &db)
{
    const qlonglong n = scalar(db, u"SELECT count(*) FROM \"用户\" WHERE \"用户名\" = ?"_s, {kSuperUser}).toLongLong();
    if (n == 0)
        return {false, u"没有用户名为“%1”的用户"_s.arg(kSuperUser)};
    return {true, kSuperUser};
}

// The expression that selects the numbers written as decimal digits, and their value.
QString decimalNumbers(const SqlDialect &d, const QString &table)
{
    if (d.engine() == Engine::PostgreSQL)
        return u"SELECT max(CAST(\"编号\" AS NUMERIC)) FROM "_s + q(table) + u" WHERE \"编号\" ~ '^[0-9]+$'"_s;
    return u"SELECT max(CAST(\"编号\" AS INTEGER)) FROM "_s + q(table) +
           u" WHERE \"编号\" <> '' AND \"编号\" NOT GLOB '*[^0-9]*'"_s;
}

CheckResult checkCounterCoversNumbers(const QSqlDatabase &db, const QString &key, const QString &table)
{
    const QVariant counter = scalar(db, u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = ?"_s, {key});
    if (counter.isNull() || !isWholeNumber(counter))
        return {false, u"计数器“%1”不可用"_s.arg(key)};
    const QVariant highest = scalar(db, decimalNumbers(SqlDialect::of(db), table));
    if (highest.isNull())
        return {true, u"计数器 = %1，还没有编号"_s.arg(counter.toString())};
    // Compared as decimal text of whole numbers: longer is larger, equal length compares by digits.
    const QString c = counter.toString().remove(QRegularExpression(u"^0+(?=.)"_s));
    const QString h = highest.toString().section(u'.', 0, 0).remove(QRegularExpression(u"^0+(?=.)"_s));
    const bool covers = c.size() != h.size() ? c.size() > h.size() : c >= h;
    const QString detail = u"计数器 = %1，最大编号 = %2"_s.arg(c, h);
    return {covers, covers ? detail : detail + u"：再发的编号会和已有的编号重复"_s};
}

CheckResult checkUniqueNumbers(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query = execute(db, u"SELECT \"编号\", count(*) FROM "_s + q(table) +
                                      u" WHERE \"编号\" IS NOT NULL AND \"编号\" <> '' GROUP BY \"编号\""
                                      " HAVING count(*) > 1 ORDER BY \"编号\""_s);
    QStringList duplicates;
    int groups = 0;
    while (query.next()) {
        if (++groups <= 5)
            duplicates << u"“%1”（%2 行）"_s.arg(query.value(0).toString()).arg(query.value(1).toLongLong());
    }
    if (groups == 0)
        return {true, QString()};
    QString detail = u"%1 个编号重复：%2"_s.arg(groups).arg(duplicates.join(u'、'));
    if (groups > 5)
        detail += u"……"_s;
    return {false, detail};
}

CheckResult checkIntegrity(const QSqlDatabase &db)
{
    if (SqlDialect::of(db).engine() == Engine::SQLite) {
        QSqlQuery query = execute(db, u"PRAGMA integrity_check"_s);
        QStringList lines;
        while (query.next() && lines.size() < 10)
            lines << query.value(0).toString();
        if (lines == QStringList{u"ok"_s})
            return {true, u"PRAGMA integrity_check: ok"_s};
        return {false, lines.join(u"；"_s)};
    }
    // PostgreSQL: every index of our tables must be valid and ready; with the amcheck extension
    // installed its B-tree checks run too. Reading every table through makes the server
    // verify each page it reads (and its checksum where checksums are on).
    QStringList problems;
    QSqlQuery invalid = execute(db, u"SELECT c.relname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                                    "JOIN pg_namespace n ON n.oid = c.relnamespace "
                                    "WHERE n.nspname = current_schema() AND NOT (i.indisvalid AND i.indisready)"_s);
    while (invalid.next())
        problems << u"索引 %1 无效"_s.arg(invalid.value(0).toString());
    const bool amcheck =
        scalar(db, u"SELECT count(*) FROM pg_extension WHERE extname = 'amcheck'"_s).toLongLong() > 0;
    if (amcheck) {
        QSqlQuery indexes = execute(db, u"SELECT c.oid FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
                                        "JOIN pg_am a ON a.oid = c.relam JOIN pg_namespace n ON n.oid = c.relnamespace "
                                        "WHERE n.nspname = current_schema() AND a.amname = 'btree' AND i.indisvalid"_s);
        QVariantList oids;
        while (indexes.next())
            oids << indexes.value(0);
        for (const QVariant &oid : std::as_const(oids))
            execute(db, u"SELECT bt_index_check(CAST(? AS OID))"_s, {oid});
    }
    const QStringList present = db.tables(); // a missing table is the table check's finding
    for (const TableDef &t : schemaTables())
        if (present.contains(t.name))
            execute(db, u"SELECT count(*) FROM (SELECT * FROM "_s + q(t.name) + u") AS r"_s);
    if (!problems.isEmpty())
        return {false, problems.join(u"；"_s)};
    return {true, amcheck ? u"索引有效，amcheck 通过，全部数据表可读"_s : u"索引有效，全部数据表可读"_s};
}

int runVerify(const Options &options)
{
    const QString url = options.databaseUrl();
    int failures = 0;
    auto report = [&](const QString &name, const CheckResult &r) {
        if (!r.ok)
            ++failures;
        out() << (r.ok ? u"OK    "_s : u"FAIL  "_s) << name;
        if (!r.detail.isEmpty())
            out() << u"："_s << r.detail;
        out() << u'\n' << Qt::flush;
    };
    auto run = [&](const QString &name, const std::function<CheckResult()> &check) {
        CheckResult r;
        try {
            r = check();
        } catch (const DatabaseError &e) {
            r = {false, e.message()};
        }
        report(name, r);
    };

    const QString conn = u"tavimor-db-verify-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    try {
        const QSqlDatabase db = openExisting(url, conn);
        report(u"打开数据库"_s, {true, DatabaseUrl::parse(url).display()});
        run(u"数据表"_s, [&] { return checkTables(db); });
        run(u"计数器 S"_s, [&] { return checkCounter(db, u"S"_s); });
        run(u"计数器 T"_s, [&] { return checkCounter(db, u"T"_s); });
        run(u"公司信息"_s, [&] { return checkCompany(db); });
        run(u"超级管理员"_s, [&] { return checkSuperUser(db); });
        run(u"学生编号计数器"_s, [&] { return checkCounterCoversNumbers(db, u"S"_s, u"客户资料表"_s); });
        run(u"老师编号计数器"_s, [&] { return checkCounterCoversNumbers(db, u"T"_s, u"员工表"_s); });
        run(u"学生编号唯一"_s, [&] { return checkUniqueNumbers(db, u"客户资料表"_s); });
        run(u"老师编号唯一"_s, [&] { return checkUniqueNumbers(db, u"员工表"_s); });
        run(u"完整性检查"_s, [&] { return checkIntegrity(db); });
    } catch (const DatabaseError &e) {
        report(u"打开数据库"_s, {false, e.message()});
        closeDatabase(conn);
        err() << u"tavimor-db verify：%1\n"_s.arg(e.message()) << Qt::flush;
        return Failure;
    }
    closeDatabase(conn);

    if (failures == 0) {
        out() << u"全部检查通过。\n"_s;
        return Success;
    }
    out() << u"%1 项检查没有通过。\n"_s.arg(failures);
    err() << u"tavimor-db verify：%1 项检查没有通过。\n"_s.arg(failures) << Qt::flush;
    return Failure;
}

} // namespace

const Command &verifyCommand()
{
    static const Command command{
        {u"verify"_s,
         u"检查数据库。\n\n检查 15 张数据表，计数器 S 和 T，唯一的公司信息行，超级管理员，计数器不小于已发的最大编号，\n"
         "学生和老师编号不重复，以及数据库引擎自己的完整性检查。全部通过时退出码为 0。"_s,
         {{u"database"_s, u"URL"_s, u"要检查的数据库"_s}}},
        runVerify};
    return command;
}

} // namespace tavimor::cli
