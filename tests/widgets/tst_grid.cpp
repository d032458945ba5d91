// The register grid over real cursors: columns, selection <-> current row, read-only, laziness.
#include "database.h"
#include "dbgrid.h"
#include "fixture.h"
#include "look.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using namespace tavimor::test;

namespace {

void addStudents(Fixture &f, int n)
{
    for (int i = 1; i <= n; ++i)
        f.addStudent({{u"编号"_s, QString::number(i)},
                      {u"学生姓名"_s, u"学生%1"_s.arg(i)},
                      {u"登记日期"_s, QDate(2024, 1, i)},
                      {u"费用"_s, i == 1 ? 0.0 : i * 10.5},
                      {u"辅导时间"_s, u"周六\n周日"_s}});
}

// Everything the table holds, to compare before and after.
QStringList tableText(const Fixture &f)
{
    QStringList rows;
    const QString conn = u"grid-check"_s;
    {
        QSqlQuery q = execute(openDatabase(f.db->url(), conn),
                              u"SELECT tv_id, \"编号\", \"学生姓名\", \"费用\", tv_version FROM \"客户资料表\" ORDER BY tv_id"_s);
        while (q.next())
            rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                q.value(3).toString(), q.value(4).toString()}
                        .join(u'|');
    }
    closeDatabase(conn);
    return rows;
}

QPoint rowPoint(DBGrid &g, int row)
{
    return g.visualRect(g.cursorModel()->index(row, 1)).center();
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT
    std::unique_ptr<Fixture> f;
    std::unique_ptr<DBGrid> grid;

private slots:
    void init()
    {
        f = std::make_unique<Fixture>();
        addStudents(*f, 5);
        f->dm->stu_table->first();
        grid = std::make_unique<DBGrid>();
        grid->bind(f->dm->stu_ds);
        grid->resize(700, 300);
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }
    void cleanup()
    {
        grid.reset();
        f.reset();
    }

    void columnsInStoredOrder_data();
    void columnsInStoredOrder();
    void cellTexts();
    void selectionFollowsCursor();
    void selectingMovesCursor();
    void keysChangeNothing_data();
    void keysChangeNothing();
    void mouseChangesNothing();
    void followsInsertsRemovalsAndFilters();
    void fixedCellsLook();
    void rowIndicatorMarksCurrentRow();
    void largeTableScrollsLazily();
};

void TestGrid::columnsInStoredOrder_data()
{
    QTest::addColumn<QString>("table");
    for (const TableDef &t : schemaTables())
        QTest::newRow(qPrintable(t.name)) << t.name;
}

void TestGrid::columnsInStoredOrder()
{
    QFETCH(QString, table);
    TableCursor *cursor = nullptr;
    for (TableCursor *c : f->dm->cursors())
        if (c->tableName() == table)
            cursor = c;
    QVERIFY(cursor);
    DataLink link(cursor);
    DBGrid g;
    g.bind(&link);
    const QStringList expected = tableDef(table).columnNames();
    QVERIFY(!expected.contains(QString::fromLatin1(kKeyColumn)));
    QCOMPARE(g.model()->columnCount(), expected.size());
    QStringList titles;
    for (int c = 0; c < g.model()->columnCount(); ++c)
        titles << g.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, expected);
    QCOMPARE(g.model()->rowCount(), cursor->recordCount());
    for (int c = 0; c < g.model()->columnCount(); ++c)
        QVERIFY(g.columnWidth(c) >= QFontMetrics(songFont(9)).horizontalAdvance(expected.at(c)));
}

