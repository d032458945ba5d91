#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavimor {

// The kinds of column the program's controls and code rely on.
enum class ColumnKind { Text, Digits, ListText, Memo, Date, Currency, Integer, YesNo };

struct ColumnDef {
    QString name;
    ColumnKind kind;
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns;

    int indexOf(const QString &column) const;
    QStringList columnNames() const;
};

// Hidden columns every table carries: a surrogate key and a row version. Never shown.
inline constexpr const char *kKeyColumn = "tv_id";
inline constexpr const char *kVersionColumn = "tv_version";

// The fifteen tables in a fixed order; columns in their stored order.
const QList<TableDef> &schemaTables();
// The table of that name; throws DatabaseError when there is none.
const TableDef &tableDef(const QString &name);

// The fixed lists of the schema.
QStringList provinces();                 // 籍贯: China's 34 provincial-level divisions
QStringList educationLevels();           // 父亲/母亲文化程度
QStringList priceLevels();               // 价格要求
QStringList scoreGrades();               // 得分
QStringList familyRelations();           // 成员n称呼

// Permission columns of 用户, in stored order.
QStringList permissionColumns();

inline const QString kSuperUser = QStringLiteral("超级管理员");

} // namespace tavimor
