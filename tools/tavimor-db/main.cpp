// tavimor-db: creates, fills and checks the program's database.
#include "commands.h"
#include "database.h"
#include "errors.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using namespace tavimor::cli;

static QList<const Command *> commands()
{
    return {&initCommand(), &demoCommand(), &verifyCommand()};
}

static QString generalUsage()
{
    QString text = u"用法：tavimor-db <命令> [选项]\n\n建立、填充和检查客户管理系统的数据库。\n\n命令：\n"_s;
    for (const Command *c : commands())
        text += u"  "_s + c->syntax.name.leftJustified(8) + c->syntax.summary.section(u'\n', 0, 0) + u'\n';
    text += u"\n每个命令都接受 --database URL：数据库文件的路径，或 postgresql://用户:密码@主机:端口/库名。\n"
            "没有给出时用环境变量 TAVIMOR_DATABASE，再没有就用默认位置 "_s +
            defaultDatabasePath() + u"。\n“tavimor-db <命令> --help”显示该命令的用法。\n"_s;
    return text;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"tavimor-db"_s);
    QStringList args = QCoreApplication::arguments().mid(1);

    if (args.isEmpty()) {
        err() << generalUsage();
        return UsageFailure;
    }
    const QString name = args.takeFirst();
    if (name == u"--help"_s || name == u"-h"_s || name == u"help"_s) {
        out() << generalUsage();
        return Success;
    }
    const Command *command = nullptr;
    for (const Command *c : commands())
        if (c->syntax.name == name)
            command = c;
    if (!command) {
        err() << u"tavimor-db：没有“%1”这个命令。\n\n"_s.arg(name) << generalUsage();
        return UsageFailure;
    }

    try {
        const Options options = parseOptions(command->syntax, args);
        if (options.helpRequested()) {
            out() << usageText(command->syntax);
            return Success;
        }
        return command->run(options);
    } catch (const UsageError &e) {
        err() << u"tavimor-db %1：%2\n\n"_s.arg(command->syntax.name, e.message()) << usageText(command->syntax) << Qt::flush;
        return UsageFailure;
    } catch (const DatabaseError &e) {
        err() << u"tavimor-db %1：%2\n"_s.arg(command->syntax.name, e.message()) << Qt::flush;
        return Failure;
    }
}
