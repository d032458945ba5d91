#include "tablecursor.h"

#include "database.h"
#include "errors.h"

#include <QSqlQuery>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

TableCursor::TableCursor(const QString &connectionName, const QString &tableName, QObject *parent)
    : QObject(parent), m_connection(connectionName), m_table(&tableDef(tableName))
{
}

QSqlDatabase TableCursor::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

void TableCursor::requireOpen() const
{
    if (m_state == State::Inactive)
        throw DatabaseError(u"数据表“%1”没有打开"_s.arg(m_table->name));
}

QString TableCursor::selectList() const
{
    QString s = u"tv_id, tv_version"_s;
    for (const ColumnDef &c : m_table->columns)
        s += u", "_s + SqlDialect::quote(c.name);
    return s;
}

// --------------------------------------------------------------------------- lifecycle

void TableCursor::open()
{
    if (m_state != State::Inactive)
        return;
    FilterExpression expr;
    if (m_filtered)
        expr = FilterExpression::parse(m_filterText, *m_table);
    takeSnapshot(&expr);
    m_state = State::Browse;
    setCurrent(m_keys.isEmpty() ? -1 : 0, true, m_keys.isEmpty());
    emit stateChanged(m_state);
    emit rowsReset();
    emit dataChanged();
}

void TableCursor::close()
{
    if (m_state == State::Inactive)
        return;
    m_keys.clear();
    m_cache.clear();
    m_buffer.clear();
    m_modified = false;
    m_row = -1;
    m_bof = m_eof = true;
    m_state = State::Inactive;
    emit stateChanged(m_state);
    emit rowsReset();
    emit currentChanged();
    emit dataChanged();
}

void TableCursor::refresh()
{
    requireOpen();
    checkBrowseMode();
    const qint64 key = m_row >= 0 ? m_keys.at(m_row) : 0;
    FilterExpression expr;
    if (m_filtered)
        expr = FilterExpression::parse(m_filterText, *m_table);
    takeSnapshot(&expr);
    m_cache.clear();
    const int at = key ? int(m_keys.indexOf(key)) : -1;
    emit rowsReset();
    if (at >= 0)
        setCurrent(at, false, false);
    else
        setCurrent(m_keys.isEmpty() ? -1 : 0, true, m_keys.isEmpty());
    emit dataChanged();
}

void TableCursor::takeSnapshot(const FilterExpression *expression)
{
    const QSqlDatabase db = database();
    if (!db.isOpen())
        throw DatabaseError(u"数据库连接没有打开"_s);
    QString sql = u"SELECT tv_id FROM "_s + SqlDialect::quote(m_table->name);
    QVariantList values;
    if (expression && !expression->isEmpty()) {
        const FilterExpression::Sql w = expression->toSql(SqlDialect::of(db));
        sql += u" WHERE "_s + w.where;
        values = w.values;
    }
    sql += u" ORDER BY tv_id"_s;
    // One statement at a time: a forward-only result must be read to its end before the next runs.
    QSqlQuery q = execute(db, sql, values);
    QVector<qint64> keys;
    keys.reserve(m_keys.size()); // the last snapshot's size is a fair guess
    while (q.next())
        keys.append(q.value(0).toLongLong());
    m_keys = std::move(keys);
}

// --------------------------------------------------------------------------- fetching

