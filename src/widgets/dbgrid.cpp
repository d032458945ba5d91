#include "dbgrid.h"

#include "command.h"
#include "errors.h"
#include "look.h"
#include "valueformat.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

// --------------------------------------------------------------------------- CursorTableModel

CursorTableModel::CursorTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void CursorTableModel::setCursor(TableCursor *cursor)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_cursor = cursor;
    if (cursor) {
        m_connections << connect(cursor, &TableCursor::rowsReset, this, &CursorTableModel::reset)
                      << connect(cursor, &TableCursor::rowInserted, this,
                                 [this](int row) {
                                     if (m_rows + 1 != m_cursor->recordCount() || row < 0 || row > m_rows)
                                         return reset();
                                     beginInsertRows({}, row, row);
                                     ++m_rows;
                                     endInsertRows();
                                 })
                      << connect(cursor, &TableCursor::rowRemoved, this,
                                 [this](int row) {
                                     if (m_rows - 1 != m_cursor->recordCount() || row < 0 || row >= m_rows)
                                         return reset();
                                     beginRemoveRows({}, row, row);
                                     --m_rows;
                                     endRemoveRows();
                                 })
                      << connect(cursor, &TableCursor::rowUpdated, this,
                                 [this](int row) {
                                     if (row >= 0 && row < m_rows)
                                         emit dataChanged(index(row, 0), index(row, m_columns - 1));
                                 })
                      << connect(cursor, &TableCursor::fieldChanged, this,
                                 [this](int column) {
                                     const int row = m_cursor->currentRow();
                                     if (row >= 0 && row < m_rows && column >= 0 && column < m_columns)
                                         emit dataChanged(index(row, column), index(row, column));
                                 })
                      << connect(cursor, &TableCursor::stateChanged, this, [this] {
                             // A cancelled edit shows the stored row again.
                             const int row = m_cursor->currentRow();
                             if (row >= 0 && row < m_rows)
                                 emit dataChanged(index(row, 0), index(row, m_columns - 1));
                         });
    }
    reset();
}

void CursorTableModel::reset()
{
    beginResetModel();
    m_columns = m_cursor ? m_cursor->columnCount() : 0;
    m_rows = m_cursor && m_cursor->isOpen() ? m_cursor->recordCount() : 0;
    endResetModel();
}

int CursorTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CursorTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

Qt::ItemFlags CursorTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariant CursorTableModel::data(const QModelIndex &index, int role) const
{
    if (!m_cursor || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    const ColumnKind kind = m_cursor->table().columns.at(index.column()).kind;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::CheckStateRole:
    case Qt::ToolTipRole:
        break;
    case Qt::TextAlignmentRole:
        if (kind == ColumnKind::Currency || kind == ColumnKind::Integer)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
    if ((role == Qt::CheckStateRole) != (kind == ColumnKind::YesNo))
        return {};
    QVariant v;
    try {
        // The current row being edited shows what has been typed so far.
        const bool pending = index.row() == m_cursor->currentRow() &&
                             m_cursor->state() == TableCursor::State::Edit;
        v = pending ? m_cursor->value(index.column()) : m_cursor->valueAt(index.row(), index.column());
    } catch (const DatabaseError &e) {
        // Painting cannot stop for a box; the cell stays empty.
        qWarning("%s", e.what());
        return {};
    }
    if (role == Qt::CheckStateRole)
        return v.toBool() ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole)
        return kind == ColumnKind::Memo ? v.toString() : QVariant();
    return displayText(kind, v);
}

QVariant CursorTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_cursor && section >= 0 &&
        section < m_columns)
        return m_cursor->table().columns.at(section).name;
    return {};
}

// --------------------------------------------------------------------------- RowIndicatorHeader

RowIndicatorHeader::RowIndicatorHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
}

QSize RowIndicatorHeader::sizeHint() const
{
    // A fixed narrow column: never measured over the rows.
    return {fontMetrics().height() + 4, defaultSectionSize()};
}

void RowIndicatorHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    // The style sheet's section drawing leaves its own clip behind.
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (!m_cursor || logicalIndex != m_cursor->currentRow())
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    const QPointF c = QRectF(rect).center();
    const qreal h = std::min<qreal>(rect.height(), rect.width()) * 0.26;
    switch (m_cursor->state()) {
    case TableCursor::State::Insert:
    case TableCursor::State::Edit: {
        QFont f = font();
        f.setBold(true);
        painter->setFont(f);
        painter->setPen(Qt::black);
        painter->drawText(rect, Qt::AlignCenter,
                          m_cursor->state() == TableCursor::State::Insert ? u"*"_s : u"I"_s);
        break;
    }
    default: {
        QPainterPath p;
        p.moveTo(c.x() - h * 0.8, c.y() - h);
        p.lineTo(c.x() + h * 0.9, c.y());
        p.lineTo(c.x() - h * 0.8, c.y() + h);
        p.closeSubpath();
        painter->drawPath(p);
        break;
    }
    }
    painter->restore();
}

// --------------------------------------------------------------------------- DBGrid

