// Start-up, the login dialog, the main window's commands and the about box, through the real windows.
#include "shell/about_form.h"
#include "shell/flash_form.h"
#include "database.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "dm.h"
#include "shell/login_form.h"
#include "shell/main_form.h"
#include "shell/startup.h"
#include "students/editstu_form.h"
#include "teachers/edittea_form.h"
#include "testdb.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using tavimor::test::TestDatabase;

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpOrder();
    void startUpFailsOnBadDatabase_data();
    void startUpFailsOnBadDatabase();

    void userList();
    void login_data();
    void login();
    void thirdWrongPasswordEnds();
    void cancelAsks_data();
    void cancelAsks();
    void closeIconEndsWithoutQuestion();

    void afterLogin();
    void registerSwitch();
    void refusals_data();
    void refusals();
    void deleteAsks_data();
    void deleteAsks();
    void emptyRegister_data();
    void emptyRegister();
    void countFollowsFilter();
    void exitAsks_data();
    void exitAsks();
    void gridIsReadOnly();
    void editorOpening_data();
    void editorOpening();
    void addThroughMainWindow();
    void menusAndToolbar_data();
    void menusAndToolbar();
    void permissionPerRegister();
    void permissionReadAtEveryCommand();
    void missingUserRowRefuses();
    void commandsWithoutPermission();
    void teachingRecordsFilter_data();
    void teachingRecordsFilter();
    void printCompanyText();
    void companyRowEditedAfterDialog();
    void disabledSearchEntry();
    void splashDuringStartUp();
    void loginKeys();
    void aboutFromMenu();
    void aboutClosesOnRightClickOnly();

private:
    bool start(const QString &url);
    void loginAs(const QString &user, const QString &password);
    void addUser(const QString &name, const QVariant &password, bool allFlags);
    void addStudents(const QStringList &names);

    std::unique_ptr<TestDatabase> m_db;
    ScriptedMessages *m_msg = nullptr;
    std::unique_ptr<QSignalSpy> m_ended;
};

void TestShell::init()
{
    ShellEvents::instance()->quitsEventLoop = false; // the signal tells the tests
    m_db = std::make_unique<TestDatabase>();
    m_ended = std::make_unique<QSignalSpy>(ShellEvents::instance(), &ShellEvents::programEnded);
}

void TestShell::cleanup()
{
    shutDown();
    m_msg = nullptr;
    m_db.reset();
}

bool TestShell::start(const QString &url)
{
    StartupOptions o;
    o.arguments = {u"--database"_s, url};
    o.showSplash = false;
    o.messages = [this] {
        auto m = std::make_unique<ScriptedMessages>();
        m_msg = m.get();
        return m;
    };
    return startUp(o);
}

void TestShell::addUser(const QString &name, const QVariant &password, bool allFlags)
{
    QString cols = u"\"用户名\", \"密码\""_s, marks = u"?, ?"_s;
    QVariantList values{name, password.isNull() ? QVariant() : QVariant(hashPassword(password.toString()))};
    const bool pg = m_db->engine() == TestDatabase::Engine::PostgreSQL;
    for (const QString &p : permissionColumns()) {
        cols += u", \""_s + p + u'"';
        marks += u", ?"_s;
        values << (pg ? QVariant(allFlags) : QVariant(allFlags ? 1 : 0));
    }
    m_db->exec(u"INSERT INTO \"用户\" ("_s + cols + u") VALUES ("_s + marks + u')', values);
}

void TestShell::addStudents(const QStringList &names)
{
    for (const QString &n : names)
        m_db->exec(u"INSERT INTO \"客户资料表\" (\"学生姓名\", \"编号\") VALUES (?, ?)"_s, {n, n});
}

void TestShell::loginAs(const QString &user, const QString &password)
{
    QVERIFY(start(m_db->url()));
    const int i = login_form->username_cb->findText(user);
    QVERIFY2(i >= 0, qPrintable(user));
    login_form->username_cb->setCurrentIndex(i);
    login_form->password_edit->setText(password);
    QTest::mouseClick(login_form->TeThemeButton2, Qt::LeftButton);
    QVERIFY(main_form->isVisible());
    m_msg->clear();
}

// --------------------------------------------------------------------------------- start-up

void TestShell::startUpOrder()
{
    QVERIFY(start(m_db->url()));
    const QStringList order = createdWindows();
    QVERIFY(order.size() >= 3);
    QCOMPARE(order.mid(0, 2), (QStringList{u"login_form"_s, u"main_form"_s}));
    // Later windows follow in their fixed order; whatever is present keeps it.
    const QStringList fixed{u"login_form"_s, u"main_form"_s, u"editstu_form"_s, u"teachrecord_form"_s,
                            u"editteachrecord_form"_s, u"edittea_form"_s, u"selecttime_form"_s,
                            u"selectduixiang_form"_s, u"selectcourse_form"_s, u"stuquery_form"_s,
                            u"teaquery_form"_s, u"about_form"_s};
    int last = -1;
    for (const QString &w : order) {
        const int at = int(fixed.indexOf(w));
        QVERIFY2(at > last, qPrintable(w));
        last = at;
    }
    QVERIFY(DM);
    QCOMPARE(QCoreApplication::applicationName(), u"Tavimor"_s);
    QVERIFY(login_form->isVisible());
    QVERIFY(!main_form->isVisible());
    for (TableCursor *c : DM->cursors())
        QVERIFY2(c->isOpen(), qPrintable(c->objectName()));
}

void TestShell::startUpFailsOnBadDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << u"missing"_s << u"找不到数据库文件"_s;
    QTest::newRow("not a database") << u"garbage"_s << u"not a database"_s;
}

