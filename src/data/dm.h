#pragma once

#include "datalink.h"
#include "messages.h"
#include "query.h"
#include "tablecursor.h"

#include <QObject>
#include <memory>

namespace tavimor {

// The data module: the one connection, a cursor over each of the fifteen tables, the data links,
// the look-up queries and the message service every window talks through.
class TDM : public QObject
{
    Q_OBJECT
public:
    static inline const QString kConnectionName = QStringLiteral("jiajiao_adoc");

    // Opens the database at url and every cursor on its whole table. Throws DatabaseError.
    explicit TDM(const QString &url, QObject *parent = nullptr);
    ~TDM() override;

    QSqlDatabase jiajiao_adoc() const;
    QString url() const { return m_url; }

    // Message1: the message service. The data module owns it; the application replaces the
    // default (scripted) one with the Qt boxes, tests with their own script.
    MessageService *Message1 = nullptr;
    void setMessages(std::unique_ptr<MessageService> service);

    // Takes the next number of counter "S" or "T" in one atomic statement.
    qint64 issueNumber(const QString &key);

    // The fifteen cursors.
    TableCursor *stu_table, *tea_table, *teachrecord_table, *counter_table, *user_table, *company_table,
        *stugrade_table, *teagrade_table, *zhuanye_table, *zhichen_table, *province_table, *course_table,
        *teachduixiang_table, *tuiguangyuan_table, *guwen_table;

    // The data links.
    DataLink *stu_ds, *tea_ds, *teachrecord_ds, *users_ds, *company_ds, *course_ds, *stugrade_ds, *teagrade_ds,
        *zhichen_ds, *zhuanye_ds, *tuiguangyuan_ds, *guwen_ds;

    // The look-up queries (closed until used).
    SqlQuery *user_query, *stu_query, *tea_query, *stugrade_query, *teagrade_query, *zhuanye_query,
        *zhichen_query, *course_query, *teachduixiang_query;

    QList<TableCursor *> cursors() const { return m_cursors; }

private:
    TableCursor *cursor(const QString &objectName, const QString &table);
    DataLink *link(const QString &objectName, TableCursor *cursor);
    SqlQuery *query(const QString &objectName);

    QString m_url;
    std::unique_ptr<MessageService> m_messages;
    QList<TableCursor *> m_cursors;
};

// The one data module of the running program (set while a TDM exists).
extern TDM *DM;

} // namespace tavimor