const TableCursor::Row &TableCursor::fetch(int row) const
{
    const qint64 key = m_keys.at(row);
    auto it = m_cache.constFind(key);
    if (it != m_cache.constEnd())
        return it.value();

    if (m_cache.size() >= kCacheLimit)
        m_cache.clear();

    const int start = (row / kPageSize) * kPageSize;
    const int end = std::min<int>(start + kPageSize, int(m_keys.size()));
    QVariantList ids;
    QString marks;
    for (int r = start; r < end; ++r) {
        const qint64 k = m_keys.at(r);
        if (m_cache.contains(k))
            continue;
        if (!ids.isEmpty())
            marks += u',';
        marks += u'?';
        ids << k;
    }
    QSqlQuery q = execute(database(),
                          u"SELECT "_s + selectList() + u" FROM "_s + SqlDialect::quote(m_table->name) +
                              u" WHERE tv_id IN ("_s + marks + u')',
                          ids);
    const int n = columnCount();
    while (q.next()) {
        Row r;
        r.version = q.value(1).toLongLong();
        r.values.resize(n);
        for (int c = 0; c < n; ++c)
            r.values[c] = SqlDialect::fromStorage(m_table->columns.at(c).kind, q.value(c + 2));
        m_cache.insert(q.value(0).toLongLong(), std::move(r));
    }
    // Rows another program deleted since the snapshot show as empty rows.
    for (const QVariant &id : std::as_const(ids)) {
        if (!m_cache.contains(id.toLongLong())) {
            Row gone;
            gone.version = -1;
            gone.values.resize(n);
            m_cache.insert(id.toLongLong(), gone);
        }
    }
    return m_cache.find(key).value();
}

TableCursor::Row TableCursor::fetchOne(qint64 key) const
{
    QSqlQuery q = execute(database(),
                          u"SELECT "_s + selectList() + u" FROM "_s + SqlDialect::quote(m_table->name) +
                              u" WHERE tv_id = ?"_s,
                          {key});
    Row r;
    r.version = -1;
    r.values.resize(columnCount());
    if (q.next()) {
        r.version = q.value(1).toLongLong();
        for (int c = 0; c < columnCount(); ++c)
            r.values[c] = SqlDialect::fromStorage(m_table->columns.at(c).kind, q.value(c + 2));
    }
    return r;
}

QVariant TableCursor::valueAt(int row, int column) const
{
    if (row < 0 || row >= m_keys.size() || column < 0 || column >= columnCount())
        return {};
    return fetch(row).values.at(column);
}

// --------------------------------------------------------------------------- navigation

void TableCursor::setCurrent(int row, bool bof, bool eof)
{
    const bool moved = row != m_row;
    m_row = row;
    m_bof = bof;
    m_eof = eof;
    if (moved) {
        emit currentChanged();
        emit dataChanged();
    }
}

void TableCursor::checkBrowseMode()
{
    if (m_state == State::Insert || m_state == State::Edit) {
        if (m_modified)
            post();
        else
            cancel();
    }
}

void TableCursor::first()
{
    requireOpen();
    checkBrowseMode();
    setCurrent(m_keys.isEmpty() ? -1 : 0, true, m_keys.isEmpty());
}

void TableCursor::last()
{
    requireOpen();
    checkBrowseMode();
    setCurrent(int(m_keys.size()) - 1, m_keys.isEmpty(), true);
}

void TableCursor::next()
{
    requireOpen();
    checkBrowseMode();
    if (m_keys.isEmpty()) {
        setCurrent(-1, true, true);
    } else if (m_row + 1 >= m_keys.size()) {
        m_eof = true;
        m_bof = false;
    } else {
        setCurrent(m_row + 1, false, false);
    }
}

void TableCursor::prior()
{
    requireOpen();
    checkBrowseMode();
    if (m_keys.isEmpty()) {
        setCurrent(-1, true, true);
    } else if (m_row <= 0) {
        m_bof = true;
        m_eof = false;
    } else {
        setCurrent(m_row - 1, false, false);
    }
}

void TableCursor::moveTo(int row)
{
    requireOpen();
    if (m_keys.isEmpty())
        return;
    row = std::clamp(row, 0, int(m_keys.size()) - 1);
    if (row == m_row)
        return;
    checkBrowseMode();
    setCurrent(row, false, false);
}

// --------------------------------------------------------------------------- editing

void TableCursor::setState(State s)
{
    if (s == m_state)
        return;
    m_state = s;
    emit stateChanged(s);
    emit dataChanged();
}

