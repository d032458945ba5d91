#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace tavimor {

// What `tavimor-db init` and the tests' fixtures use to bring a database into being.

// True when the database already holds any of our tables.
bool hasSchema(const QSqlDatabase &db);
// Creates the fifteen tables (with the hidden key and version columns) and their indexes.
void createSchema(const QSqlDatabase &db);
// Writes the seed rows: counters, company row, the super user with every permission,
// the native-place list and the starter lookup lists.
void seedDatabase(const QSqlDatabase &db, const QString &adminPassword);

// Creates a new database at url (a SQLite file that must not exist yet, or an empty PostgreSQL
// database) with schema and seed rows. Throws DatabaseError; never touches an existing database.
void initDatabase(const QString &url, const QString &adminPassword);

// Starter rows of the lookup lists, keyed by table.
QStringList starterRows(const QString &table);

} // namespace tavimor
