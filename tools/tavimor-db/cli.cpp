#include "cli.h"

#include "database.h"
#include "errors.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::cli {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

static const OptionSyntax *findOption(const CommandSyntax &syntax, const QString &name)
{
    for (const OptionSyntax &o : syntax.options)
        if (o.name == name)
            return &o;
    return nullptr;
}

Options parseOptions(const CommandSyntax &syntax, const QStringList &args)
{
    Options result;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == u"--help"_s || arg == u"-h"_s) {
            result.m_help = true;
            continue;
        }
        if (!arg.startsWith(u"--"_s) || arg.size() == 2)
            throw UsageError(u"多余的参数“%1”。"_s.arg(arg));
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = arg.mid(2, eq < 0 ? -1 : eq - 2);
        const OptionSyntax *option = findOption(syntax, name);
        if (!option)
            throw UsageError(u"命令 %1 没有选项“--%2”。"_s.arg(syntax.name, name));
        QString value;
        if (eq >= 0) {
            value = arg.mid(eq + 1);
        } else {
            // A following "--something" is taken as a forgotten value, not as the value.
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(u"--"_s))
                throw UsageError(u"选项 --%1 后面缺少值 %2。"_s.arg(name, option->valueName));
            value = args.at(++i);
        }
        if (result.m_values.contains(name))
            throw UsageError(u"选项 --%1 给了不止一次。"_s.arg(name));
        result.m_values.insert(name, value);
    }
    if (!result.m_help) {
        for (const OptionSyntax &o : syntax.options)
            if (o.required && !result.m_values.contains(o.name))
                throw UsageError(u"命令 %1 需要选项 --%2 %3。"_s.arg(syntax.name, o.name, o.valueName));
    }
    return result;
}

qint64 Options::integer(const QString &name, qint64 min, qint64 max, qint64 fallback) const
{
    if (!has(name))
        return fallback;
    bool ok = false;
    const QString text = value(name).trimmed();
    const qint64 n = text.toLongLong(&ok);
    if (!ok || n < min || n > max)
        throw UsageError(u"选项 --%1 的值“%2”不对：应为 %3 到 %4 之间的整数。"_s.arg(name, value(name))
                             .arg(min)
                             .arg(max));
    return n;
}

quint64 Options::unsignedInteger(const QString &name, quint64 fallback) const
{
    if (!has(name))
        return fallback;
    bool ok = false;
    const quint64 n = value(name).trimmed().toULongLong(&ok);
    if (!ok || value(name).trimmed().startsWith(u'-'))
        throw UsageError(u"选项 --%1 的值“%2”不对：应为不小于 0 的整数。"_s.arg(name, value(name)));
    return n;
}

QString Options::databaseUrl() const
{
    if (has(u"database"_s)) {
        if (value(u"database"_s).trimmed().isEmpty())
            throw UsageError(u"选项 --database 的值是空的。"_s);
        return value(u"database"_s);
    }
    QStringList none;
    return resolveDatabaseUrl(none);
}

// Pads to a width in terminal columns: CJK characters take two.
static QString padded(const QString &text, int columns)
{
    int width = 0;
    for (QChar c : text)
        width += c.unicode() >= 0x2e80 ? 2 : 1;
    return text + QString(std::max(1, columns - width), u' ');
}

QString usageText(const CommandSyntax &syntax)
{
    QString synopsis = u"用法：tavimor-db "_s + syntax.name;
    QString details;
    for (const OptionSyntax &o : syntax.options) {
        const QString form = u"--"_s + o.name + u' ' + o.valueName;
        synopsis += u' ' + (o.required ? form : u'[' + form + u']');
        details += u"  "_s + padded(form, 26) + o.help + u'\n';
    }
    return synopsis + u"\n\n"_s + syntax.summary + u"\n\n选项：\n"_s + details;
}

QSqlDatabase openExisting(const QString &url, const QString &connectionName)
{
    const DatabaseUrl parsed = DatabaseUrl::parse(url);
    if (parsed.engine == Engine::SQLite && !QFileInfo::exists(parsed.path))
        throw DatabaseError(u"找不到数据库文件 %1。请先用 tavimor-db init 建立数据库。"_s.arg(parsed.display()));
    try {
        return openDatabase(url, connectionName);
    } catch (const DatabaseError &e) {
        QString message = e.message();
        if (message.startsWith(parsed.display() + u": "_s))
            message = message.mid(parsed.display().size() + 2);
        QString hint;
        if (message.contains(u"not a database"_s))
            hint = u"（这个文件不是数据库文件）"_s;
        if (parsed.engine == Engine::PostgreSQL)
            throw DatabaseError(u"无法连接数据库 %1：%2\n请检查服务器是否在运行，以及地址、端口、用户名、密码和库名是否正确。"_s
                                    .arg(parsed.display(), message));
        throw DatabaseError(u"无法打开数据库 %1：%2%3"_s.arg(parsed.display(), message, hint));
    }
}

} // namespace tavimor::cli
