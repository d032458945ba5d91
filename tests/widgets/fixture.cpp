#include "fixture.h"

#include "database.h"
#include "schema.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::test {

Fixture::Fixture(TestDatabase::Engine engine)
{
    db = std::make_unique<TestDatabase>(engine);
    dm = std::make_unique<TDM>(db->url());
    auto scripted = std::make_unique<ScriptedMessages>();
    messages = scripted.get();
    dm->setMessages(std::move(scripted));
}

void Fixture::addStudent(const QVariantMap &values)
{
    dm->stu_table->append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        dm->stu_table->setValue(it.key(), it.value());
    dm->stu_table->post();
}

QVariant Fixture::stored(const QString &number, const QString &column) const
{
    const QString sql = u"SELECT "_s + SqlDialect::quote(column) + u" FROM \"客户资料表\" WHERE \"编号\" = ?"_s;
    const ColumnKind kind = tableDef(u"客户资料表"_s).columns.at(tableDef(u"客户资料表"_s).indexOf(column)).kind;
    return SqlDialect::fromStorage(kind, db->scalar(sql, {number}));
}

void typeText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace tavimor::test
