#include "datalink.h"

namespace tavimor {

DataLink::DataLink(TableCursor *cursor, QObject *parent) : QObject(parent)
{
    setCursor(cursor);
}

void DataLink::setCursor(TableCursor *cursor)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_cursor = cursor;
    if (cursor) {
        m_connections << connect(cursor, &TableCursor::dataChanged, this, &DataLink::dataChange)
                      << connect(cursor, &TableCursor::stateChanged, this, &DataLink::stateChange)
                      << connect(cursor, &TableCursor::fieldChanged, this, &DataLink::fieldChange);
    }
    emit cursorChanged();
    emit dataChange();
}

bool DataLink::canWrite() const
{
    return m_cursor && (m_cursor->state() == TableCursor::State::Insert ||
                        m_cursor->state() == TableCursor::State::Edit);
}

bool DataLink::beginWrite()
{
    if (!m_cursor)
        return false;
    if (canWrite())
        return true;
    if (m_autoEdit && m_cursor->state() == TableCursor::State::Browse && !m_cursor->isEmpty()) {
        m_cursor->edit();
        return true;
    }
    return false;
}

} // namespace tavimor