void TestShell::startUpFailsOnBadDatabase()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString url = dir.filePath(u"x.db"_s);
    if (kind == u"garbage"_s) {
        QFile f(url);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'z'));
    }
    QVERIFY(!start(url));
    QVERIFY(m_msg);
    QCOMPARE(m_msg->shown().size(), 1);
    QCOMPARE(m_msg->shown().first().method, u"errorReport"_s);
    QVERIFY2(m_msg->lastText().contains(message), qPrintable(m_msg->lastText()));
    QCOMPARE(DM, nullptr);
    QVERIFY(createdWindows().isEmpty());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    if (kind == u"missing"_s)
        QVERIFY(!QFile::exists(url));
}

// --------------------------------------------------------------------------------- login

void TestShell::userList()
{
    addUser(u"张三"_s, u"x"_s, true);
    addUser(u"李四"_s, u"y"_s, true);
    QVERIFY(start(m_db->url()));
    QComboBox *cb = login_form->username_cb;
    QCOMPARE(cb->count(), 3);
    QCOMPARE(cb->itemText(0), kSuperUser);
    QCOMPARE(cb->itemText(1), u"张三"_s);
    QCOMPARE(cb->itemText(2), u"李四"_s);
    QCOMPARE(cb->currentIndex(), -1);
    QVERIFY(cb->currentText().isEmpty());
    QVERIFY(!cb->isEditable());
    QCOMPARE(login_form->password_edit->echoMode(), QLineEdit::Password);
    QVERIFY(login_form->TeThemeButton2->isDefault());
    QCOMPARE(login_form->windowTitle(), u"欢迎使用Tavimor"_s);
    QCOMPARE(login_form->TeThemeButton2->text(), u"&L登陆"_s);
    QCOMPARE(login_form->TeThemeButton1->text(), u"&C取消"_s);
    QCOMPARE(login_form->TeThemeLabel4->text(), u"密  码："_s);
    QVERIFY(!login_form->TeThemeLabel2->isEnabled());
    // Tab order: password, user box, cancel, log in.
    QCOMPARE(login_form->password_edit->nextInFocusChain(), static_cast<QWidget *>(cb));
}

void TestShell::login_data()
{
    QTest::addColumn<QString>("user"); // empty: nobody chosen
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("success");

    QTest::newRow("super user, right") << kSuperUser << u"admin-pw"_s << true;
    QTest::newRow("super user, wrong") << kSuperUser << u"admin"_s << false;
    QTest::newRow("letter case counts") << u"张三"_s << u"abc"_s << false;
    QTest::newRow("right, mixed case") << u"张三"_s << u"Abc"_s << true;
    QTest::newRow("null password never matches") << u"无密码"_s << QString() << false;
    QTest::newRow("empty password, empty box") << u"空密码"_s << QString() << true;
    QTest::newRow("empty password, a blank typed") << u"空密码"_s << u" "_s << false;
    QTest::newRow("duplicate name: the first decides") << u"重名"_s << u"one"_s << true;
    QTest::newRow("duplicate name: the second loses") << u"重名"_s << u"two"_s << false;
    QTest::newRow("a quote is part of the name") << u"O'Brien"_s << u"q"_s << true;
    QTest::newRow("nobody chosen") << QString() << u"admin-pw"_s << false;
}

void TestShell::login()
{
    QFETCH(QString, user);
    QFETCH(QString, typed);
    QFETCH(bool, success);
    addUser(u"张三"_s, u"Abc"_s, true);
    addUser(u"无密码"_s, QVariant(), true);
    addUser(u"空密码"_s, u""_s, true);
    addUser(u"重名"_s, u"one"_s, true);
    addUser(u"重名"_s, u"two"_s, true);
    addUser(u"O'Brien"_s, u"q"_s, true);
    QVERIFY(start(m_db->url()));

    if (!user.isEmpty())
        login_form->username_cb->setCurrentIndex(login_form->username_cb->findText(user));
    QTest::keyClicks(login_form->password_edit, typed);
    QTest::mouseClick(login_form->TeThemeButton2, Qt::LeftButton);

    QCOMPARE(main_form->isVisible(), success);
    QCOMPARE(login_form->isVisible(), !success);
    if (success) {
        QVERIFY(m_msg->shown().isEmpty());
        QCOMPARE(login_form->failedAttempts(), 0);
        QCOMPARE(currentUser(), user);
        // The user table is left filtered to the logged-in row.
        QVERIFY(DM->user_table->isFiltered());
        const int sameName = m_db->scalar(u"SELECT count(*) FROM \"用户\" WHERE \"用户名\" = ?"_s, {user}).toInt();
        QCOMPARE(DM->user_table->recordCount(), sameName);
        QCOMPARE(DM->user_table->value(u"用户名"_s).toString(), user);
    } else {
        QCOMPARE(m_msg->texts(), QStringList{u"对不起,您的密码有误请重新输入!"_s});
        QCOMPARE(m_msg->shown().first().title, u"Tavimor"_s);
        QCOMPARE(login_form->failedAttempts(), 1);
        QCOMPARE(login_form->password_edit->text(), typed); // the text stays
        QCOMPARE(m_ended->count(), 0);
    }
}

void TestShell::thirdWrongPasswordEnds()
{
    QVERIFY(start(m_db->url()));
    login_form->username_cb->setCurrentIndex(0);
    for (int attempt = 1; attempt <= 3; ++attempt) {
        login_form->password_edit->setText(u"wrong"_s);
        login_form->TeThemeButton2Click();
        QCOMPARE(login_form->failedAttempts(), attempt);
        QCOMPARE(m_ended->count(), attempt == 3 ? 1 : 0);
    }
    QCOMPARE(m_msg->texts(), (QStringList{u"对不起,您的密码有误请重新输入!"_s, u"对不起,您的密码有误请重新输入!"_s,
                                          u"对不起,您的密码有误请重新输入!"_s, u"对不起,你的密码严重有误,请退出!"_s}));
    QVERIFY(!main_form->isVisible());
}

