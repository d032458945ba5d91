#pragma once

#include "datalink.h"

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class QWidget;

namespace tavimor {

// The part every data-aware control shares: which link and column it shows, when to show the
// current row again, and how a change is written into the cursor. A control owns one and gives
// it two functions: how to show a value, and whether the control is read-only now.
class FieldBinding : public QObject
{
    Q_OBJECT
public:
    using ShowFunction = std::function<void(const QVariant &)>;
    using ReadOnlyFunction = std::function<bool()>;

    FieldBinding(QWidget *control, ShowFunction show, ReadOnlyFunction readOnly);

    // Binds to the column of the link's cursor (throws DatabaseError for a column the table
    // does not have) and shows the current row. A null link unbinds: the control keeps its
    // content and acts as a plain control.
    void bind(DataLink *link, const QString &column);
    DataLink *link() const { return m_link; }
    QString column() const { return m_column; }
    bool isBound() const;
    ColumnKind kind() const; // Text when unbound

    // The column of the cursor's current row (the pending row while inserting or editing);
    // null when unbound or when there is no row.
    QVariant value() const;

    // A change made by the user: auto-edit, then write. A change that cannot be written (no
    // row, auto-edit off) is taken back by showing the row again. Returns true when written.
    bool writeFromUser(const QVariant &v);
    // A change made by the program (setText, setDate, ...): written only when the cursor is
    // already in insert or edit state. Returns true when written.
    bool writeFromProgram(const QVariant &v);

    // True while the binding puts a value into the control: the control's own change signals
    // must not write then.
    bool isShowing() const { return m_showing; }
    // Shows the current row now (not while this control is writing).
    void refresh();

private:
    bool write(const QVariant &v, bool autoEdit);
    void resolveColumn();

    QWidget *m_control;
    ShowFunction m_show;
    ReadOnlyFunction m_readOnly;
    QPointer<DataLink> m_link;
    QString m_column;
    int m_index = -1;
    bool m_writing = false;
    bool m_showing = false;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace tavimor
