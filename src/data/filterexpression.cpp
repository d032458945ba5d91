#include "filterexpression.h"

#include "errors.h"

#include <QDate>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

namespace {

class Parser
{
public:
    Parser(const QString &text, const TableDef &table) : s(text), t(table) {}

    QList<FilterExpression::Condition> run()
    {
        QList<FilterExpression::Condition> out;
        skipSpace();
        if (atEnd())
            return out;
        for (;;) {
            out << condition();
            skipSpace();
            if (atEnd())
                break;
            if (!keyword(u"and"_s))
                fail(u"此处应为 and"_s);
        }
        return out;
    }

private:
    const QString &s;
    const TableDef &t;
    qsizetype i = 0;

    bool atEnd() const { return i >= s.size(); }
    void skipSpace()
    {
        while (!atEnd() && s.at(i).isSpace())
            ++i;
    }
    [[noreturn]] void fail(const QString &why) const
    {
        throw FilterError(u"筛选条件无法识别（第 %1 个字符附近）：%2\n%3"_s.arg(i + 1).arg(why, s));
    }

    bool keyword(const QString &word)
    {
        skipSpace();
        if (s.mid(i, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype end = i + word.size();
        if (end < s.size() && !s.at(end).isSpace() && s.at(end) != u'\'' && s.at(end) != u'#')
            return false;
        i = end;
        return true;
    }

    static bool isNameChar(QChar c)
    {
        return c.isLetterOrNumber() || c == u'_' || c.unicode() > 0x7f;
    }

    QString columnName()
    {
        skipSpace();
        QString name;
        if (!atEnd() && s.at(i) == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            if (close < 0)
                fail(u"缺少 ]"_s);
            name = s.mid(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const qsizetype start = i;
            while (!atEnd() && isNameChar(s.at(i)) && !s.at(i).isSpace())
                ++i;
            name = s.mid(start, i - start);
        }
        if (name.isEmpty())
            fail(u"此处应为列名"_s);
        if (t.indexOf(name) < 0)
            fail(u"表“%1”中没有列“%2”"_s.arg(t.name, name));
        return name;
    }

    FilterExpression::Op op()
    {
        using Op = FilterExpression::Op;
        skipSpace();
        if (keyword(u"like"_s))
            return Op::Like;
        auto take = [&](const QString &tok) {
            if (s.mid(i, tok.size()) == tok) {
                i += tok.size();
                return true;
            }
            return false;
        };
        if (take(u"<>"_s))
            return Op::NotEqual;
        if (take(u">="_s))
            return Op::GreaterEqual;
        if (take(u"<="_s))
            return Op::LessEqual;
        if (take(u"="_s))
            return Op::Equal;
        if (take(u">"_s))
            return Op::Greater;
        if (take(u"<"_s))
            return Op::Less;
        fail(u"此处应为比较符（=、>、<、like）"_s);
    }

    void literal(FilterExpression::Condition &c)
    {
        skipSpace();
        if (atEnd())
            fail(u"缺少比较的值"_s);
        const QChar q = s.at(i);
        if (q == u'\'') {
            QString v;
            ++i;
            for (;;) {
                if (atEnd())
                    fail(u"引号没有闭合"_s);
                if (s.at(i) == u'\'') {
                    if (i + 1 < s.size() && s.at(i + 1) == u'\'') {
                        v += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                v += s.at(i++);
            }
            c.literal = v;
            return;
        }
        if (q == u'#') {
            const qsizetype close = s.indexOf(u'#', i + 1);
            if (close < 0)
                fail(u"日期缺少结束的 #"_s);
            const QString text = s.mid(i + 1, close - i - 1).trimmed();
            QDate d = QDate::fromString(text, u"yyyy-M-d"_s);
            if (!d.isValid())
                d = QDate::fromString(text, u"yyyy/M/d"_s);
            if (!d.isValid())
                fail(u"日期“%1”无效，应为 yyyy-mm-dd"_s.arg(text));
            i = close + 1;
            c.literal = d;
            c.dateLiteral = true;
            return;
        }
        const qsizetype start = i;
        while (!atEnd() && (s.at(i).isDigit() || s.at(i) == u'.' || s.at(i) == u'-'))
            ++i;
        bool ok = false;
        const double n = s.mid(start, i - start).toDouble(&ok);
        if (!ok || i == start)
            fail(u"值应放在单引号中"_s);
        c.literal = n;
    }

    FilterExpression::Condition condition()
    {
        FilterExpression::Condition c;
        c.column = columnName();
        c.op = op();
        literal(c);
        if (c.op == FilterExpression::Op::Like && c.literal.metaType().id() != QMetaType::QString)
            fail(u"like 后应为单引号中的文字"_s);
        return c;
    }
};

} // namespace

QString FilterExpression::quoted(const QString &value)
{
    QString q = value;
    q.replace(u'\'', u"''"_s);
    return u'\'' + q + u'\'';
}

FilterExpression FilterExpression::parse(const QString &text, const TableDef &table)
{
    FilterExpression e;
    e.m_table = &table;
    e.m_conditions = Parser(text, table).run();
    return e;
}

FilterExpression::Sql FilterExpression::toSql(const SqlDialect &dialect) const
{
    Sql out;
    QStringList parts;
    const bool pg = dialect.engine() == Engine::PostgreSQL;
    for (const Condition &c : m_conditions) {
        const ColumnKind kind = m_table->columns.at(m_table->indexOf(c.column)).kind;
        const QString col = SqlDialect::quote(c.column);
        if (c.op == Op::Like) {
            const QString lhs = (pg && kind != ColumnKind::Text && kind != ColumnKind::Digits &&
                                 kind != ColumnKind::ListText && kind != ColumnKind::Memo)
                                    ? u"CAST("_s + col + u" AS TEXT)"_s
                                    : col;
            // ANSI wildcards only; a backslash in the value is an ordinary character.
            parts << lhs + (pg ? u" ILIKE ? ESCAPE ''"_s : u" LIKE ?"_s);
            out.values << c.literal.toString();
            continue;
        }
        QString opText;
        switch (c.op) {
        case Op::Equal: opText = u" = "_s; break;
        case Op::NotEqual: opText = u" <> "_s; break;
        case Op::Greater: opText = u" > "_s; break;
        case Op::Less: opText = u" < "_s; break;
        case Op::GreaterEqual: opText = u" >= "_s; break;
        case Op::LessEqual: opText = u" <= "_s; break;
        case Op::Like: break;
        }
        if (kind == ColumnKind::Date || c.dateLiteral) {
            QDate d = c.literal.toDate();
            if (!c.dateLiteral) {
                d = QDate::fromString(c.literal.toString().trimmed().left(10), u"yyyy-M-d"_s);
                if (!d.isValid())
                    throw FilterError(u"“%1”不是有效的日期（列“%2”）"_s.arg(c.literal.toString(), c.column));
            }
            if (kind == ColumnKind::Date) {
                parts << dialect.dayOf(col) + opText + u"?"_s;
                out.values << dialect.toStorage(ColumnKind::Date, d);
            } else {
                parts << col + opText + u"?"_s;
                out.values << d.toString(Qt::ISODate);
            }
            continue;
        }
        if (kind == ColumnKind::Currency || kind == ColumnKind::Integer || kind == ColumnKind::YesNo) {
            parts << col + opText + u"?"_s;
            out.values << dialect.toStorage(kind, c.literal);
            continue;
        }
        parts << col + opText + u"?"_s;
        out.values << c.literal.toString();
    }
    out.where = parts.join(u" AND "_s);
    return out;
}

} // namespace tavimor
