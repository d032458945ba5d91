#include "testdb.h"

#include "database.h"
#include "dbinit.h"
#include "errors.h"

#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::test {

static QString uniqueConnection()
{
    return u"test-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

TestDatabase::TestDatabase(Engine engine, Content content) : m_engine(engine)
{
    if (engine == Engine::SQLite) {
        m_dir = std::make_unique<QTemporaryDir>();
        m_url = m_dir->filePath(u"jiajiao.db"_s);
    } else {
        m_pgAdminUrl = qEnvironmentVariable("TAVIMOR_TEST_PG");
        if (m_pgAdminUrl.isEmpty())
            throw DatabaseError(u"TAVIMOR_TEST_PG is not set"_s);
        m_pgDbName = u"tv_test_"_s + QUuid::createUuid().toString(QUuid::Id128).left(16);
        const QString conn = uniqueConnection();
        { execute(openDatabase(m_pgAdminUrl, conn), u"CREATE DATABASE "_s + m_pgDbName); }
        closeDatabase(conn);
        QUrl u(m_pgAdminUrl);
        u.setPath(u'/' + m_pgDbName);
        m_url = u.toString();
    }
    switch (content) {
    case Content::Seeded:
        initDatabase(m_url, QString::fromLatin1(kAdminPassword));
        break;
    case Content::TablesOnly: {
        if (engine == Engine::SQLite) {
            QFile f(m_url);
            f.open(QIODevice::WriteOnly);
        }
        const QString conn = uniqueConnection();
        { createSchema(openDatabase(m_url, conn)); }
        closeDatabase(conn);
        break;
    }
    case Content::Nothing:
        break;
    }
}

TestDatabase::~TestDatabase()
{
    if (m_engine == Engine::PostgreSQL && !m_pgDbName.isEmpty()) {
        try {
            const QString conn = uniqueConnection();
            { execute(openDatabase(m_pgAdminUrl, conn), u"DROP DATABASE IF EXISTS "_s + m_pgDbName + u" WITH (FORCE)"_s); }
            closeDatabase(conn);
        } catch (const DatabaseError &e) {
            qWarning("could not drop test database: %s", e.what());
        }
    }
}

QList<TestDatabase::Engine> TestDatabase::engines()
{
    QList<Engine> e{Engine::SQLite};
    if (!qEnvironmentVariable("TAVIMOR_TEST_PG").isEmpty())
        e << Engine::PostgreSQL;
    return e;
}

void TestDatabase::exec(const QString &sql, const QVariantList &values) const
{
    const QString conn = uniqueConnection();
    { execute(openDatabase(m_url, conn), sql, values); }
    closeDatabase(conn);
}

QVariant TestDatabase::scalar(const QString &sql, const QVariantList &values) const
{
    const QString conn = uniqueConnection();
    QVariant v;
    {
        QSqlQuery q = execute(openDatabase(m_url, conn), sql, values);
        if (q.next())
            v = q.value(0);
    }
    closeDatabase(conn);
    return v;
}

} // namespace tavimor::test
