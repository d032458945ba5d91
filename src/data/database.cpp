#include "database.h"

#include "errors.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>
#include <QUrl>

#include <sodium.h>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

DatabaseUrl DatabaseUrl::parse(const QString &url)
{
    DatabaseUrl d;
    if (url.startsWith(u"postgresql://"_s) || url.startsWith(u"postgres://"_s)) {
        const QUrl u(url, QUrl::StrictMode);
        if (!u.isValid() || u.host().isEmpty())
            throw DatabaseError(u"数据库地址无效: "_s + url);
        d.engine = Engine::PostgreSQL;
        d.host = u.host();
        d.port = u.port(5432);
        d.user = u.userName();
        d.password = u.password();
        d.dbname = u.path().mid(1);
        if (d.dbname.isEmpty())
            throw DatabaseError(u"数据库地址缺少数据库名: "_s + url);
        return d;
    }
    if (url.isEmpty())
        throw DatabaseError(u"没有给出数据库位置"_s);
    d.engine = Engine::SQLite;
    d.path = url.startsWith(u"file://"_s) ? QUrl(url).toLocalFile() : url;
    return d;
}

QString DatabaseUrl::display() const
{
    if (engine == Engine::SQLite)
        return QDir::toNativeSeparators(path);
    return u"postgresql://%1@%2:%3/%4"_s.arg(user, host).arg(port).arg(dbname);
}

QString defaultDatabasePath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + u"/.local/share"_s;
    return base + u"/客户管理系统数据库/jiajiao.db"_s;
}

QString resolveDatabaseUrl(QStringList &args)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == u"--database"_s) {
            if (i + 1 >= args.size())
                throw DatabaseError(u"--database 后面缺少数据库地址"_s);
            const QString url = args.at(i + 1);
            args.remove(i, 2);
            return url;
        }
        if (a.startsWith(u"--database="_s)) {
            const QString url = a.mid(11);
            args.remove(i);
            return url;
        }
    }
    const QString env = qEnvironmentVariable("TAVIMOR_DATABASE");
    if (!env.isEmpty())
        return env;
    return defaultDatabasePath();
}

// ---------------------------------------------------------------------------------------------

SqlDialect SqlDialect::of(const QSqlDatabase &db)
{
    return SqlDialect(db.driverName() == u"QPSQL"_s ? Engine::PostgreSQL : Engine::SQLite);
}

QString SqlDialect::quote(const QString &identifier)
{
    QString q = identifier;
    q.replace(u'"', u"\"\""_s);
    return u'"' + q + u'"';
}

QString SqlDialect::columnType(ColumnKind kind) const
{
    const bool pg = m_engine == Engine::PostgreSQL;
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::Digits:
    case ColumnKind::ListText:
    case ColumnKind::Memo:
        return u"TEXT"_s;
    case ColumnKind::Date:
        return pg ? u"DATE"_s : u"TEXT"_s;
    case ColumnKind::Currency:
        return pg ? u"NUMERIC(19,4)"_s : u"NUMERIC"_s;
    case ColumnKind::Integer:
        return pg ? u"BIGINT"_s : u"INTEGER"_s;
    case ColumnKind::YesNo:
        return pg ? u"BOOLEAN"_s : u"INTEGER"_s;
    }
    return u"TEXT"_s;
}

QString SqlDialect::keyColumnDecl() const
{
    return m_engine == Engine::PostgreSQL ? u"tv_id BIGSERIAL PRIMARY KEY"_s
                                          : u"tv_id INTEGER PRIMARY KEY AUTOINCREMENT"_s;
}

QString SqlDialect::dayOf(const QString &quotedColumn) const
{
    return m_engine == Engine::PostgreSQL ? quotedColumn : u"date("_s + quotedColumn + u')';
}

static QDate asDate(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString s = v.toString().trimmed();
    if (s.isEmpty())
        return {};
    QDate d = QDate::fromString(s.left(10), Qt::ISODate);
    if (!d.isValid())
        d = QDate::fromString(s, u"yyyy/M/d"_s);
    return d;
}

QVariant SqlDialect::toStorage(ColumnKind kind, const QVariant &value) const
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    const bool pg = m_engine == Engine::PostgreSQL;
    switch (kind) {
    case ColumnKind::Date: {
        const QDate d = asDate(value);
        if (!d.isValid()) {
            if (value.toString().trimmed().isEmpty())
                return QVariant();
            throw DatabaseError(u"日期格式不正确: "_s + value.toString());
        }
        return pg ? QVariant(d) : QVariant(d.toString(Qt::ISODate));
    }
    case ColumnKind::YesNo: {
        bool b = value.toBool();
        if (value.metaType().id() == QMetaType::QString)
            b = value.toString().compare(u"true"_s, Qt::CaseInsensitive) == 0 || value.toString() == u"1"_s;
        return pg ? QVariant(b) : QVariant(b ? 1 : 0);
    }
    case ColumnKind::Currency: {
        if (value.toString().trimmed().isEmpty())
            return QVariant();
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw DatabaseError(u"金额格式不正确: "_s + value.toString());
        return d;
    }
    case ColumnKind::Integer: {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok)
            throw DatabaseError(u"整数格式不正确: "_s + value.toString());
        return n;
    }
    default:
        return value.toString();
    }
}

QVariant SqlDialect::fromStorage(ColumnKind kind, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    switch (kind) {
    case ColumnKind::Date: {
        const QDate d = asDate(value);
        return d.isValid() ? QVariant(d) : QVariant(value.toString());
    }
    case ColumnKind::YesNo:
        if (value.metaType().id() == QMetaType::QString)
            return value.toString().compare(u"true"_s, Qt::CaseInsensitive) == 0 || value.toString() == u"1"_s;
        return value.toBool();
    case ColumnKind::Currency:
        return value.toDouble();
    case ColumnKind::Integer:
        return value.toLongLong();
    default:
        return value.toString();
    }
}

