#pragma once

#include "tablecursor.h"

#include <QObject>
#include <QPointer>

namespace tavimor {

// Binds data-aware controls to a cursor: the controls show the cursor's current row and write
// into it while the cursor is in insert or edit state. With auto-edit on, a control that starts
// writing while the cursor browses first puts it into edit state.
class DataLink : public QObject
{
    Q_OBJECT
public:
    explicit DataLink(TableCursor *cursor = nullptr, QObject *parent = nullptr);

    TableCursor *cursor() const { return m_cursor; }
    void setCursor(TableCursor *cursor);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }

    // True when the cursor accepts writes now (after auto-edit if allowed).
    bool canWrite() const;
    bool beginWrite();

signals:
    void dataChange();          // row moved, a value changed, the snapshot changed
    void stateChange();         // browse / insert / edit
    void fieldChange(int column);
    void cursorChanged();

private:
    QPointer<TableCursor> m_cursor;
    bool m_autoEdit = true;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace tavimor
