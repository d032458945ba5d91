#include "fieldbinding.h"

#include "command.h"
#include "errors.h"

#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

FieldBinding::FieldBinding(QWidget *control, ShowFunction show, ReadOnlyFunction readOnly)
    : QObject(control), m_control(control), m_show(std::move(show)), m_readOnly(std::move(readOnly))
{
}

void FieldBinding::bind(DataLink *link, const QString &column)
{
    for (const auto &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_link = link;
    m_column = column;
    m_index = -1;
    if (!link)
        return;
    resolveColumn();
    m_connections << connect(link, &DataLink::dataChange, this, &FieldBinding::refresh)
                  << connect(link, &DataLink::stateChange, this, &FieldBinding::refresh)
                  << connect(link, &DataLink::cursorChanged, this, [this] {
                         resolveColumn();
                         refresh();
                     });
    refresh();
}

void FieldBinding::resolveColumn()
{
    m_index = -1;
    TableCursor *c = m_link ? m_link->cursor() : nullptr;
    if (!c)
        return;
    m_index = c->columnIndex(m_column);
    if (m_index < 0)
        throw DatabaseError(u"表“%1”中没有列“%2”"_s.arg(c->tableName(), m_column));
}

bool FieldBinding::isBound() const
{
    return m_link && m_link->cursor() && m_index >= 0;
}

ColumnKind FieldBinding::kind() const
{
    return isBound() ? m_link->cursor()->table().columns.at(m_index).kind : ColumnKind::Text;
}

QVariant FieldBinding::value() const
{
    if (!isBound() || !m_link->cursor()->isOpen())
        return {};
    return m_link->cursor()->value(m_index);
}

void FieldBinding::refresh()
{
    if (m_writing || !isBound())
        return;
    m_showing = true;
    m_show(value());
    m_showing = false;
}

bool FieldBinding::write(const QVariant &v, bool autoEdit)
{
    if (!isBound() || m_showing || m_writing || (m_readOnly && m_readOnly()))
        return false;
    bool written = false;
    m_writing = true;
    runCommand([&] {
        if (autoEdit ? m_link->beginWrite() : m_link->canWrite()) {
            m_link->cursor()->setValue(m_index, v);
            written = true;
        }
    });
    m_writing = false;
    return written;
}

bool FieldBinding::writeFromUser(const QVariant &v)
{
    if (!isBound() || m_showing)
        return false;
    const bool written = write(v, true);
    if (!written)
        refresh(); // the row cannot take the change: show what it holds
    return written;
}

bool FieldBinding::writeFromProgram(const QVariant &v)
{
    return write(v, false);
}

} // namespace tavimor