void TestShell::cancelAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("yes") << int(MessageService::Yes) << true;
    QTest::newRow("no") << int(MessageService::No) << false;
    QTest::newRow("closed box") << 2 << false;
}

void TestShell::cancelAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, ends);
    QVERIFY(start(m_db->url()));
    m_msg->answer(answer);
    QTest::mouseClick(login_form->TeThemeButton1, Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{u"您确实要退出吗?"_s});
    QCOMPARE(m_msg->shown().first().title, u"Warning"_s);
    QCOMPARE(m_ended->count(), ends ? 1 : 0);
    if (ends)
        QCOMPARE(m_ended->first().first().toInt(), 0);
}

void TestShell::closeIconEndsWithoutQuestion()
{
    QVERIFY(start(m_db->url()));
    QVERIFY(login_form->close());
    QCOMPARE(m_ended->count(), 1);
    QVERIFY(m_msg->shown().isEmpty());
}

// --------------------------------------------------------------------------------- main window

void TestShell::afterLogin()
{
    loginAs(kSuperUser, u"admin-pw"_s);
    QCOMPARE(main_form->windowTitle(), u"家教服务中心客户管理系统"_s);
    QCOMPARE(main_form->PageControl1->currentWidget(), main_form->TabSheet3);
    QCOMPARE(main_form->panel0->text(), u"当前管理员:超级管理员"_s);
    QVERIFY(main_form->panel1->text().isEmpty());
    QVERIFY(main_form->isMaximized());
    const QList<QToolButton *> enabled{main_form->ToolButton6, main_form->ToolButton8, main_form->close_button};
    for (QToolButton *b : main_form->ToolBar1->findChildren<QToolButton *>()) {
        if (b->objectName().isEmpty() || b->objectName().startsWith(u"qt_"_s))
            continue; // the toolbar's own extension button
        QCOMPARE(b->isEnabled(), enabled.contains(b));
    }
    QVERIFY(!main_form->N6->isEnabled());
    QVERIFY(!main_form->N7->isEnabled());
    QCOMPARE(main_form->showingRegister(), Tmain_form::Register::None);
    QCOMPARE(main_form->N6->shortcut(), QKeySequence(u"Ctrl+Alt+S"_s));
    QCOMPARE(main_form->N28->shortcut(), QKeySequence(u"Ctrl+E"_s));
}

