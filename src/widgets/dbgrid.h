#pragma once

#include "datalink.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

namespace tavimor {

// A table model over a cursor: every column of its table in stored order, titled with the
// column names; one row per row of the cursor's snapshot. Cells are read through valueAt, so
// only the rows a view paints are fetched. Dates show "yyyy-MM-dd", currency "￥0.00", yes/no
// as a check, memos on one line. The model never edits.
class CursorTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit CursorTableModel(QObject *parent = nullptr);

    void setCursor(TableCursor *cursor);
    TableCursor *cursor() const { return m_cursor; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void reset();
    QPointer<TableCursor> m_cursor;
    QList<QMetaObject::Connection> m_connections;
    int m_rows = 0;
    int m_columns = 0;
};

// The register grid: shows a link's cursor through CursorTableModel. Whole-row, single
// selection; nothing in it edits (no editing keys, no editing clicks, no type-ahead search).
// The selected row is the cursor's current row: moving the cursor selects its row, selecting
// a row (click or keys) moves the cursor there. The row indicator column marks the current
// row. Rows have one fixed height and columns take their width from the title and the column
// kind, so a table of a million rows opens and scrolls without reading it.
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    void bind(DataLink *link);
    DataLink *dataSource() const { return m_link; }
    CursorTableModel *cursorModel() const { return m_model; }

    void keyboardSearch(const QString &search) override;

signals:
    // A row was double-clicked (the grid's view command).
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    void attachCursor();
    void followCursor();
    void rowChosen(const QModelIndex &current);
    void sizeColumns();
    void sizeRows();

    CursorTableModel *m_model;
    QPointer<DataLink> m_link;
    QMetaObject::Connection m_linkConnection;
    QList<QMetaObject::Connection> m_cursorConnections;
    bool m_following = false;
};

// The vertical header of DBGrid: no numbers, a marker on the cursor's current row (▶ while
// browsing, * while inserting, I while editing).
class RowIndicatorHeader : public QHeaderView
{
    Q_OBJECT
public:
    explicit RowIndicatorHeader(QWidget *parent = nullptr);
    void setTableCursor(TableCursor *cursor) { m_cursor = cursor; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    QSize sizeHint() const override;

private:
    QPointer<TableCursor> m_cursor;
};

} // namespace tavimor