DBGrid::DBGrid(QWidget *parent) : QTableView(parent)
{
    m_model = new CursorTableModel(this);
    setVerticalHeader(new RowIndicatorHeader(this));
    setModel(m_model);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setAcceptDrops(false);
    setCornerButtonEnabled(false);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView *h = horizontalHeader();
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setSectionsMovable(false);
    h->setStretchLastSection(false);
    h->setHighlightSections(false);
    h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The fixed cells: titles and row indicators.
    const QString fixed = colorFromBgr(kFixedCellColor).name();
    setStyleSheet(u"QHeaderView::section { background-color: %1; color: black; border: 0px;"
                  " border-right: 1px solid #aca899; border-bottom: 1px solid #aca899; padding: 0px 4px; }"
                  "QTableCornerButton::section { background-color: %1; border: 0px;"
                  " border-right: 1px solid #aca899; border-bottom: 1px solid #aca899; }"_s.arg(fixed));
    h->setFont(songFont(9));
    verticalHeader()->setFont(songFont(9));

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        sizeColumns();
        followCursor();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DBGrid::followCursor);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DBGrid::followCursor);
    sizeRows();
}

void DBGrid::bind(DataLink *link)
{
    disconnect(m_linkConnection);
    m_link = link;
    if (link)
        m_linkConnection = connect(link, &DataLink::cursorChanged, this, &DBGrid::attachCursor);
    attachCursor();
}

void DBGrid::attachCursor()
{
    TableCursor *cursor = m_link ? m_link->cursor() : nullptr;
    for (const auto &c : std::as_const(m_cursorConnections))
        disconnect(c);
    m_cursorConnections.clear();
    if (cursor) {
        m_cursorConnections << connect(cursor, &TableCursor::currentChanged, this, &DBGrid::followCursor)
                      << connect(cursor, &TableCursor::stateChanged, this,
                                 [this] { verticalHeader()->viewport()->update(); });
    }
    static_cast<RowIndicatorHeader *>(verticalHeader())->setTableCursor(cursor);
    m_model->setCursor(cursor);
}

void DBGrid::sizeRows()
{
    QHeaderView *v = verticalHeader();
    const int h = std::max(fontMetrics().height(), QFontMetrics(songFont(9)).height()) + 6;
    v->setMinimumSectionSize(std::min(v->minimumSectionSize(), h));
    v->setDefaultSectionSize(h);
    horizontalHeader()->setFixedHeight(QFontMetrics(horizontalHeader()->font()).height() + 8);
}

void DBGrid::sizeColumns()
{
    constexpr int kMaxSampledChars = 14;
    TableCursor *cursor = m_model->cursor();
    if (!cursor)
        return;
    // From the title and the kind of column, never from the rows.
    const QFontMetrics title(horizontalHeader()->font());
    const int ch = fontMetrics().horizontalAdvance(u"中"_s);
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int chars = 6;
        switch (cursor->table().columns.at(c).kind) {
        case ColumnKind::Date:
        case ColumnKind::Currency:
            chars = 6;
            break;
        case ColumnKind::YesNo:
        case ColumnKind::Integer:
            chars = 3;
            break;
        case ColumnKind::Digits:
            chars = 7;
            break;
        case ColumnKind::Memo:
            chars = 12;
            break;
        default:
            break;
        }
        int w = std::max(title.horizontalAdvance(cursor->table().columns.at(c).name) + 24, chars * ch + 10);
        // Short texts (names, schools, phones): widen to the rows of the first page, which the grid
        // shows anyway, up to a limit; the rest of the table is never read for it.
        const ColumnKind kind = cursor->table().columns.at(c).kind;
        if (kind == ColumnKind::Text || kind == ColumnKind::ListText || kind == ColumnKind::Digits) {
            const QFontMetrics cells(font());
            const int sample = std::min(m_model->rowCount(), TableCursor::kPageSize);
            for (int r = 0; r < sample; ++r)
                w = std::max(w, std::min(cells.horizontalAdvance(m_model->index(r, c).data().toString()) + 12,
                                         kMaxSampledChars * ch));
        }
        setColumnWidth(c, w);
    }
}

void DBGrid::followCursor()
{
    TableCursor *cursor = m_model->cursor();
    verticalHeader()->viewport()->update();
    if (!cursor)
        return;
    const int row = cursor->currentRow();
    m_following = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : horizontalHeader()->logicalIndexAt(0);
        if (column < 0)
            column = 0;
        const QModelIndex at = m_model->index(row, column);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    }
    m_following = false;
}

void DBGrid::rowChosen(const QModelIndex &current)
{
    TableCursor *cursor = m_model->cursor();
    if (m_following || !cursor || !current.isValid() || current.row() == cursor->currentRow())
        return;
    const int row = current.row();
    runCommand([&] { cursor->moveTo(row); });
    if (cursor->currentRow() != row) // the move failed (a pending row could not be saved)
        QMetaObject::invokeMethod(this, &DBGrid::followCursor, Qt::QueuedConnection);
}

void DBGrid::keyboardSearch(const QString &)
{
    // No type-ahead search: it would read the table row by row.
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    QTableView::mouseDoubleClickEvent(e);
    // Anywhere in the grid: on an empty register the view command then says so.
    emit doubleClicked();
}

void DBGrid::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        sizeRows();
        sizeColumns();
    }
}

} // namespace tavimor
