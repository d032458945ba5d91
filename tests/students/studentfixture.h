#pragma once

#include "dm.h"
#include "messages.h"
#include "testdb.h"

#include <QString>
#include <QVariantMap>
#include <memory>

class QWidget;

namespace tavimor::test {

// A fresh seeded database, the data module on it with scripted message boxes, and the windows of
// the student records created as start-up creates them (the editor only when asked). Everything
// is destroyed in reverse order.
struct StudentFixture {
    explicit StudentFixture(TestDatabase::Engine engine, bool withEditor = true);
    ~StudentFixture();

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TDM> dm;
    ScriptedMessages *messages = nullptr;

    // Appends a student through the register cursor and posts it.
    void addStudent(const QVariantMap &values);
    // Appends value to a one-column lookup table through its cursor.
    static void addLookup(TableCursor *table, const QString &column, const QString &value);

    // Rows of a table, counted in the database on another connection.
    int count(const QString &table, const QString &where = QString(), const QVariantList &values = {}) const;
    // A column of the first matching row, read on another connection.
    QVariant stored(const QString &table, const QString &column, const QString &where,
                    const QVariantList &values = {}) const;
    qint64 counter(const QString &key) const;
};

// Types text into w as key presses carrying the characters (Chinese included), the way an input
// method delivers them. Enter and Tab are not typed.
void typeText(QWidget *w, const QString &text);
// Moves the keyboard focus into w's window and onto w.
void focusOn(QWidget *w);

} // namespace tavimor::test