void TestShell::registerSwitch()
{
    addStudents({u"甲"_s, u"乙"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    Tmain_form *m = main_form;

    // Each step: click, then page, title, panel 1, checks, search entries.
    struct Step {
        QToolButton *button;
        QWidget *page;
        QString title;
        QString panel;
        bool stuChecked, teaChecked, n6, n7, commands;
    };
    const QList<Step> steps{
        {m->ToolButton6, m->TabSheet1, u"Tavimor-[学生信息中心]"_s, u"当前共有学生记录2条"_s, true, false, true, false, true},
        {m->ToolButton8, m->TabSheet2, u"Tavimor-[老师信息中心]"_s, u"当前共有老师记录0条"_s, false, true, false, true, true},
        {m->ToolButton8, m->TabSheet3, u"Tavimor"_s, QString(), false, false, false, false, false},
        {m->ToolButton6, m->TabSheet1, u"Tavimor-[学生信息中心]"_s, u"当前共有学生记录2条"_s, true, false, true, false, true},
        {m->ToolButton6, m->TabSheet3, u"Tavimor"_s, QString(), false, false, false, false, false},
    };
    int n = 0;
    for (const Step &s : steps) {
        const QByteArray at = "step " + QByteArray::number(++n);
        QTest::mouseClick(s.button, Qt::LeftButton);
        QVERIFY2(m->PageControl1->currentWidget() == s.page, at.constData());
        QCOMPARE(m->windowTitle(), s.title);
        QCOMPARE(m->panel1->text(), s.panel);
        QCOMPARE(m->ToolButton6->isChecked(), s.stuChecked);
        QCOMPARE(m->ToolButton8->isChecked(), s.teaChecked);
        QCOMPARE(m->stu_menuitem->isChecked(), s.stuChecked);
        QCOMPARE(m->tea_menuitem->isChecked(), s.teaChecked);
        QCOMPARE(m->N6->isEnabled(), s.n6);
        QCOMPARE(m->N7->isEnabled(), s.n7);
        for (QToolButton *b : {m->add_button, m->del_button, m->modify_button, m->view_button, m->quanbu_button,
                               m->print_button, m->query_button, m->teachrecord_button})
            QCOMPARE(b->isEnabled(), s.commands);
    }
    // The menu entry does the same as the button.
    m->stu_menuitem->trigger();
    QCOMPARE(m->showingRegister(), Tmain_form::Register::Students);
}

void TestShell::refusals_data()
{
    QTest::addColumn<QString>("page"); // "stu" or "tea" or "" (start page)
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");

    const QString no = u"对不起,您没有此权限!"_s;
    QTest::newRow("add student") << u"stu"_s << u"add_button"_s << no;
    QTest::newRow("delete student") << u"stu"_s << u"del_button"_s << no;
    QTest::newRow("change student") << u"stu"_s << u"modify_button"_s << no;
    QTest::newRow("search students") << u"stu"_s << u"query_button"_s << no;
    QTest::newRow("add teacher") << u"tea"_s << u"add_button"_s << no;
    QTest::newRow("delete teacher") << u"tea"_s << u"del_button"_s << no;
    QTest::newRow("change teacher") << u"tea"_s << u"modify_button"_s << no;
    QTest::newRow("search teachers") << u"tea"_s << u"N7"_s << no;
    QTest::newRow("student sheet") << u""_s << u"N4"_s << no;
    QTest::newRow("student sheet, company text") << u""_s << u"N36"_s << no;
    QTest::newRow("teacher contact list") << u""_s << u"N38"_s << no;
    QTest::newRow("student address list") << u""_s << u"N40"_s << no;
    QTest::newRow("subjects") << u""_s << u"N21"_s << no;
    QTest::newRow("student grades") << u""_s << u"N25"_s << no;
    QTest::newRow("backup") << u""_s << u"N9"_s << no;
    QTest::newRow("users") << u""_s << u"N30"_s << no;
    QTest::newRow("consultants") << u""_s << u"N32"_s << no;
    QTest::newRow("company: the full-width comma") << u""_s << u"N15"_s << u"对不起，您没有此权限!"_s;
}

void TestShell::refusals()
{
    QFETCH(QString, page);
    QFETCH(QString, command);
    QFETCH(QString, message);
    addUser(u"无权"_s, u"pw"_s, false);
    addStudents({u"甲"_s});
    loginAs(u"无权"_s, u"pw"_s);
    if (page == u"stu"_s)
        main_form->ToolButton6Click();
    else if (page == u"tea"_s)
        main_form->ToolButton8Click();
    const int students = DM->stu_table->recordCount();

    QObject *o = main_form->findChild<QObject *>(command);
    QVERIFY2(o, qPrintable(command));
    if (auto *a = qobject_cast<QAction *>(o))
        a->trigger();
    else
        QTest::mouseClick(qobject_cast<QToolButton *>(o), Qt::LeftButton);

    QCOMPARE(m_msg->texts(), QStringList{message});
    QCOMPARE(DM->stu_table->recordCount(), students);
    QCOMPARE(DM->stu_table->state(), TableCursor::State::Browse);
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
}

void TestShell::deleteAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("yes deletes the current row") << int(MessageService::Yes) << QStringList{u"甲"_s, u"丙"_s};
    QTest::newRow("no deletes nothing") << int(MessageService::No) << QStringList{u"甲"_s, u"乙"_s, u"丙"_s};
}

void TestShell::deleteAsks()
{
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    addStudents({u"甲"_s, u"乙"_s, u"丙"_s});
    m_db->exec(u"INSERT INTO \"授课记录\" (\"学生编号\", \"老师编号\") VALUES ('乙', '1')"_s);
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    DM->stu_table->next();
    m_msg->answer(answer);
    QTest::mouseClick(main_form->del_button, Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{u"您确实要删除乙的记录吗?"_s});
    QStringList names;
    for (int r = 0; r < DM->stu_table->recordCount(); ++r)
        names << DM->stu_table->valueAt(r, 1).toString();
    QCOMPARE(names, left);
    QCOMPARE(m_db->scalar(u"SELECT count(*) FROM \"客户资料表\""_s).toInt(), left.size());
    // Teaching records stay.
    QCOMPARE(m_db->scalar(u"SELECT count(*) FROM \"授课记录\""_s).toInt(), 1);
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录%1条"_s.arg(left.size()));
}

void TestShell::emptyRegister_data()
{
    QTest::addColumn<bool>("students");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::newRow("delete student") << true << u"del_button"_s << u"没有数据可删除!"_s;
    QTest::newRow("change student") << true << u"modify_button"_s << u"还没有学生记录,请增加!"_s;
    QTest::newRow("view student") << true << u"view_button"_s << u"还没有学生记录,请增加!"_s;
    QTest::newRow("student teaching records") << true << u"teachrecord_button"_s << u"请先增加学生的基本信息!"_s;
    QTest::newRow("delete teacher") << false << u"del_button"_s << u"没有数据可删除!"_s;
    QTest::newRow("change teacher") << false << u"modify_button"_s << u"还没有老师记录,请增加!"_s;
    QTest::newRow("view teacher") << false << u"view_button"_s << u"还没有老师记录,请增加!"_s;
    QTest::newRow("teacher teaching records") << false << u"teachrecord_button"_s << u"请先增加老师的基本信息!"_s;
}

void TestShell::emptyRegister()
{
    QFETCH(bool, students);
    QFETCH(QString, command);
    QFETCH(QString, message);
    addStudents({u"甲"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    if (students) {
        main_form->ToolButton6Click();
        // After a search that found nothing, the register counts as empty.
        DM->stu_table->setFilter(u"学生姓名='无此人'"_s);
        DM->stu_table->setFiltered(true);
    } else {
        main_form->ToolButton8Click();
    }
    QTest::mouseClick(main_form->findChild<QToolButton *>(command), Qt::LeftButton);
    QCOMPARE(m_msg->texts(), QStringList{message});
    QCOMPARE(DM->stu_table->state(), TableCursor::State::Browse);
    QCOMPARE(m_db->scalar(u"SELECT count(*) FROM \"客户资料表\""_s).toInt(), 1);
}

void TestShell::countFollowsFilter()
{
    addStudents({u"王一"_s, u"李二"_s, u"王三"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录3条"_s);
    DM->stu_table->setFilter(u"学生姓名 like '%王%'"_s);
    DM->stu_table->setFiltered(true);
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录2条"_s);
    QCOMPARE(main_form->DBGrid1->model()->rowCount(), 2);
    QTest::mouseClick(main_form->quanbu_button, Qt::LeftButton);
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录3条"_s);
    QVERIFY(!DM->stu_table->isFiltered());
    QCOMPARE(DM->stu_table->filter(), u"学生姓名 like '%王%'"_s);
}

void TestShell::exitAsks_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("answer");
    for (const QString &path : {u"button"_s, u"menu"_s, u"ctrl+e"_s, u"close icon"_s}) {
        QTest::newRow(qPrintable(path + u", yes"_s)) << path << int(MessageService::Yes);
        QTest::newRow(qPrintable(path + u", no"_s)) << path << int(MessageService::No);
    }
}

void TestShell::exitAsks()
{
    QFETCH(QString, path);
    QFETCH(int, answer);
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_form));
    m_msg->answer(answer);
    if (path == u"button"_s)
        QTest::mouseClick(main_form->close_button, Qt::LeftButton);
    else if (path == u"menu"_s)
        main_form->N28->trigger();
    else if (path == u"ctrl+e"_s)
        QTest::keyClick(main_form, Qt::Key_E, Qt::ControlModifier);
    else
        main_form->close();
    QCOMPARE(m_msg->texts(), QStringList{u"确实要退出本系统!"_s});
    const bool yes = answer == MessageService::Yes;
    QCOMPARE(m_ended->count(), yes ? 1 : 0);
    QCOMPARE(main_form->isVisible(), !yes);
}

void TestShell::gridIsReadOnly()
{
    addStudents({u"甲"_s, u"乙"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    DBGrid *g = main_form->DBGrid1;
    for (int key : {int(Qt::Key_Delete), int(Qt::Key_Insert), int(Qt::Key_F2), int(Qt::Key_Return), int(Qt::Key_A)})
        QTest::keyClick(g, Qt::Key(key));
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(DM->stu_table->state(), TableCursor::State::Browse);
    QCOMPARE(m_db->scalar(u"SELECT count(*) FROM \"客户资料表\""_s).toInt(), 2);
    QCOMPARE(m_db->scalar(u"SELECT count(*) FROM \"客户资料表\" WHERE \"学生姓名\" IN ('甲','乙')"_s).toInt(), 2);
}

void TestShell::aboutClosesOnRightClickOnly()
{
    QVERIFY(start(m_db->url()));
    about_form->show();
    QVERIFY(about_form->isVisible());
    QCOMPARE(about_form->Shape1->toolTip(), u"单击右键关闭！"_s);
    QTest::mouseClick(about_form->Shape1, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::keyClick(about_form, Qt::Key_Escape);
    QVERIFY(about_form->isVisible());
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(200, 120), about_form->Shape1->mapToGlobal(QPoint(200, 120)));
    QApplication::sendEvent(about_form->Shape1, &right);
    QVERIFY(!about_form->isVisible());
}

void TestShell::editorOpening_data()
{
    QTest::addColumn<bool>("students");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("lianxuEnabled");
    QTest::addColumn<bool>("stepping");
    QTest::addColumn<bool>("saveEnabled");
    QTest::addColumn<int>("state");

    const int insert = int(TableCursor::State::Insert), edit = int(TableCursor::State::Edit),
              browse = int(TableCursor::State::Browse);
    QTest::newRow("add student") << true << u"add_button"_s << u"增加学生记录"_s << u"[学生信息]-基本信息录入"_s << true
                                 << false << true << insert;
    QTest::newRow("change student") << true << u"modify_button"_s << u"修改学生记录"_s << u"[学生信息]-基本信息修改"_s
                                    << false << false << true << edit;
    QTest::newRow("view student") << true << u"view_button"_s << u"查看学生记录"_s << u"[学生信息]-查看基本信息"_s << false
                                  << true << false << browse;
    QTest::newRow("add teacher") << false << u"add_button"_s << u"增加老师记录"_s << u"[老师信息]-基本信息录入"_s << true
                                 << false << true << insert;
    QTest::newRow("change teacher") << false << u"modify_button"_s << u"修改老师记录"_s << u"[老师信息]-基本信息修改"_s
                                    << false << false << true << edit;
    QTest::newRow("view teacher") << false << u"view_button"_s << u"查看老师记录"_s << u"[老师信息]-查看基本信息"_s << false
                                  << true << false << browse;
}

void TestShell::editorOpening()
{
    QFETCH(bool, students);
    QFETCH(QString, command);
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(bool, lianxuEnabled);
    QFETCH(bool, stepping);
    QFETCH(bool, saveEnabled);
    QFETCH(int, state);
    addStudents({u"甲"_s, u"乙"_s});
    m_db->exec(u"INSERT INTO \"员工表\" (\"姓名\", \"编号\") VALUES ('老王', '1'), ('老李', '2')"_s);
    loginAs(kSuperUser, u"admin-pw"_s);
    if (students)
        main_form->ToolButton6Click();
    else
        main_form->ToolButton8Click();
    TableCursor *cursor = students ? DM->stu_table : DM->tea_table;
    QDialog *editor = students ? static_cast<QDialog *>(editstu_form) : static_cast<QDialog *>(edittea_form);
    QCheckBox *lianxu = editor->findChild<QCheckBox *>(u"lianxu_check"_s);
    QLabel *header = editor->findChild<QLabel *>(students ? u"Panel1"_s : u"Panel2"_s);
    QVERIFY(lianxu && header);

    // The editor is modal: note what it shows, close it, then check.
    struct Seen {
        bool visible = false, lianxuEnabled = false, lianxuChecked = true, up = false, down = false, save = false;
        QString title, heading;
        int state = -1;
    } seen;
    QTimer::singleShot(0, editor, [&] {
        seen = {editor->isVisible(),
                lianxu->isEnabled(),
                lianxu->isChecked(),
                editor->findChild<QPushButton *>(u"up_button"_s)->isEnabled(),
                editor->findChild<QPushButton *>(u"down_button"_s)->isEnabled(),
                editor->findChild<QPushButton *>(u"save_button"_s)->isEnabled(),
                editor->windowTitle(),
                header->text(),
                int(cursor->state())};
        editor->findChild<QPushButton *>(u"close_button"_s)->click();
        if (editor->isVisible())
            editor->reject();
    });
    QTest::mouseClick(main_form->findChild<QToolButton *>(command), Qt::LeftButton);
    QVERIFY(seen.visible);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.heading, heading);
    QCOMPARE(seen.lianxuEnabled, lianxuEnabled);
    QVERIFY(!seen.lianxuChecked);
    QCOMPARE(seen.up, stepping);
    QCOMPARE(seen.down, stepping);
    QCOMPARE(seen.save, saveEnabled);
    QCOMPARE(seen.state, state);
    QVERIFY(!editor->isVisible());
    // Closing discards: nothing was added or changed.
    QCOMPARE(cursor->state(), TableCursor::State::Browse);
    QCOMPARE(cursor->recordCount(), 2);
    QVERIFY(m_msg->shown().isEmpty());
}

void TestShell::addThroughMainWindow()
{
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录0条"_s);
    QTimer::singleShot(0, editstu_form, [&] {
        editstu_form->name_dbedit->setText(u"新同学"_s);
        editstu_form->sex_dbrg->setItemIndex(0);
        editstu_form->grade_dbcb->setEditText(u"初一"_s);
        QTest::keyClicks(editstu_form->tel_dbedit, u"01012345678"_s);
        editstu_form->address_dbedit->setText(u"某路1号"_s);
        editstu_form->pricerequest_dbcb->setEditText(u"20元/小时"_s);
        editstu_form->save_button->click();
        if (editstu_form->isVisible()) // a message kept it open: the checks below say which
            editstu_form->close_button->click();
    });
    QTest::mouseClick(main_form->add_button, Qt::LeftButton);
    QVERIFY2(m_msg->shown().isEmpty(), qPrintable(m_msg->texts().join(u" | "_s)));
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录1条"_s);
    QCOMPARE(main_form->DBGrid1->model()->rowCount(), 1);
    QCOMPARE(m_db->scalar(u"SELECT \"编号\" FROM \"客户资料表\" WHERE \"学生姓名\" = '新同学'"_s).toString(), u"1"_s);
}

void TestShell::menusAndToolbar_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char *name, const QString &caption, const QString &shortcut, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << caption << shortcut << enabled;
    };
    row("ToolButton6", u"&S学生信息"_s, {}, true);
    row("ToolButton8", u"&T老师信息"_s, {}, true);
    row("add_button", u"&A增加"_s, {}, false);
    row("del_button", u"&D删除"_s, {}, false);
    row("modify_button", u"&M修改"_s, {}, false);
    row("view_button", u"&V查看"_s, {}, false);
    row("quanbu_button", u"&Q全部"_s, {}, false);
    row("print_button", u"&P打印"_s, {}, false);
    row("query_button", u"&F查询"_s, {}, false);
    row("teachrecord_button", u"&T授课记录"_s, {}, false);
    row("close_button", u"&C退出"_s, {}, true);
    row("N1", u"『&I信息管理』"_s, {}, true);
    row("stu_menuitem", u"学生信息"_s, u"Ctrl+S"_s, true);
    row("tea_menuitem", u"老师信息"_s, u"Ctrl+T"_s, true);
    row("N21", u"课程设置"_s, {}, true);
    row("N22", u"职称设置"_s, {}, true);
    row("N23", u"年级设置"_s, {}, true);
    row("N25", u"学生年级"_s, {}, true);
    row("N26", u"老师年级"_s, {}, true);
    row("N24", u"专业设置"_s, {}, true);
    row("N28", u"退出"_s, u"Ctrl+E"_s, true);
    row("N2", u"『&Q查询打印』"_s, {}, true);
    row("N6", u"学生查询"_s, u"Ctrl+Alt+S"_s, false);
    row("N7", u"老师查询"_s, u"Ctrl+Alt+T"_s, false);
    row("N35", u"打印信息表"_s, {}, true);
    row("N36", u"学生信息"_s, {}, true);
    row("N37", u"老师信息"_s, {}, true);
    row("N38", u"老师联系方式"_s, {}, true);
    row("N39", u"学生地址"_s, {}, true);
    row("N8", u"『&S系统设置』"_s, {}, true);
    row("N9", u"数据备份"_s, {}, true);
    row("N15", u"公司信息修改"_s, {}, true);
    row("N30", u"管理员设置"_s, {}, true);
    row("N31", u"推广员设置"_s, {}, true);
    row("N32", u"顾问设置"_s, {}, true);
    row("N11", u"『&H帮助』"_s, {}, true);
    row("N12", u"帮助主题"_s, {}, true);
    row("N13", u"在线帮助"_s, {}, true);
    row("N18", u"关于我们"_s, {}, true);
    row("N19", u"关于"_s, {}, true);
    row("N4", u"打印学生表"_s, {}, true);
    row("N5", u"打印老师表"_s, {}, true);
    row("N10", u"老师联系方式"_s, {}, true);
    row("N40", u"学生地址"_s, {}, true);
    row("N3", u"增加"_s, {}, true);
    row("N43", u"删除"_s, {}, true);
    row("N44", u"修改"_s, {}, true);
    row("N47", u"查询"_s, {}, true);
    row("N46", u"授课记录"_s, {}, true);
}

void TestShell::menusAndToolbar()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabled);
    QVERIFY(start(m_db->url()));
    QObject *o = main_form->findChild<QObject *>(name);
    QVERIFY2(o, qPrintable(name));
    if (auto *b = qobject_cast<QToolButton *>(o)) {
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->isEnabled(), enabled);
        QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!b->icon().isNull());
    } else if (auto *m = qobject_cast<QMenu *>(o)) {
        QCOMPARE(m->title(), caption);
        QCOMPARE(m->isEnabled(), enabled);
    } else {
        auto *a = qobject_cast<QAction *>(o);
        QVERIFY(a);
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->shortcut(), QKeySequence(shortcut));
        QCOMPARE(a->isEnabled(), enabled);
    }
    // The print button opens the print menu; the grids carry the register pop-up.
    QCOMPARE(main_form->print_button->menu(), main_form->print_popmenu);
    QCOMPARE(main_form->DBGrid1->contextMenuPolicy(), Qt::CustomContextMenu);
}

