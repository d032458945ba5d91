#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

namespace tavimor {

class SqlQuery;
class TableCursor;

// The lookup lists (subjects, grades, targets, ...): one text column per table, no duplicates.

// The values of column over every row of table, first to last (the cursor does not move).
QStringList lookupValues(const TableCursor *table, const QString &column);

// Adds value to table unless query finds it there: "select * from <table> where <column> = ?"
// with the value bound, then a new row appended to the cursor and posted. Returns true when a
// row was added. A failed post is undone (nothing stays pending) and its DatabaseError goes on.
bool addLookupValue(SqlQuery *query, TableCursor *table, const QString &column, const QString &value);

// Replaces the items of list with items. A data-aware list keeps showing (and holding) the value
// of its record.
void refillItems(QComboBox *list, const QStringList &items);

} // namespace tavimor
