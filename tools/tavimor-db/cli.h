#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <exception>

namespace tavimor::cli {

// Exit codes of every command.
enum ExitCode { Success = 0, Failure = 1, UsageFailure = 2 };

// A command line that does not follow the usage. Reported with the command's usage.
class UsageError : public std::exception
{
public:
    explicit UsageError(QString message) : m_message(std::move(message)) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return "usage error"; }

private:
    QString m_message;
};

struct OptionSyntax {
    QString name;      // without the leading dashes
    QString valueName; // every option takes a value
    QString help;
    bool required = false;
};

struct CommandSyntax {
    QString name;
    QString summary;
    QList<OptionSyntax> options;
};

class Options
{
public:
    bool has(const QString &name) const { return m_values.contains(name); }
    QString value(const QString &name) const { return m_values.value(name); }
    // A whole number option in [min, max]; `fallback` when the option is absent.
    qint64 integer(const QString &name, qint64 min, qint64 max, qint64 fallback) const;
    quint64 unsignedInteger(const QString &name, quint64 fallback) const;
    bool helpRequested() const { return m_help; }

    // The database to work on: --database, else TAVIMOR_DATABASE, else the default file.
    QString databaseUrl() const;

private:
    friend Options parseOptions(const CommandSyntax &syntax, const QStringList &args);
    QHash<QString, QString> m_values;
    bool m_help = false;
};

// Parses "--name value" / "--name=value" options of one command; "--help" / "-h" asks for help.
// Throws UsageError on an unknown option, a missing value or a missing required option.
Options parseOptions(const CommandSyntax &syntax, const QStringList &args);

QString usageText(const CommandSyntax &syntax);

QTextStream &out();
QTextStream &err();

// Opens an existing database for a command, turning the engine's failure into a message that
// says what was tried. Throws DatabaseError.
QSqlDatabase openExisting(const QString &url, const QString &connectionName);

} // namespace tavimor::cli
