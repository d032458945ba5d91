#pragma once

#include <QString>

namespace tavimor {

class TableCursor;

// What the register editors (students, teachers) do alike with their register cursor: step
// through it with the begin/end flags, post the pending row with every failure said plainly
// (everything typed stays in the window), and discard the pending row when the window closes.
class RegisterEditing
{
public:
    // noun names the record in messages: "学生" or "老师".
    RegisterEditing(TableCursor *cursor, const QString &noun) : m_cursor(cursor), m_noun(noun) {}

    // "上" / "下": a message at either end, else one row on.
    void stepPrior();
    void stepNext();

    // Writes the pending row. Another program's change or deletion, or a value the engine refuses,
    // is reported; the row stays pending and false comes back.
    bool post();
    // Reports that the record was not saved because of the engine's message.
    void reportNotSaved(const QString &engineMessage) const;

    // Closing: the pending row is discarded; after a conflict the register is read again so that
    // it shows what the other program saved.
    void discard();

private:
    TableCursor *m_cursor;
    QString m_noun;
    bool m_conflict = false;
};

} // namespace tavimor
