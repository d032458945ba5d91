#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace tavimor {

// A small look-up query: close, set the statement, open with bound values, read the count or the
// columns of the first row. The result is read into memory (look-ups return few rows).
class SqlQuery : public QObject
{
    Q_OBJECT
public:
    SqlQuery(const QString &connectionName, QObject *parent = nullptr);

    void close();
    // Runs the statement with its bound values; throws DatabaseError.
    void open(const QString &sql, const QVariantList &values = {});
    bool isOpen() const { return m_open; }
    QString statement() const { return m_sql; }

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    QStringList columnNames() const { return m_columns; }
    // Column of the first row; null when there is no row.
    QVariant value(const QString &column) const { return valueAt(0, column); }
    QVariant valueAt(int row, const QString &column) const;
    QVariant valueAt(int row, int column) const;

signals:
    void changed();

private:
    QString m_connection;
    QString m_sql;
    bool m_open = false;
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
};

} // namespace tavimor
