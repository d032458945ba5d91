// Start-up, the login dialog, the main window's commands and the about box, through the real windows.
#include "shell/about_form.h"
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

    // The editor is modal: look at it while it shows, then close it.
    bool looked = false;
    QTimer::singleShot(0, editor, [&] {
        looked = true;
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowTitle(), title);
        QCOMPARE(header->text(), heading);
        QCOMPARE(lianxu->isEnabled(), lianxuEnabled);
        QVERIFY(!lianxu->isChecked());
        QCOMPARE(editor->findChild<QPushButton *>(u"up_button"_s)->isEnabled(), stepping);
        QCOMPARE(editor->findChild<QPushButton *>(u"down_button"_s)->isEnabled(), stepping);
        QCOMPARE(editor->findChild<QPushButton *>(u"save_button"_s)->isEnabled(), saveEnabled);
        QCOMPARE(int(cursor->state()), state);
        editor->findChild<QPushButton *>(u"close_button"_s)->click();
    });
    QTest::mouseClick(main_form->findChild<QToolButton *>(command), Qt::LeftButton);
    QVERIFY(looked);
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
    });
    QTest::mouseClick(main_form->add_button, Qt::LeftButton);
    QVERIFY2(m_msg->shown().isEmpty(), qPrintable(m_msg->texts().join(u" | "_s)));
    QVERIFY(!editstu_form->isVisible());
    QCOMPARE(main_form->panel1->text(), u"当前共有学生记录1条"_s);
    QCOMPARE(main_form->DBGrid1->model()->rowCount(), 1);
    QCOMPARE(m_db->scalar(u"SELECT \"编号\" FROM \"客户资料表\" WHERE \"学生姓名\" = '新同学'"_s).toString(), u"1"_s);
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
