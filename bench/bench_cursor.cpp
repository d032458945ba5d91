// bench_cursor --database FILE [--repeat N]
//
// Times the student register's cursor on a large database (made with `tavimor-db demo`) against
// the sqlite3 command running the same SQL on the same file in the same run:
//   open   - snapshot, exact count and first page  vs  select tv_id … order by tv_id
//   last   - walking to the last row and reading it
//   filter - a search filter switched on             vs  the same WHERE
// and the memory the open cursor holds. The last line is
//   open_ratio=… filter_ratio=… cursor_mb=…
#include "database.h"
#include "errors.h"
#include "tablecursor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;

namespace {

const QString kTable = u"客户资料表"_s;
const QString kFilter = u"学生姓名 like '%王%' and 登记日期>#2020-01-01#"_s;
const QString kOpenSql = u"select tv_id from \"客户资料表\" order by tv_id;"_s;
const QString kFilterSql = u"select tv_id from \"客户资料表\" where \"学生姓名\" like '%王%' "
                           "and date(\"登记日期\") > '2020-01-01' order by tv_id;"_s;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

double ms(const std::function<void()> &f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2;
}

// Resident memory of this process in MiB.
double residentMb()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The sqlite3 command running `sql` on the file, its output thrown away.
double sqlite3Ms(const QString &file, const QString &sql)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(u"sqlite3"_s, {u"-readonly"_s, file, sql});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw DatabaseError(u"sqlite3 failed: "_s + QString::fromUtf8(p.readAllStandardError()) + p.errorString());
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    int repeat = 5;
    const qsizetype r = args.indexOf(u"--repeat"_s);
    if (r >= 0 && r + 1 < args.size()) {
        repeat = std::max(1, args.at(r + 1).toInt());
        args.remove(r, 2);
    }
    if (!args.contains(u"--database"_s) && !args.contains(u"--help"_s)) {
        QTextStream(stderr) << "usage: bench_cursor --database FILE [--repeat N]\n";
        return 2;
    }

    try {
        const QString url = resolveDatabaseUrl(args);
        const DatabaseUrl parsed = DatabaseUrl::parse(url);
        if (parsed.engine != Engine::SQLite)
            throw DatabaseError(u"bench_cursor compares with the sqlite3 command and needs a SQLite file"_s);
        const QString conn = u"bench"_s;
        qint64 rows = 0;
        {
            QSqlQuery count = execute(openDatabase(url, conn), u"SELECT count(*) FROM \"客户资料表\""_s);
            count.next();
            rows = count.value(0).toLongLong();
        }
        out() << "database: " << parsed.display() << ", " << rows << " students, " << repeat << " runs\n";
        if (rows < 1'000'000)
            out() << "note: the goals are set for 1,000,000 students (tavimor-db demo --students 1000000 …)\n";

        // Warm the file into the page cache once, as a register that is in use would be.
        sqlite3Ms(parsed.path, u"select count(*) from \"客户资料表\" where \"学生姓名\" like '%%';"_s);

        QList<double> refOpen, curOpen, curLast, refFilter, curFilter;
        double cursorMb = 0, estimateMb = 0;
        qint64 matches = 0;
        for (int i = 0; i < repeat; ++i) {
            refOpen << sqlite3Ms(parsed.path, kOpenSql);
            refFilter << sqlite3Ms(parsed.path, kFilterSql);

            const double before = residentMb();
            auto cursor = std::make_unique<TableCursor>(conn, kTable);
            curOpen << ms([&] {
                cursor->open();
                cursor->valueAt(0, 0);
            });
            curLast << ms([&] {
                cursor->last();
                cursor->valueAt(cursor->currentRow(), 0);
            });
            if (i == 0) {
                cursorMb = residentMb() - before;
                estimateMb = (double(cursor->recordCount()) * sizeof(qint64) +
                              double(cursor->cachedRowCount()) * cursor->columnCount() * 48.0) /
                             (1024.0 * 1024.0);
            }
            curFilter << ms([&] {
                cursor->setFilter(kFilter);
                cursor->setFiltered(true);
                cursor->valueAt(0, 0);
            });
            matches = cursor->recordCount();
            if (cursor->currentRow() != 0 || cursor->valueAt(0, cursor->columnIndex(u"学生姓名"_s)).toString().isEmpty())
                throw DatabaseError(u"the filtered cursor does not stand on its first row"_s);
        }
        closeDatabase(conn);

        const double openRatio = median(curOpen) / median(refOpen);
        const double filterRatio = median(curFilter) / median(refFilter);
        out() << Qt::fixed << qSetRealNumberPrecision(1);
        out() << "open:   cursor " << median(curOpen) << " ms, sqlite3 " << median(refOpen) << " ms\n";
        out() << "last:   cursor " << median(curLast) << " ms\n";
        out() << "filter: cursor " << median(curFilter) << " ms, sqlite3 " << median(refFilter) << " ms, "
              << matches << " rows\n";
        out() << "memory: " << cursorMb << " MB resident for the open cursor (keys and cache estimate "
              << estimateMb << " MB)\n";
        out() << qSetRealNumberPrecision(2) << "open_ratio=" << openRatio << " filter_ratio=" << filterRatio
              << " cursor_mb=" << qSetRealNumberPrecision(1) << cursorMb << Qt::endl;
    } catch (const DatabaseError &e) {
        QTextStream(stderr) << "bench_cursor: " << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