// Runs the given main-window command while the editor it opens is shown modally, and closes it.
static bool opensEditor(QDialog *editor, const std::function<void()> &command)
{
    bool shown = false;
    QTimer::singleShot(0, editor, [&] {
        shown = editor->isVisible();
        editor->reject();
    });
    command();
    if (editor->isVisible())
        editor->reject();
    return shown;
}

void TestShell::permissionPerRegister()
{
    addUser(u"只加学生"_s, u"pw"_s, false);
    m_db->exec(u"UPDATE \"用户\" SET \"添加学生\" = ? WHERE \"用户名\" = '只加学生'"_s,
               {m_db->engine() == TestDatabase::Engine::PostgreSQL ? QVariant(true) : QVariant(1)});
    loginAs(u"只加学生"_s, u"pw"_s);
    main_form->ToolButton6Click();
    QVERIFY(opensEditor(editstu_form, [] { main_form->add_buttonClick(); }));
    QVERIFY(m_msg->shown().isEmpty());
    main_form->ToolButton8Click();
    QVERIFY(!opensEditor(edittea_form, [] { main_form->add_buttonClick(); }));
    QCOMPARE(m_msg->texts(), QStringList{u"对不起,您没有此权限!"_s});
    QCOMPARE(DM->tea_table->state(), TableCursor::State::Browse);
}