void TestGrid::cellTexts()
{
    QAbstractItemModel *m = grid->model();
    const auto cell = [&](int row, const QString &column, int role = Qt::DisplayRole) {
        return m->data(m->index(row, f->dm->stu_table->columnIndex(column)), role);
    };
    QCOMPARE(cell(0, u"学生姓名"_s).toString(), u"学生1"_s);
    QCOMPARE(cell(0, u"登记日期"_s).toString(), u"2024-01-01"_s);
    QCOMPARE(cell(0, u"费用"_s).toString(), u"￥0.00"_s);
    QCOMPARE(cell(1, u"费用"_s).toString(), u"￥21.00"_s);
    QCOMPARE(cell(1, u"辅导时间"_s).toString(), u"周六 周日"_s);
    QCOMPARE(cell(1, u"学校"_s).toString(), QString());
    QVERIFY(!(m->flags(m->index(0, 0)) & Qt::ItemIsEditable));

    // Yes/no columns are drawn as checks that cannot be ticked.
    DBGrid users;
    users.bind(f->dm->users_ds);
    const int flag = f->dm->user_table->columnIndex(permissionColumns().first());
    const QModelIndex i = users.model()->index(0, flag);
    QCOMPARE(users.model()->data(i, Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(users.model()->data(i).toString(), QString());
    QVERIFY(!(users.model()->flags(i) & Qt::ItemIsUserCheckable));
    QCOMPARE(users.model()->data(users.model()->index(0, 0), Qt::CheckStateRole), QVariant());
}

void TestGrid::selectionFollowsCursor()
{
    TableCursor *c = f->dm->stu_table;
    QCOMPARE(grid->currentIndex().row(), 0);
    for (int row : {3, 4, 1, 0}) {
        c->moveTo(row);
        QCOMPARE(grid->currentIndex().row(), row);
        const QModelIndexList sel = grid->selectionModel()->selectedRows();
        QCOMPARE(sel.size(), 1);
        QCOMPARE(sel.first().row(), row);
    }
    c->last();
    QCOMPARE(grid->currentIndex().row(), 4);
    c->prior();
    QCOMPARE(grid->currentIndex().row(), 3);
}

void TestGrid::selectingMovesCursor()
{
    TableCursor *c = f->dm->stu_table;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(*grid, 2));
    QCOMPARE(c->currentRow(), 2);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    QCOMPARE(c->currentRow(), 3);
    QTest::keyClick(grid.get(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(c->currentRow(), 0);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(c->currentRow(), 4);
    QCOMPARE(c->value(u"学生姓名"_s), QVariant(u"学生5"_s));

    // Moving off a row being changed posts it first.
    c->moveTo(1);
    c->edit();
    c->setValue(u"学校"_s, u"实验中学"_s);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(*grid, 0));
    QCOMPARE(c->currentRow(), 0);
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(f->stored(u"2"_s, u"学校"_s), QVariant(u"实验中学"_s));
    QCOMPARE(f->messages->shown().size(), 0);
}

void TestGrid::keysChangeNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << QString();
    QTest::newRow("Ctrl+Delete") << (Qt::Key_Delete | Qt::ControlModifier).toCombined() << QString();
    QTest::newRow("Insert") << int(Qt::Key_Insert) << QString();
    QTest::newRow("F2") << int(Qt::Key_F2) << QString();
    QTest::newRow("Enter") << int(Qt::Key_Return) << QString();
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << QString();
    QTest::newRow("Space") << int(Qt::Key_Space) << u" "_s;
    QTest::newRow("typing a name") << 0 << u"学生3"_s;
    QTest::newRow("typing digits") << 0 << u"42"_s;
}

void TestGrid::keysChangeNothing()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    TableCursor *c = f->dm->stu_table;
    c->moveTo(1);
    const QStringList before = tableText(*f);
    grid->setFocus();
    if (key)
        QTest::keyClick(grid.get(), Qt::Key(key & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    else
        typeText(grid.get(), text);
    QVERIFY(!grid->isPersistentEditorOpen(grid->currentIndex()));
    QVERIFY(!grid->findChild<QLineEdit *>()); // no cell editor
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(c->currentRow(), 1); // no type-ahead search either
    QCOMPARE(c->recordCount(), 5);
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(tableText(*f), before);
}

void TestGrid::mouseChangesNothing()
{
    TableCursor *c = f->dm->stu_table;
    const QStringList before = tableText(*f);
    QSignalSpy views(grid.get(), &DBGrid::doubleClicked);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rowPoint(*grid, 3));
    QCOMPARE(views.count(), 1);
    QCOMPARE(c->currentRow(), 3);
    QVERIFY(!grid->isPersistentEditorOpen(grid->currentIndex()));
    QVERIFY(!grid->findChild<QLineEdit *>());
    // Below the last row is still the grid: the view command runs (and finds out itself whether
    // there is a row to show), but nothing moves or changes.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, grid->viewport()->height() - 3));
    QCOMPARE(views.count(), 2);
    QCOMPARE(c->currentRow(), 3);
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QCOMPARE(tableText(*f), before);
}

void TestGrid::followsInsertsRemovalsAndFilters()
{
    TableCursor *c = f->dm->stu_table;
    QAbstractItemModel *m = grid->model();
    const int name = c->columnIndex(u"学生姓名"_s);

    f->addStudent({{u"编号"_s, u"6"_s}, {u"学生姓名"_s, u"新生"_s}});
    QCOMPARE(m->rowCount(), 6);
    QCOMPARE(m->data(m->index(5, name)).toString(), u"新生"_s);
    QCOMPARE(grid->currentIndex().row(), 5);

    c->moveTo(2);
    c->edit();
    c->setValue(name, u"改名"_s);
    QCOMPARE(m->data(m->index(2, name)).toString(), u"改名"_s); // shows the pending change
    c->cancel();
    QCOMPARE(m->data(m->index(2, name)).toString(), u"学生3"_s);
    c->edit();
    c->setValue(name, u"改名"_s);
    c->post();
    QCOMPARE(m->data(m->index(2, name)).toString(), u"改名"_s);

    c->remove();
    QCOMPARE(m->rowCount(), 5);
    QCOMPARE(m->data(m->index(2, name)).toString(), u"学生4"_s);
    QCOMPARE(grid->currentIndex().row(), c->currentRow());

    c->last();
    c->remove(); // the last row
    QCOMPARE(m->rowCount(), 4);
    QCOMPARE(grid->currentIndex().row(), 3);

    c->setFilter(u"学生姓名 like '%5%'"_s);
    c->setFiltered(true);
    QCOMPARE(m->rowCount(), 1);
    QCOMPARE(m->data(m->index(0, name)).toString(), u"学生5"_s);
    QCOMPARE(grid->currentIndex().row(), 0);
    c->setFilter(u"学生姓名='没有这人'"_s);
    QCOMPARE(m->rowCount(), 0);
    QVERIFY(!grid->currentIndex().isValid());
    c->setFiltered(false);
    QCOMPARE(m->rowCount(), 4);
    QCOMPARE(grid->currentIndex().row(), 0);
}

void TestGrid::fixedCellsLook()
{
    const QColor fixed(239, 235, 222);
    QCOMPARE(colorFromBgr(kFixedCellColor), fixed);
    QCOMPARE(grid->horizontalHeader()->font().family(), songFont(9).family());
    QCOMPARE(grid->horizontalHeader()->font().pointSize(), 9);
    QVERIFY(grid->showGrid());
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);

    // Sample the painted title row and an indicator cell away from text.
    const QImage top = grid->horizontalHeader()->grab().toImage();
    const int x = grid->horizontalHeader()->sectionViewportPosition(0) + grid->columnWidth(0) - 4;
    QCOMPARE(top.pixelColor(x * top.devicePixelRatio(), 2 * top.devicePixelRatio()), fixed);
    const QImage side = grid->verticalHeader()->grab().toImage();
    QCOMPARE(side.pixelColor(1, grid->rowViewportPosition(2) + 2), fixed);

    // Columns can be resized.
    grid->horizontalHeader()->resizeSection(1, 150);
    QCOMPARE(grid->columnWidth(1), 150);
}

