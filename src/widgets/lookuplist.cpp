#include "lookuplist.h"

#include "database.h"
#include "errors.h"
#include "query.h"
#include "tablecursor.h"

#include <QComboBox>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

QStringList lookupValues(const TableCursor *table, const QString &column)
{
    const int c = table->columnIndex(column);
    if (c < 0)
        throw DatabaseError(u"表“%1”中没有列“%2”"_s.arg(table->tableName(), column));
    QStringList values;
    const int n = table->recordCount();
    values.reserve(n);
    for (int row = 0; row < n; ++row)
        values << table->valueAt(row, c).toString();
    return values;
}

bool addLookupValue(SqlQuery *query, TableCursor *table, const QString &column, const QString &value)
{
    query->close();
    query->open(u"select * from "_s + SqlDialect::quote(table->tableName()) + u" where "_s +
                    SqlDialect::quote(column) + u" = ?"_s,
                {value});
    if (!query->isEmpty())
        return false;
    table->append();
    try {
        table->setValue(column, value);
        table->post();
    } catch (...) {
        table->cancel();
        throw;
    }
    return true;
}

void refillItems(QComboBox *list, const QStringList &items)
{
    list->clear();
    list->addItems(items);
}

} // namespace tavimor
