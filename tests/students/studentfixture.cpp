#include "studentfixture.h"

#include "database.h"
#include "students/editstu_form.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::test {

// The offscreen platform says for every fixed-size window that it cannot pass on size hints.
static void quietOffscreenNotes()
{
    static QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (message.contains(u"does not support propagateSizeHints"_s))
                return;
            previous(type, context, message);
        });
}

StudentFixture::StudentFixture(TestDatabase::Engine engine, bool withEditor)
{
    quietOffscreenNotes();
    db = std::make_unique<TestDatabase>(engine);
    dm = std::make_unique<TDM>(db->url());
    auto scripted = std::make_unique<ScriptedMessages>();
    messages = scripted.get();
    dm->setMessages(std::move(scripted));
    // Start-up's order: the editor, then the three pop-ups.
    if (withEditor)
        editstu_form = new Teditstu_form;
    selecttime_form = new Tselecttime_form;
    selectduixiang_form = new Tselectduixiang_form;
    selectcourse_form = new Tselectcourse_form;
}

StudentFixture::~StudentFixture()
{
    delete selectcourse_form;
    delete selectduixiang_form;
    delete selecttime_form;
    delete editstu_form;
    selectcourse_form = nullptr;
    selectduixiang_form = nullptr;
    selecttime_form = nullptr;
    editstu_form = nullptr;
    dm.reset();
}

void StudentFixture::addStudent(const QVariantMap &values)
{
    dm->stu_table->append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        dm->stu_table->setValue(it.key(), it.value());
    dm->stu_table->post();
}

void StudentFixture::addLookup(TableCursor *table, const QString &column, const QString &value)
{
    table->append();
    table->setValue(column, value);
    table->post();
}

int StudentFixture::count(const QString &table, const QString &where, const QVariantList &values) const
{
    QString sql = u"SELECT COUNT(*) FROM "_s + SqlDialect::quote(table);
    if (!where.isEmpty())
        sql += u" WHERE "_s + where;
    return db->scalar(sql, values).toInt();
}

QVariant StudentFixture::stored(const QString &table, const QString &column, const QString &where,
                                const QVariantList &values) const
{
    return db->scalar(u"SELECT "_s + SqlDialect::quote(column) + u" FROM "_s + SqlDialect::quote(table) +
                          u" WHERE "_s + where,
                      values);
}

qint64 StudentFixture::counter(const QString &key) const
{
    return db->scalar(u"SELECT \"值\" FROM \"计数器\" WHERE \"编号\" = ?"_s, {key}).toLongLong();
}

void typeText(QWidget *w, const QString &text)
{
    if (auto *cb = qobject_cast<QComboBox *>(w); cb && cb->lineEdit())
        w = cb->lineEdit();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void focusOn(QWidget *w)
{
    QWidget *window = w->window();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    (void)QTest::qWaitForWindowActive(window);
    w->setFocus(Qt::OtherFocusReason);
}

} // namespace tavimor::test