void TestGrid::rowIndicatorMarksCurrentRow()
{
    TableCursor *c = f->dm->stu_table;
    QVERIFY(!grid->model()->headerData(0, Qt::Vertical).isValid()); // no row numbers
    QVERIFY(grid->verticalHeader()->width() < 40);
    const auto darkPixels = [&](int row) {
        const QImage img = grid->verticalHeader()->grab().toImage();
        const int top = grid->rowViewportPosition(row), h = grid->rowHeight(row);
        int n = 0;
        for (int y = top + 2; y < top + h - 2; ++y)
            for (int x = 2; x < img.width() - 2; ++x)
                n += qGray(img.pixel(x, y)) < 80;
        return n;
    };
    c->moveTo(2);
    QVERIFY(darkPixels(2) > 5);
    QCOMPARE(darkPixels(1), 0);
    c->moveTo(1);
    QVERIFY(darkPixels(1) > 5);
    QCOMPARE(darkPixels(2), 0);
}

void TestGrid::largeTableScrollsLazily()
{
    grid.reset();
    f.reset();
    constexpr int kRows = 200000;
    TestDatabase db;
    {
        QElapsedTimer t;
        t.start();
        const QString conn = u"bulk"_s;
        {
            const QSqlDatabase bulk = openDatabase(db.url(), conn);
            Transaction tx(bulk);
            execute(bulk,
                    u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                    "INSERT INTO \"客户资料表\" (\"编号\", \"学生姓名\", \"费用\") "
                    "SELECT CAST(i AS TEXT), '学生' || CAST(i AS TEXT), i FROM n"_s,
                    {kRows});
            tx.commit();
        }
        closeDatabase(conn);
        qInfo("inserted %d rows in %lld ms", kRows, t.elapsed());
    }
    TDM dm(db.url());
    dm.setMessages(std::make_unique<ScriptedMessages>());
    TableCursor *c = dm.stu_table;
    QCOMPARE(c->recordCount(), kRows);

    QElapsedTimer t;
    t.start();
    DBGrid g;
    g.bind(dm.stu_ds);
    g.resize(800, 500);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g));
    g.grab();
    const qint64 opened = t.elapsed();
    QCOMPARE(g.model()->rowCount(), kRows);
    QVERIFY2(c->cachedRowCount() <= TableCursor::kPageSize, qPrintable(QString::number(c->cachedRowCount())));

    g.scrollToBottom();
    g.grab();
    g.verticalScrollBar()->setValue(g.verticalScrollBar()->maximum() / 2);
    g.grab();
    QTest::keyClick(&g, Qt::Key_End, Qt::ControlModifier);
    g.grab();
    const qint64 scrolled = t.elapsed() - opened;
    qInfo("grid over %d rows: opened in %lld ms, scrolled in %lld ms, %d rows fetched", kRows, opened, scrolled,
          c->cachedRowCount());
    QCOMPARE(c->currentRow(), kRows - 1);
    QCOMPARE(c->value(u"学生姓名"_s), QVariant(u"学生%1"_s.arg(kRows)));
    // The first page, one page in the middle, the last page; nothing more.
    QVERIFY2(c->cachedRowCount() <= 4 * TableCursor::kPageSize, qPrintable(QString::number(c->cachedRowCount())));
    const QModelIndex last = g.model()->index(kRows - 1, c->columnIndex(u"费用"_s));
    QCOMPARE(g.model()->data(last).toString(), u"￥%1.00"_s.arg(kRows));
}

int runGridTests(int argc, char **argv)
{
    TestGrid t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_grid.moc"
