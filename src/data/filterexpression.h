#pragma once

#include "database.h"
#include "schema.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace tavimor {

// A filter text in the provider's syntax, parsed:
//   condition { " and " condition }
//   condition := column ( "=" | "<>" | ">" | "<" | ">=" | "<=" | "like" ) literal
//   literal   := 'text' (a doubled '' is one quote) | #yyyy-mm-dd# | number
// Only the parsed values ever reach the engine, always as bound parameters.
class FilterExpression
{
public:
    enum class Op { Equal, NotEqual, Greater, Less, GreaterEqual, LessEqual, Like };

    struct Condition {
        QString column;
        Op op = Op::Equal;
        QVariant literal;     // QString, QDate (from #…#) or double
        bool dateLiteral = false;
    };

    struct Sql {
        QString where; // without the WHERE keyword; empty means all rows
        QVariantList values;
    };

    // Throws FilterError with a clear message when the text does not parse or names a column
    // the table does not have. An empty (or blank) text means all rows.
    static FilterExpression parse(const QString &text, const TableDef &table);

    // A value as a literal of the filter text: in quotes, a quote inside doubled. Whatever the
    // value holds, it stays one value.
    static QString quoted(const QString &value);

    bool isEmpty() const { return m_conditions.isEmpty(); }
    const QList<Condition> &conditions() const { return m_conditions; }
    Sql toSql(const SqlDialect &dialect) const;

private:
    QList<Condition> m_conditions;
    const TableDef *m_table = nullptr;
};

} // namespace tavimor