void TestShell::permissionReadAtEveryCommand()
{
    addStudents({u"甲"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    const QVariant no = m_db->engine() == TestDatabase::Engine::PostgreSQL ? QVariant(false) : QVariant(0);
    m_db->exec(u"UPDATE \"用户\" SET \"删除学生\" = ? WHERE \"用户名\" = ?"_s, {no, kSuperUser});
    main_form->del_buttonClick();
    QCOMPARE(m_msg->texts(), QStringList{u"对不起,您没有此权限!"_s});
    m_db->exec(u"UPDATE \"用户\" SET \"删除学生\" = NULL WHERE \"用户名\" = ?"_s, {kSuperUser});
    main_form->del_buttonClick();
    QCOMPARE(m_msg->lastText(), u"对不起,您没有此权限!"_s);
    m_msg->clear();
    m_db->exec(u"UPDATE \"用户\" SET \"删除学生\" = NOT COALESCE(\"删除学生\", ?) WHERE \"用户名\" = ?"_s,
               {no, kSuperUser});
    m_msg->answerNo();
    main_form->del_buttonClick();
    QCOMPARE(m_msg->texts(), QStringList{u"您确实要删除甲的记录吗?"_s});
}

void TestShell::missingUserRowRefuses()
{
    addStudents({u"甲"_s});
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    m_db->exec(u"DELETE FROM \"用户\""_s);
    for (auto command : {&Tmain_form::add_buttonClick, &Tmain_form::del_buttonClick, &Tmain_form::modify_buttonClick,
                         &Tmain_form::query_buttonClick, &Tmain_form::N21Click})
        (main_form->*command)();
    QCOMPARE(m_msg->texts(), QStringList(5, u"对不起,您没有此权限!"_s));
    QCOMPARE(DM->stu_table->state(), TableCursor::State::Browse);
    QCOMPARE(DM->stu_table->recordCount(), 1);
}

void TestShell::commandsWithoutPermission()
{
    addStudents({u"甲"_s, u"乙"_s});
    addUser(u"无权"_s, u"pw"_s, false);
    loginAs(u"无权"_s, u"pw"_s);
    main_form->ToolButton6Click();
    DM->stu_table->setFilter(u"学生姓名='甲'"_s);
    DM->stu_table->setFiltered(true);
    QVERIFY(opensEditor(editstu_form, [] { main_form->view_buttonClick(); }));
    main_form->quanbu_buttonClick();
    QCOMPARE(DM->stu_table->recordCount(), 2);
    main_form->teachrecord_buttonClick();
    QTimer::singleShot(0, about_form, [] {
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(about_form->Shape1, &right);
    });
    main_form->N19Click();
    QVERIFY(!m_msg->texts().contains(u"对不起,您没有此权限!"_s));
}

void TestShell::teachingRecordsFilter_data()
{
    QTest::addColumn<bool>("students");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("count");
    QTest::newRow("student") << true << u"学生编号='7'"_s << 2;
    QTest::newRow("teacher") << false << u"老师编号='9'"_s << 1;
}

void TestShell::teachingRecordsFilter()
{
    QFETCH(bool, students);
    QFETCH(QString, filter);
    QFETCH(int, count);
    m_db->exec(u"INSERT INTO \"客户资料表\" (\"学生姓名\", \"编号\") VALUES ('甲', '7')"_s);
    m_db->exec(u"INSERT INTO \"员工表\" (\"姓名\", \"编号\") VALUES ('老王', '9')"_s);
    m_db->exec(u"INSERT INTO \"授课记录\" (\"学生编号\", \"老师编号\") VALUES ('7', '9'), ('7', '3'), ('8', '4')"_s);
    loginAs(kSuperUser, u"admin-pw"_s);
    if (students)
        main_form->ToolButton6Click();
    else
        main_form->ToolButton8Click();
    QDialog list;
    list.setObjectName(u"teachrecord_form"_s);
    int shownWith = -1;
    QTimer::singleShot(0, &list, [&] {
        shownWith = DM->teachrecord_table->recordCount();
        list.accept();
    });
    QTest::mouseClick(main_form->teachrecord_button, Qt::LeftButton);
    QCOMPARE(DM->teachrecord_table->filter(), filter);
    QVERIFY(DM->teachrecord_table->isFiltered());
    QVERIFY(DM->teachrecord_table->isOpen());
    QCOMPARE(shownWith, count);
}

namespace {
// A stand-in report: a company label and a preview that counts.
class StandInReport : public QWidget
{
    Q_OBJECT
public:
    StandInReport()
    {
        setObjectName(u"printstu_form"_s);
        label = new QLabel(u"设计时的公司"_s, this);
        label->setObjectName(u"comlabel"_s);
    }
    Q_INVOKABLE void preview() { ++previews; }
    QLabel *label;
    int previews = 0;
};
} // namespace

void TestShell::printCompanyText()
{
    addUser(u"无权"_s, u"pw"_s, false);
    {
        loginAs(u"无权"_s, u"pw"_s);
        StandInReport report;
        main_form->N4Click(); // toolbar print: label untouched, refused
        QCOMPARE(report.label->text(), u"设计时的公司"_s);
        main_form->N36Click(); // main menu: the label changes even though the check refuses
        QCOMPARE(report.label->text(), u"家教服务中心\n电话:01000000000"_s);
        QCOMPARE(report.previews, 0);
        QCOMPARE(m_msg->texts(), QStringList(2, u"对不起,您没有此权限!"_s));
        shutDown();
        m_msg = nullptr;
    }
    StandInReport again;
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->N4Click();
    QCOMPARE(again.previews, 1);
    QCOMPARE(again.label->text(), u"设计时的公司"_s);
    QVERIFY(m_msg->shown().isEmpty());
}

void TestShell::companyRowEditedAfterDialog()
{
    loginAs(kSuperUser, u"admin-pw"_s);
    QDialog company;
    company.setObjectName(u"setcompany_form"_s);
    QTimer::singleShot(0, &company, &QDialog::accept);
    main_form->N15->trigger();
    QCOMPARE(DM->company_table->state(), TableCursor::State::Edit);
    DM->company_table->cancel();
}

void TestShell::disabledSearchEntry()
{
    loginAs(kSuperUser, u"admin-pw"_s);
    main_form->ToolButton6Click();
    QDialog studentSearch, teacherSearch;
    studentSearch.setObjectName(u"stuquery_form"_s);
    teacherSearch.setObjectName(u"teaquery_form"_s);
    int studentShown = 0, teacherShown = 0;
    connect(&studentSearch, &QDialog::finished, this, [&] { ++studentShown; });
    connect(&teacherSearch, &QDialog::finished, this, [&] { ++teacherShown; });
    main_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_form));
    QTimer::singleShot(0, &studentSearch, &QDialog::accept);
    QTest::keyClick(main_form, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(main_form, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
    main_form->N7->trigger(); // a disabled entry does nothing
    QCOMPARE(studentShown, 1);
    QCOMPARE(teacherShown, 0);
    QVERIFY(m_msg->shown().isEmpty());
}

void TestShell::splashDuringStartUp()
{
    Tflash_form splash;
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(splash.buildLabel()->text(), u"Bulid:031104"_s);
    QVERIFY(splash.width() >= 460 && splash.height() >= 240);
    // The label sits in the lower right corner.
    const QRect l = splash.buildLabel()->geometry();
    QVERIFY(l.right() > splash.width() * 3 / 4 && l.bottom() > splash.height() * 3 / 4);

    StartupOptions o;
    o.arguments = {u"--database"_s, m_db->url()};
    o.showSplash = true;
    bool splashWhileOpening = false;
    o.messages = [&] {
        // Called as the data module is made: the splash is up.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == u"flash_form"_s && w->isVisible())
                splashWhileOpening = true;
        auto m = std::make_unique<ScriptedMessages>();
        m_msg = m.get();
        return m;
    };
    QVERIFY(startUp(o));
    QVERIFY(splashWhileOpening);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(w == &splash || w->objectName() != u"flash_form"_s, "the splash outlived start-up");
}

void TestShell::loginKeys()
{
    QVERIFY(start(m_db->url()));
    login_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(login_form));
    QCOMPARE(QApplication::focusWidget(), login_form->password_edit);
    // Esc asks as "&C取消" does; No keeps the dialog.
    m_msg->answerNo();
    QTest::keyClick(login_form->password_edit, Qt::Key_Escape);
    QCOMPARE(m_msg->texts(), QStringList{u"您确实要退出吗?"_s});
    QCOMPARE(m_ended->count(), 0);
    QVERIFY(login_form->isVisible());
    // Enter presses "&L登陆".
    login_form->username_cb->setCurrentIndex(0);
    QTest::keyClicks(login_form->password_edit, u"admin-pw"_s);
    QTest::keyClick(login_form->password_edit, Qt::Key_Return);
    QVERIFY(main_form->isVisible());
}

void TestShell::aboutFromMenu()
{
    loginAs(kSuperUser, u"admin-pw"_s);
    bool modal = false;
    QTimer::singleShot(0, about_form, [&] {
        modal = about_form->isVisible() && QApplication::activeModalWidget() == about_form;
        QMouseEvent left(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                         {});
        QApplication::sendEvent(about_form->Shape1, &left);
        const bool stillOpen = about_form->isVisible();
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(about_form->Shape1, &right);
        if (!stillOpen || about_form->isVisible())
            about_form->done(0);
        modal = modal && stillOpen;
    });
    main_form->N19->trigger();
    QVERIFY(modal);
    QVERIFY(!about_form->isVisible());
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
