#include "dbinit.h"

#include "database.h"
#include "errors.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

bool hasSchema(const QSqlDatabase &db)
{
    const QStringList tables = db.tables();
    for (const TableDef &t : schemaTables())
        if (tables.contains(t.name))
            return true;
    return false;
}

void createSchema(const QSqlDatabase &db)
{
    const SqlDialect d = SqlDialect::of(db);
    Transaction tx(db);
    for (const TableDef &t : schemaTables()) {
        QString sql = u"CREATE TABLE "_s + SqlDialect::quote(t.name) + u" (\n  "_s + d.keyColumnDecl() +
                      u",\n  tv_version BIGINT NOT NULL DEFAULT 1"_s;
        for (const ColumnDef &c : t.columns)
            sql += u",\n  "_s + SqlDialect::quote(c.name) + u' ' + d.columnType(c.kind);
        sql += u"\n)"_s;
        execute(db, sql);
    }
    // Look-ups the program runs by value.
    const QList<QPair<QString, QString>> indexes = {
        {u"客户资料表"_s, u"学生姓名"_s}, {u"员工表"_s, u"姓名"_s},       {u"授课记录"_s, u"学生编号"_s},
        {u"授课记录"_s, u"老师编号"_s},   {u"计数器"_s, u"编号"_s},       {u"用户"_s, u"用户名"_s},
        {u"课程"_s, u"名称"_s},           {u"学生年级"_s, u"学生年级"_s}, {u"员工年级"_s, u"年级"_s},
        {u"员工专业"_s, u"专业"_s},       {u"职称"_s, u"职称"_s},         {u"授课对象"_s, u"对象"_s},
    };
    int n = 0;
    for (const auto &[table, column] : indexes)
        execute(db, u"CREATE INDEX "_s + SqlDialect::quote(u"ix%1_"_s.arg(++n) + table + u'_' + column) + u" ON "_s +
                        SqlDialect::quote(table) + u" ("_s + SqlDialect::quote(column) + u')');
    tx.commit();
}

QStringList starterRows(const QString &table)
{
    if (table == u"籍贯"_s)
        return provinces();
    if (table == u"学生年级"_s)
        return {u"学前班"_s, u"一年级"_s, u"二年级"_s, u"三年级"_s, u"四年级"_s, u"五年级"_s, u"六年级"_s,
                u"初一"_s,   u"初二"_s,   u"初三"_s,   u"高一"_s,   u"高二"_s,   u"高三"_s};
    if (table == u"员工年级"_s)
        return {u"大一"_s, u"大二"_s, u"大三"_s, u"大四"_s, u"研一"_s, u"研二"_s, u"研三"_s, u"博士"_s, u"已毕业"_s};
    if (table == u"员工专业"_s)
        return {u"数学"_s, u"物理"_s, u"化学"_s, u"生物"_s, u"汉语言文学"_s, u"英语"_s, u"历史"_s, u"地理"_s,
                u"计算机科学"_s, u"师范教育"_s, u"音乐"_s, u"美术"_s};
    if (table == u"职称"_s)
        return {u"工人"_s, u"教师"_s, u"工程师"_s, u"医生"_s, u"会计"_s, u"公务员"_s, u"经理"_s, u"个体经营"_s, u"退休"_s};
    if (table == u"课程"_s)
        return {u"语文"_s, u"数学"_s, u"英语"_s, u"物理"_s, u"化学"_s, u"生物"_s, u"历史"_s, u"地理"_s,
                u"政治"_s, u"作文"_s, u"奥数"_s, u"钢琴"_s, u"美术"_s};
    if (table == u"授课对象"_s)
        return {u"学龄前儿童"_s, u"小学生"_s, u"初中生"_s, u"高中生"_s, u"艺术特长生"_s, u"成人"_s};
    return {};
}

void seedDatabase(const QSqlDatabase &db, const QString &adminPassword)
{
    const SqlDialect d = SqlDialect::of(db);
    const QString hash = hashPassword(adminPassword);
    Transaction tx(db);
    execute(db, u"INSERT INTO \"计数器\" (\"编号\", \"值\") VALUES ('S', 0), ('T', 0)"_s);
    execute(db,
            u"INSERT INTO \"公司信息\" (\"公司名称\", \"公司地址\", \"公司电话\", \"联系人\", \"传真\", \"网站\", \"公司简介\") "
            "VALUES (?, ?, ?, ?, ?, ?, ?)"_s,
            {u"家教服务中心"_s, u"（请填写公司地址）"_s, u"01000000000"_s, u"管理员"_s, QString(), QString(),
             u"本公司为家庭提供一对一上门家教服务。请在“公司信息修改”中填写本公司的简介。"_s});

    QString cols = u"\"用户名\", \"密码\""_s, marks = u"?, ?"_s;
    QVariantList values{kSuperUser, hash};
    for (const QString &p : permissionColumns()) {
        cols += u", "_s + SqlDialect::quote(p);
        marks += u", ?"_s;
        values << d.toStorage(ColumnKind::YesNo, true);
    }
    execute(db, u"INSERT INTO \"用户\" ("_s + cols + u") VALUES ("_s + marks + u')', values);

    for (const TableDef &t : schemaTables()) {
        if (t.columns.size() != 1)
            continue;
        const QString sql = u"INSERT INTO "_s + SqlDialect::quote(t.name) + u" ("_s +
                            SqlDialect::quote(t.columns.first().name) + u") VALUES (?)"_s;
        for (const QString &v : starterRows(t.name))
            execute(db, sql, {v});
    }
    tx.commit();
}

void initDatabase(const QString &url, const QString &adminPassword)
{
    const DatabaseUrl u = DatabaseUrl::parse(url);
    const QString conn = u"tavimor-init-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool createdFile = false;
    if (u.engine == Engine::SQLite) {
        const QFileInfo fi(u.path);
        if (fi.exists())
            throw DatabaseError(u"%1 已经存在，init 不会改动已有的数据库。"_s.arg(u.display()));
        QDir dir = fi.absoluteDir();
        if (!dir.exists()) {
            if (!QDir().mkpath(dir.absolutePath()))
                throw DatabaseError(u"无法建立目录 %1"_s.arg(dir.absolutePath()));
            QFile::setPermissions(dir.absolutePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
        }
        QFile f(fi.absoluteFilePath());
        if (!f.open(QIODevice::NewOnly | QIODevice::WriteOnly))
            throw DatabaseError(u"无法建立数据库文件 %1: %2"_s.arg(u.display(), f.errorString()));
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        createdFile = true;
    }
    try {
        {
            QSqlDatabase db = openDatabase(url, conn);
            if (hasSchema(db))
                throw DatabaseError(u"%1 中已经有数据表，init 不会改动已有的数据库。"_s.arg(u.display()));
            createSchema(db);
            seedDatabase(db, adminPassword);
        }
        closeDatabase(conn);
    } catch (...) {
        closeDatabase(conn);
        if (createdFile) {
            QFile::remove(u.path);
            QFile::remove(u.path + u"-wal"_s);
            QFile::remove(u.path + u"-shm"_s);
        }
        throw;
    }
}

} // namespace tavimor
