// tavimor-db init: a new database with the fifteen tables and the seed rows.
#include "commands.h"
#include "database.h"
#include "dbinit.h"
#include "errors.h"

#include <QFileInfo>
#include <QUuid>

#include <csignal>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace tavimor::cli {

namespace {

// Terminal settings to put back if the user interrupts while echo is off.
termios g_savedTerminal;
volatile std::sig_atomic_t g_echoOff = 0;

extern "C" void restoreTerminalAndExit(int sig)
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

bool readLine(QString &line)
{
    QByteArray bytes;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n')
        bytes.append(char(c));
    if (c == EOF && bytes.isEmpty())
        return false;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = QString::fromUtf8(bytes);
    return true;
}

// Reads one line from the terminal without echoing it.
QString askHidden(const QString &prompt)
{
    err() << prompt << Qt::flush;
    termios t;
    tcgetattr(STDIN_FILENO, &t);
    g_savedTerminal = t;
    t.c_lflag &= ~tcflag_t(ECHO);
    g_echoOff = 1;
    const auto oldInt = std::signal(SIGINT, restoreTerminalAndExit);
    const auto oldTerm = std::signal(SIGTERM, restoreTerminalAndExit);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &t);
    QString line;
    const bool ok = readLine(line);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    g_echoOff = 0;
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    err() << u'\n' << Qt::flush;
    if (!ok)
        throw DatabaseError(u"没有读到密码，数据库没有建立。"_s);
    return line;
}

// The super user's password: asked twice on a terminal; from a pipe, the first line.
QString askPassword()
{
    if (!isatty(STDIN_FILENO)) {
        QString line;
        if (!readLine(line))
            throw DatabaseError(u"没有给出超级管理员的密码：请用 --admin-password 指定，或在终端上运行以便输入。"_s);
        return line;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString first = askHidden(u"请输入超级管理员的密码："_s);
        const QString second = askHidden(u"请再输入一次："_s);
        if (first == second)
            return first;
        err() << u"两次输入的密码不一致，请重新输入。\n"_s << Qt::flush;
    }
    throw DatabaseError(u"三次输入的密码都不一致，数据库没有建立。"_s);
}

// Refuses an existing database before the password is asked.
void refuseExisting(const QString &url)
{
    const DatabaseUrl parsed = DatabaseUrl::parse(url);
    if (parsed.engine == Engine::SQLite) {
        if (QFileInfo::exists(parsed.path))
            throw DatabaseError(u"%1 已经存在。init 只建立新的数据库，不会改动已有的文件；"
                                "如要重新建立，请先把它移走。"_s.arg(parsed.display()));
        return;
    }
    const QString conn = u"tavimor-db-check-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool present = false;
    try {
        present = hasSchema(openExisting(url, conn));
    } catch (...) {
        closeDatabase(conn);
        throw;
    }
    closeDatabase(conn);
    if (present)
        throw DatabaseError(u"数据库 %1 中已经有本系统的数据表。init 不会改动已有的数据库。"_s.arg(parsed.display()));
}

int runInit(const Options &options)
{
    const QString url = options.databaseUrl();
    refuseExisting(url);
    QString password;
    if (options.has(u"admin-password"_s))
        password = options.value(u"admin-password"_s);
    else
        password = askPassword();
    if (password.isEmpty())
        err() << u"警告：超级管理员的密码是空的，任何人都能以超级管理员登录。请登录后尽快设置密码。\n"_s << Qt::flush;

    initDatabase(url, password);
    out() << u"已建立数据库 %1：15 张数据表和初始数据，超级管理员“%2”。\n"_s.arg(DatabaseUrl::parse(url).display(),
                                                                                     kSuperUser);
    return Success;
}

} // namespace

const Command &initCommand()
{
    static const Command command{
        {u"init"_s,
         u"建立新的数据库。\n\n建立 15 张数据表，写入计数器、公司信息、超级管理员和各个选择列表的初始数据。\n"
         "已经存在的数据库不会被改动。没有给出 --admin-password 时在终端上询问密码。"_s,
         {{u"database"_s, u"URL"_s, u"要建立的数据库"_s},
          {u"admin-password"_s, u"密码"_s, u"超级管理员的密码"_s}}},
        runInit};
    return command;
}

} // namespace tavimor::cli