void TableCursor::startPending(int position)
{
    requireOpen();
    checkBrowseMode();
    m_buffer = QVector<QVariant>(columnCount());
    m_modified = false;
    m_editKey = 0;
    m_insertPosition = position;
    m_rowBeforeInsert = m_row;
    setState(State::Insert);
}

void TableCursor::insert()
{
    startPending(m_row < 0 ? 0 : m_row);
}

void TableCursor::append()
{
    requireOpen();
    startPending(int(m_keys.size()));
}

void TableCursor::edit()
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_row < 0)
        throw DatabaseError(u"没有可修改的记录"_s);
    const Row &r = fetch(m_row);
    m_buffer = r.values;
    m_editKey = m_keys.at(m_row);
    m_editVersion = r.version;
    m_modified = false;
    setState(State::Edit);
}

void TableCursor::cancel()
{
    if (m_state != State::Insert && m_state != State::Edit)
        return;
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    emit currentChanged();
}

void TableCursor::post()
{
    requireOpen();
    if (m_state != State::Insert && m_state != State::Edit)
        return;
    const QSqlDatabase db = database();
    const SqlDialect dialect = SqlDialect::of(db);
    const QString table = SqlDialect::quote(m_table->name);

    if (m_state == State::Insert) {
        QString cols, marks;
        QVariantList values;
        for (int c = 0; c < columnCount(); ++c) {
            if (c) {
                cols += u", "_s;
                marks += u", "_s;
            }
            cols += SqlDialect::quote(m_table->columns.at(c).name);
            marks += u'?';
            values << dialect.toStorage(m_table->columns.at(c).kind, m_buffer.at(c));
        }
        QSqlQuery q = execute(db, u"INSERT INTO "_s + table + u" ("_s + cols + u") VALUES ("_s + marks +
                                      u") RETURNING tv_id"_s,
                              values);
        if (!q.next())
            throw DatabaseError(u"新记录没有写入数据库"_s);
        const qint64 key = q.value(0).toLongLong();
        q.finish();
        const int at = std::clamp(m_insertPosition, 0, int(m_keys.size()));
        m_keys.insert(at, key);
        m_cache.insert(key, fetchOne(key));
        m_buffer.clear();
        m_modified = false;
        m_state = State::Browse;
        emit rowInserted(at);
        m_row = -2; // force the move notification
        setCurrent(at, false, false);
        emit stateChanged(m_state);
        return;
    }

    // Edit
    if (!m_modified) {
        cancel();
        return;
    }
    const Row &old = fetch(m_row);
    QString sets;
    QVariantList values;
    for (int c = 0; c < columnCount(); ++c) {
        if (m_buffer.at(c) == old.values.at(c) && m_buffer.at(c).isNull() == old.values.at(c).isNull())
            continue;
        sets += SqlDialect::quote(m_table->columns.at(c).name) + u" = ?, "_s;
        values << dialect.toStorage(m_table->columns.at(c).kind, m_buffer.at(c));
    }
    sets += u"tv_version = tv_version + 1"_s;
    values << m_editKey << m_editVersion;
    QSqlQuery q = execute(db, u"UPDATE "_s + table + u" SET "_s + sets + u" WHERE tv_id = ? AND tv_version = ?"_s,
                          values);
    const int affected = q.numRowsAffected();
    q.finish();
    if (affected == 0) {
        const Row now = fetchOne(m_editKey);
        if (now.version < 0)
            throw ConflictError(ConflictError::Reason::DeletedElsewhere,
                                u"这条记录已被其他用户删除，您的修改没有保存。"_s);
        throw ConflictError(ConflictError::Reason::ChangedElsewhere,
                            u"这条记录已被其他用户修改，您的修改没有保存，以免覆盖对方的修改。"_s);
    }
    m_cache.insert(m_editKey, fetchOne(m_editKey));
    m_buffer.clear();
    m_modified = false;
    const int row = int(m_keys.indexOf(m_editKey));
    setState(State::Browse);
    if (row >= 0)
        emit rowUpdated(row);
    emit currentChanged();
    emit dataChanged();
}

