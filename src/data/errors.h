#pragma once

#include <QString>
#include <exception>

namespace tavimor {

// The one exception type of the data layer. It carries the engine's (or our own) message,
// already in a form fit to show to the user.
class DatabaseError : public std::exception
{
public:
    explicit DatabaseError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Raised by a post or delete when another program changed or deleted the row since we read it.
class ConflictError : public DatabaseError
{
public:
    enum class Reason { ChangedElsewhere, DeletedElsewhere };
    ConflictError(Reason reason, QString message) : DatabaseError(std::move(message)), m_reason(reason) {}
    Reason reason() const noexcept { return m_reason; }

private:
    Reason m_reason;
};

// A filter text that does not follow the filter grammar.
class FilterError : public DatabaseError
{
public:
    using DatabaseError::DatabaseError;
};

} // namespace tavimor