// ---------------------------------------------------------------------------------------------

static QString engineMessage(const QSqlError &e)
{
    QString m = e.databaseText().trimmed();
    const QString d = e.driverText().trimmed();
    if (m.isEmpty())
        m = d;
    else if (!d.isEmpty() && !m.contains(d))
        m = d + u": "_s + m;
    return m.isEmpty() ? u"数据库错误"_s : m;
}

QSqlDatabase openDatabase(const QString &urlText, const QString &connectionName)
{
    const DatabaseUrl url = DatabaseUrl::parse(urlText);
    if (QSqlDatabase::contains(connectionName))
        closeDatabase(connectionName);

    if (url.engine == Engine::SQLite) {
        const QFileInfo fi(url.path);
        if (!fi.exists())
            throw DatabaseError(u"找不到数据库文件 %1。请先用 tavimor-db init 建立数据库。"_s.arg(url.display()));
        if (!fi.isFile())
            throw DatabaseError(u"%1 不是数据库文件。"_s.arg(url.display()));
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName);
        db.setDatabaseName(fi.absoluteFilePath());
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=10000"_s);
        if (!db.open()) {
            const QString m = engineMessage(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw DatabaseError(m);
        }
        try {
            // Fails with "file is not a database" on anything that is not one.
            execute(db, u"SELECT count(*) FROM sqlite_master"_s);
            QSqlQuery q = execute(db, u"PRAGMA journal_mode=WAL"_s);
            execute(db, u"PRAGMA foreign_keys=OFF"_s);
        } catch (const DatabaseError &e) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw DatabaseError(url.display() + u": "_s + e.message());
        }
        return db;
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, connectionName);
    db.setHostName(url.host);
    db.setPort(url.port);
    db.setUserName(url.user);
    db.setPassword(url.password);
    db.setDatabaseName(url.dbname);
    db.setConnectOptions(u"connect_timeout=10"_s);
    if (!db.open()) {
        const QString m = engineMessage(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DatabaseError(m);
    }
    execute(db, u"SET client_min_messages TO WARNING"_s);
    return db;
}

void closeDatabase(const QString &connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QSqlQuery execute(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (values.isEmpty()) {
        // Fixed text with nothing to bind (DDL, SET, CREATE DATABASE cannot be prepared everywhere).
        if (!q.exec(sql))
            throw DatabaseError(engineMessage(q.lastError()));
        return q;
    }
    if (!q.prepare(sql))
        throw DatabaseError(engineMessage(q.lastError()));
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw DatabaseError(engineMessage(q.lastError()));
    return q;
}

Transaction::Transaction(const QSqlDatabase &db) : m_db(db)
{
    if (SqlDialect::of(db).engine() == Engine::SQLite) {
        QSqlQuery q(m_db);
        if (!q.exec(u"BEGIN IMMEDIATE"_s))
            throw DatabaseError(engineMessage(q.lastError()));
    } else if (!m_db.transaction()) {
        throw DatabaseError(engineMessage(m_db.lastError()));
    }
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    if (SqlDialect::of(m_db).engine() == Engine::SQLite) {
        QSqlQuery q(m_db);
        q.exec(u"ROLLBACK"_s);
    } else {
        m_db.rollback();
    }
}

void Transaction::commit()
{
    if (!m_open)
        return;
    if (SqlDialect::of(m_db).engine() == Engine::SQLite) {
        QSqlQuery q(m_db);
        if (!q.exec(u"COMMIT"_s))
            throw DatabaseError(engineMessage(q.lastError()));
    } else if (!m_db.commit()) {
        throw DatabaseError(engineMessage(m_db.lastError()));
    }
    m_open = false;
}

qint64 issueNumber(const QSqlDatabase &db, const QString &key)
{
    // A counter without a number stays as it is (null + 1 is null) and is reported.
    QSqlQuery q = execute(db, u"UPDATE \"计数器\" SET \"值\" = \"值\" + 1 WHERE \"编号\" = ? RETURNING \"值\""_s, {key});
    if (!q.next())
        throw DatabaseError(u"编号计数器“%1”不存在，无法分配新编号。请联系管理员检查数据库。"_s.arg(key));
    const QVariant v = q.value(0);
    q.finish();
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (v.isNull() || !ok)
        throw DatabaseError(u"编号计数器“%1”没有有效的数值，无法分配新编号。请联系管理员检查数据库。"_s.arg(key));
    return n;
}

QString hashPassword(const QString &password)
{
    if (sodium_init() < 0)
        throw DatabaseError(u"无法初始化密码库"_s);
    const QByteArray pw = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, pw.constData(), static_cast<unsigned long long>(pw.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw DatabaseError(u"内存不足，无法计算密码散列"_s);
    return QString::fromLatin1(out);
}

bool verifyPassword(const QString &storedHash, const QString &password)
{
    if (storedHash.isEmpty() || sodium_init() < 0)
        return false;
    const QByteArray h = storedHash.toLatin1();
    if (h.size() >= crypto_pwhash_STRBYTES)
        return false;
    char buf[crypto_pwhash_STRBYTES] = {};
    memcpy(buf, h.constData(), static_cast<size_t>(h.size()));
    const QByteArray pw = password.toUtf8();
    return crypto_pwhash_str_verify(buf, pw.constData(), static_cast<unsigned long long>(pw.size())) == 0;
}

} // namespace tavimor
