#pragma once

#include "dm.h"
#include "messages.h"
#include "testdb.h"

#include <QVariantMap>

class QWidget;
#include <memory>

namespace tavimor::test {

// A fresh seeded database with the data module open on it and scripted message boxes.
struct Fixture {
    explicit Fixture(TestDatabase::Engine engine = TestDatabase::Engine::SQLite);
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TDM> dm;
    ScriptedMessages *messages = nullptr;

    // Appends a student through the cursor and posts it; the cursor stands on it afterwards.
    void addStudent(const QVariantMap &values);
    // A column of the student with that 编号, read from the database on another connection.
    QVariant stored(const QString &number, const QString &column) const;
};

// Types the text into w key by key; unlike QTest::keyClicks it also takes Chinese characters.
// "\b" is Backspace, "\n" Return.
void typeText(QWidget *w, const QString &text);

} // namespace tavimor::test
