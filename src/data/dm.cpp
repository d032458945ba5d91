#include "dm.h"

#include "database.h"

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

TDM *DM = nullptr;

TDM::TDM(const QString &url, QObject *parent) : QObject(parent), m_url(url)
{
    setObjectName(u"DM"_s);
    m_messages = std::make_unique<ScriptedMessages>();
    Message1 = m_messages.get();

    openDatabase(url, kConnectionName); // throws with the engine's message

    try {
        stu_table = cursor(u"stu_table"_s, u"客户资料表"_s);
        tea_table = cursor(u"tea_table"_s, u"员工表"_s);
        teachrecord_table = cursor(u"teachrecord_table"_s, u"授课记录"_s);
        counter_table = cursor(u"counter_table"_s, u"计数器"_s);
        user_table = cursor(u"user_table"_s, u"用户"_s);
        company_table = cursor(u"company_table"_s, u"公司信息"_s);
        stugrade_table = cursor(u"stugrade_table"_s, u"学生年级"_s);
        teagrade_table = cursor(u"teagrade_table"_s, u"员工年级"_s);
        zhuanye_table = cursor(u"zhuanye_table"_s, u"员工专业"_s);
        zhichen_table = cursor(u"zhichen_table"_s, u"职称"_s);
        province_table = cursor(u"province_table"_s, u"籍贯"_s);
        course_table = cursor(u"course_table"_s, u"课程"_s);
        teachduixiang_table = cursor(u"teachduixiang_table"_s, u"授课对象"_s);
        tuiguangyuan_table = cursor(u"tuiguangyuan_table"_s, u"推广员"_s);
        guwen_table = cursor(u"guwen_table"_s, u"顾问"_s);

        stu_ds = link(u"stu_ds"_s, stu_table);
        tea_ds = link(u"tea_ds"_s, tea_table);
        teachrecord_ds = link(u"teachrecord_ds"_s, teachrecord_table);
        users_ds = link(u"users_ds"_s, user_table);
        company_ds = link(u"company_ds"_s, company_table);
        course_ds = link(u"course_ds"_s, course_table);
        stugrade_ds = link(u"stugrade_ds"_s, stugrade_table);
        teagrade_ds = link(u"teagrade_ds"_s, teagrade_table);
        zhichen_ds = link(u"zhichen_ds"_s, zhichen_table);
        zhuanye_ds = link(u"zhuanye_ds"_s, zhuanye_table);
        tuiguangyuan_ds = link(u"tuiguangyuan_ds"_s, tuiguangyuan_table);
        guwen_ds = link(u"guwen_ds"_s, guwen_table);

        user_query = query(u"user_query"_s);
        stu_query = query(u"stu_query"_s);
        tea_query = query(u"tea_query"_s);
        stugrade_query = query(u"stugrade_query"_s);
        teagrade_query = query(u"teagrade_query"_s);
        zhuanye_query = query(u"zhuanye_query"_s);
        zhichen_query = query(u"zhichen_query"_s);
        course_query = query(u"course_query"_s);
        teachduixiang_query = query(u"teachduixiang_query"_s);

        for (TableCursor *c : std::as_const(m_cursors))
            c->open();
    } catch (...) {
        qDeleteAll(m_cursors);
        m_cursors.clear();
        closeDatabase(kConnectionName);
        throw;
    }
    DM = this;
}

TDM::~TDM()
{
    if (DM == this)
        DM = nullptr;
    for (TableCursor *c : std::as_const(m_cursors))
        c->close();
    qDeleteAll(findChildren<SqlQuery *>(Qt::FindDirectChildrenOnly));
    qDeleteAll(m_cursors);
    m_cursors.clear();
    closeDatabase(kConnectionName);
}

QSqlDatabase TDM::jiajiao_adoc() const
{
    return QSqlDatabase::database(kConnectionName, false);
}

void TDM::setMessages(std::unique_ptr<MessageService> service)
{
    m_messages = std::move(service);
    Message1 = m_messages.get();
}

qint64 TDM::issueNumber(const QString &key)
{
    const qint64 n = tavimor::issueNumber(jiajiao_adoc(), key);
    if (counter_table->isOpen() && counter_table->state() == TableCursor::State::Browse)
        counter_table->refresh();
    return n;
}

TableCursor *TDM::cursor(const QString &objectName, const QString &table)
{
    auto *c = new TableCursor(kConnectionName, table, this);
    c->setObjectName(objectName);
    m_cursors << c;
    return c;
}

DataLink *TDM::link(const QString &objectName, TableCursor *cursor)
{
    auto *l = new DataLink(cursor, this);
    l->setObjectName(objectName);
    return l;
}

SqlQuery *TDM::query(const QString &objectName)
{
    auto *q = new SqlQuery(kConnectionName, this);
    q->setObjectName(objectName);
    return q;
}

} // namespace tavimor
