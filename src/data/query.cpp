#include "query.h"

#include "database.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace tavimor {

SqlQuery::SqlQuery(const QString &connectionName, QObject *parent) : QObject(parent), m_connection(connectionName) {}

void SqlQuery::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_rows.clear();
    m_columns.clear();
    emit changed();
}

void SqlQuery::open(const QString &sql, const QVariantList &values)
{
    close();
    m_sql = sql;
    QSqlQuery q = execute(QSqlDatabase::database(m_connection, false), sql, values);
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        m_columns << rec.fieldName(i);
    while (q.next()) {
        QVector<QVariant> row(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row[i] = q.value(i);
        m_rows << row;
    }
    m_open = true;
    emit changed();
}

QVariant SqlQuery::valueAt(int row, const QString &column) const
{
    return valueAt(row, int(m_columns.indexOf(column)));
}

QVariant SqlQuery::valueAt(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return {};
    return m_rows.at(row).at(column);
}

} // namespace tavimor
