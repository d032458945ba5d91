#pragma once

#include "filterexpression.h"
#include "schema.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QVariant>
#include <QVector>

namespace tavimor {

// A cursor over one table: a snapshot of the keys of the rows that satisfy the active filter,
// in stored order, taken at open and at every filter change; row contents are fetched on demand
// in pages and cached. Exact record count = number of keys. Our own inserts, changes and
// deletions show at once; other programs' changes show after reopening. Posts check the row
// version and raise ConflictError instead of overwriting another program's change.
//
// Begin/end flags follow the classic data-set rules: first() sets bof, last() sets eof,
// next() on the last row sets eof without moving, prior() on the first row sets bof; any move
// that succeeds clears both; an empty cursor has both set.
class TableCursor : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };
    Q_ENUM(State)

    TableCursor(const QString &connectionName, const QString &tableName, QObject *parent = nullptr);

    const TableDef &table() const { return *m_table; }
    QString tableName() const { return m_table->name; }
    QStringList columnNames() const { return m_table->columnNames(); }
    int columnCount() const { return int(m_table->columns.size()); }
    int columnIndex(const QString &column) const { return m_table->indexOf(column); }
    QSqlDatabase database() const;

    // --- lifecycle
    void open();  // takes the snapshot; stands on the first row
    void close(); // drops snapshot and cache; a pending insert/edit is discarded
    bool isOpen() const { return m_state != State::Inactive; }
    void refresh(); // retakes the snapshot, staying on the same row when it still qualifies

    // --- navigation
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row); // 0-based position in the snapshot
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return m_keys.isEmpty() && m_state != State::Insert; }
    int recordCount() const { return int(m_keys.size()); }
    int currentRow() const { return m_row; } // -1 when there is no row (empty cursor)

    // --- editing
    State state() const { return m_state; }
    void insert(); // new row at the current position, in insert state
    void append(); // new row at the end, in insert state
    void edit();   // current row into edit state
    void post();   // writes the pending row; throws DatabaseError / ConflictError and keeps the state
    void cancel(); // discards the pending row
    void remove(); // deletes the current row
    bool isModified() const { return m_modified; }

    // Column of the current row by name (the pending row while inserting or editing).
    QVariant value(const QString &column) const;
    void setValue(const QString &column, const QVariant &value); // needs insert or edit state
    QVariant value(int column) const;
    void setValue(int column, const QVariant &value);

    // Any row of the snapshot, for grids; fetches its page on demand.
    QVariant valueAt(int row, int column) const;

    // --- filter
    void setFilter(const QString &text); // parses at once; a bad text throws FilterError, state kept
    QString filter() const { return m_filterText; }
    void setFiltered(bool on); // a pending new row stays pending; a pending edit is posted/cancelled
    bool isFiltered() const { return m_filtered; }

    // Size of the row cache, for diagnostics and benchmarks.
    int cachedRowCount() const { return int(m_cache.size()); }
    static constexpr int kPageSize = 64;
    static constexpr int kCacheLimit = 4096;

signals:
    void currentChanged();                   // the current row moved (or the cursor opened/closed)
    void stateChanged(tavimor::TableCursor::State state);
    void fieldChanged(int column);           // a column of the pending row was written
    void rowsReset();                        // the snapshot was retaken
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowUpdated(int row);
    void dataChanged();                      // any of the above: what data links listen to

private:
    struct Row {
        qint64 version = 0;
        QVector<QVariant> values;
    };

    void requireOpen() const;
    void checkBrowseMode(); // posts a modified pending row, else cancels it (before moving)
    void takeSnapshot(const FilterExpression *expression);
    const Row &fetch(int row) const;
    Row fetchOne(qint64 key) const;
    void setCurrent(int row, bool bof, bool eof);
    void setState(State s);
    void startPending(int position);
    QString selectList() const;

    QString m_connection;
    const TableDef *m_table;
    State m_state = State::Inactive;
    QVector<qint64> m_keys;
    mutable QHash<qint64, Row> m_cache;
    int m_row = -1;
    bool m_bof = true;
    bool m_eof = true;

    QString m_filterText;
    bool m_filtered = false;

    // pending row of insert/edit
    QVector<QVariant> m_buffer;
    qint64 m_editKey = 0;
    qint64 m_editVersion = 0;
    int m_insertPosition = -1;
    int m_rowBeforeInsert = -1;
    bool m_modified = false;
};

} // namespace tavimor
