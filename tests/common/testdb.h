#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace tavimor::test {

// A fresh database made by the same code as `tavimor-db init`, dropped when the object dies.
// SQLite: a file in a temporary folder. PostgreSQL: a new database on the server named by
// TAVIMOR_TEST_PG (postgresql://user:pw@host:port/db), created and dropped around the test.
class TestDatabase
{
public:
    enum class Engine { SQLite, PostgreSQL };
    // What the new database holds: tables and seed rows, tables only, or nothing at all (SQLite:
    // the file does not exist yet; PostgreSQL: an empty database), e.g. for `tavimor-db init`.
    enum class Content { Seeded, TablesOnly, Nothing };
    static constexpr const char *kAdminPassword = "admin-pw";

    explicit TestDatabase(Engine engine = Engine::SQLite, Content content = Content::Seeded);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    QString url() const { return m_url; }
    Engine engine() const { return m_engine; }

    // The engines the data-layer tests run on: SQLite always, PostgreSQL when TAVIMOR_TEST_PG is set.
    static QList<Engine> engines();
    static QString engineName(Engine e) { return e == Engine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgresql"); }

    // Runs one statement on its own short-lived connection (for checks "from another program").
    void exec(const QString &sql, const QVariantList &values = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &values = {}) const;

private:
    Engine m_engine;
    QString m_url;
    QString m_pgAdminUrl;
    QString m_pgDbName;
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace tavimor::test