void TableCursor::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_row < 0)
        throw DatabaseError(u"没有可删除的记录"_s);
    const qint64 key = m_keys.at(m_row);
    execute(database(), u"DELETE FROM "_s + SqlDialect::quote(m_table->name) + u" WHERE tv_id = ?"_s, {key});
    m_cache.remove(key);
    const int at = m_row;
    m_keys.remove(at);
    emit rowRemoved(at);
    m_row = -2;
    if (m_keys.isEmpty())
        setCurrent(-1, true, true);
    else
        setCurrent(std::min(at, int(m_keys.size()) - 1), false, false);
}

QVariant TableCursor::value(int column) const
{
    if (column < 0 || column >= columnCount())
        throw DatabaseError(u"表“%1”中没有第 %2 列"_s.arg(m_table->name).arg(column));
    if (m_state == State::Insert || m_state == State::Edit)
        return m_buffer.at(column);
    if (m_row < 0)
        return {};
    return fetch(m_row).values.at(column);
}

QVariant TableCursor::value(const QString &column) const
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DatabaseError(u"表“%1”中没有列“%2”"_s.arg(m_table->name, column));
    return value(c);
}

void TableCursor::setValue(int column, const QVariant &value)
{
    if (column < 0 || column >= columnCount())
        throw DatabaseError(u"表“%1”中没有第 %2 列"_s.arg(m_table->name).arg(column));
    if (m_state != State::Insert && m_state != State::Edit)
        throw DatabaseError(u"表“%1”不在编辑状态，不能写入“%2”"_s.arg(m_table->name, m_table->columns.at(column).name));
    const QVariant v = SqlDialect::fromStorage(m_table->columns.at(column).kind, value);
    if (m_buffer.at(column) == v && m_buffer.at(column).isNull() == v.isNull())
        return;
    m_buffer[column] = v;
    m_modified = true;
    emit fieldChanged(column);
    emit dataChanged();
}

void TableCursor::setValue(const QString &column, const QVariant &value)
{
    const int c = columnIndex(column);
    if (c < 0)
        throw DatabaseError(u"表“%1”中没有列“%2”"_s.arg(m_table->name, column));
    setValue(c, value);
}

// --------------------------------------------------------------------------- filter

void TableCursor::setFilter(const QString &text)
{
    const FilterExpression expr = FilterExpression::parse(text, *m_table); // throws, state kept
    if (m_filtered && m_state != State::Inactive) {
        checkBrowseMode();
        takeSnapshot(&expr);
        m_filterText = text;
        emit rowsReset();
        m_row = -2;
        setCurrent(m_keys.isEmpty() ? -1 : 0, true, m_keys.isEmpty());
        return;
    }
    m_filterText = text;
}

void TableCursor::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (m_state == State::Inactive) {
        if (on)
            FilterExpression::parse(m_filterText, *m_table);
        m_filtered = on;
        return;
    }
    // A pending new row stays pending across the switch and joins the new snapshot at its end
    // (the editors switch a search off just before numbering and posting a new record); a
    // pending change of an existing row is posted or discarded first, as before any move.
    const bool keepInsert = m_state == State::Insert;
    if (!keepInsert)
        checkBrowseMode();
    FilterExpression expr;
    if (on)
        expr = FilterExpression::parse(m_filterText, *m_table);
    takeSnapshot(&expr);
    m_filtered = on;
    if (keepInsert)
        m_insertPosition = int(m_keys.size());
    emit rowsReset();
    m_row = -2;
    setCurrent(m_keys.isEmpty() ? -1 : 0, true, m_keys.isEmpty());
}

} // namespace tavimor
