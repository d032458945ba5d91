// "帮助主题": the help library loaded once and kept, its two failures, and the help viewer on the
// real jiajiao.chm built from help/.
#include "shell/chmfile.h"
#include "dm.h"
#include "shell/helploader.h"
#include "shell/helpviewer.h"
#include "testdb.h"

#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using tavimor::test::TestDatabase;

class TestHelp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void loadsOnceAcrossCalls();
    void loadFailures_data();
    void loadFailures();
    void retriesAfterFailure();

    void opensProgramHelpAtContents();
    void helpFileProblemsShownByViewer_data();
    void helpFileProblemsShownByViewer();

    void everyTopicOpens();
    void styleSheetAndLinksComeFromTheFile();
    void indexBoxNarrowsAndDisplays();
    void keywordOfSeveralPages_data();
    void keywordOfSeveralPages();
    void contentsTreeShowsPages();

    void parseSitemap_data();
    void parseSitemap();
    void topicPaths_data();
    void topicPaths();
    void decodesChineseText();

private:
    QString builtChm() const;
    ScriptedMessages *m_messages = nullptr;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TDM> m_dm;
    QWidget m_owner;
};

// Chinese text reaches a box through the input method, as a committed string.
static void typeText(QWidget *box, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

QString TestHelp::builtChm() const
{
    const QString bin = qEnvironmentVariable("TAVIMOR_BIN_DIR");
    return QDir(bin.isEmpty() ? QCoreApplication::applicationDirPath() + u"/../bin"_s : bin).absoluteFilePath(u"jiajiao.chm"_s);
}

void TestHelp::initTestCase()
{
    if (!DM) {
        m_db = std::make_unique<TestDatabase>();
        m_dm = std::make_unique<TDM>(m_db->url());
    }
    auto messages = std::make_unique<ScriptedMessages>();
    m_messages = messages.get();
    DM->setMessages(std::move(messages));
    QVERIFY2(QFileInfo::exists(builtChm()), qPrintable(u"the help file was not built: "_s + builtChm()));
    m_owner.resize(800, 600);
    m_owner.show();
}

void TestHelp::init()
{
    m_messages->clear();
}

void TestHelp::cleanupTestCase()
{
    m_dm.reset();
}

void TestHelp::loadsOnceAcrossCalls()
{
    HelpLoader loader;
    QVERIFY(!loader.isLoaded());
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *first = loader.viewer();
    QVERIFY(first);
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);

    QVERIFY(loader.isLoaded());
    QCOMPARE(loader.loadCount(), 1);
    QCOMPARE(loader.initCount(), 1);
    QCOMPARE(loader.viewer(), first); // the same window shown again
    QVERIFY(first->isVisible());
    QVERIFY(m_messages->shown().isEmpty());
}

void TestHelp::loadFailures_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("entryPoint");
    QTest::addColumn<QByteArray>("expected"); // the bytes of the error text

    QTest::newRow("library missing") << u"tavimor-no-such-help-library"_s << 1 << QByteArray("chm_open")
                                     << QByteArray("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!");
    QTest::newRow("entry point missing") << u"chm"_s << 1 << QByteArray("chm_open_missing")
                                         << QByteArray("Function HTMLHELP cannot loaded!");
    QTest::newRow("another library without the entry points") << u"z"_s << 1 << QByteArray("chm_open")
                                                              << QByteArray("Function HTMLHELP cannot loaded!");
}

void TestHelp::loadFailures()
{
    QFETCH(QString, library);
    QFETCH(int, version);
    QFETCH(QByteArray, entryPoint);
    QFETCH(QByteArray, expected);

    HelpLoader loader(library, version, entryPoint);
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);

    QCOMPARE(m_messages->shown().size(), 1);
    const ScriptedMessages::Shown &box = m_messages->shown().first();
    QCOMPARE(box.method, u"errorReport"_s);
    QCOMPARE(box.text.toUtf8(), expected);
    // The command stopped: nothing kept, nothing shown.
    QVERIFY(!loader.isLoaded());
    QCOMPARE(loader.loadCount(), 0);
    QCOMPARE(loader.initCount(), 0);
    QVERIFY(!loader.viewer());
}

void TestHelp::retriesAfterFailure()
{
    HelpLoader loader(u"chm"_s, 1, "chm_open_missing");
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    // Each use tried again from the start and failed again.
    QCOMPARE(m_messages->texts(), QStringList(2, HelpLoader::entryPointMissingText()));

    loader.setLibrary(u"tavimor-no-such-help-library"_s, 1);
    loader.setEntryPoint(HelpLoader::kDefaultEntryPoint);
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    QCOMPARE(m_messages->lastText(), HelpLoader::libraryMissingText());

    m_messages->clear();
    loader.setLibrary(HelpLoader::kDefaultLibrary, HelpLoader::kDefaultLibraryVersion);
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    QVERIFY(m_messages->shown().isEmpty());
    QVERIFY(loader.isLoaded());
    QCOMPARE(loader.loadCount(), 1);
    QCOMPARE(loader.initCount(), 1);
    QVERIFY(loader.viewer() && loader.viewer()->isFileOpen());
}

void TestHelp::opensProgramHelpAtContents()
{
    // jiajiao.chm beside the program, the current directory elsewhere.
    const QString besideProgram = HelpLoader::programHelpFile();
    QCOMPARE(QFileInfo(besideProgram).absolutePath(), QFileInfo(QCoreApplication::applicationFilePath()).absolutePath());
    QCOMPARE(QFileInfo(besideProgram).fileName(), u"jiajiao.chm"_s);
    QFile::remove(besideProgram);
    QVERIFY(QFile::copy(builtChm(), besideProgram));
    const QString savedDir = QDir::currentPath();
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));

    HelpLoader loader;
    loader.showHelp(&m_owner, HelpLoader::programHelpFile(), HelpLoader::kStartKeyword);
    QDir::setCurrent(savedDir);
    QFile::remove(besideProgram);

    QVERIFY(m_messages->shown().isEmpty());
    HelpViewer *viewer = loader.viewer();
    QVERIFY(viewer);
    QCOMPARE(viewer->objectName(), u"help_viewer"_s);
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->isFileOpen());
    QCOMPARE(viewer->windowTitle(), u"Tavimor 客户管理系统帮助"_s);
    QCOMPARE(viewer->navigationTabs()->currentWidget(), viewer->indexTab());
    QCOMPARE(viewer->indexFilter()->text(), u"目录"_s);
    QVERIFY(viewer->indexList()->currentItem());
    QCOMPARE(viewer->indexList()->currentItem()->text(), u"目录"_s);
    QVERIFY(viewer->indexList()->currentItem()->isSelected());
    QCOMPARE(viewer->currentTopic(), u"/index.html"_s);
    const QString text = viewer->pageView()->toPlainText();
    QVERIFY2(text.contains(u"Tavimor 客户管理系统 使用帮助"_s), qPrintable(text.left(200)));
    QVERIFY(text.contains(u"授课记录"_s));
}

void TestHelp::helpFileProblemsShownByViewer_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("detail");
    QTest::newRow("missing") << QByteArray() << u"找不到帮助文件"_s;
    QTest::newRow("not a help file") << QByteArray("<html>this is no compiled help</html>\n").repeated(40)
                                     << u"可能已经损坏"_s;
}

void TestHelp::helpFileProblemsShownByViewer()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, detail);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"jiajiao.chm"_s);
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    HelpLoader loader;
    loader.showHelp(&m_owner, path, HelpLoader::kStartKeyword);

    // No error box: the viewer says it in its own window.
    QVERIFY(m_messages->shown().isEmpty());
    HelpViewer *viewer = loader.viewer();
    QVERIFY(viewer && viewer->isVisible());
    QVERIFY(!viewer->isFileOpen());
    QVERIFY(!viewer->errorString().isEmpty());
    const QString text = viewer->pageView()->toPlainText();
    QVERIFY2(text.contains(u"无法打开帮助文件"_s) && text.contains(detail), qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(viewer->indexList()->count(), 0);
    QCOMPARE(viewer->contentsTree()->topLevelItemCount(), 0);
    QCOMPARE(viewer->currentTopic(), QString());

    // Once the file is there, the next command opens it in the same window.
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    QCOMPARE(loader.initCount(), 1);
    QVERIFY(viewer->isFileOpen());
    QCOMPARE(viewer->currentTopic(), u"/index.html"_s);
}

void TestHelp::everyTopicOpens()
{
    HelpLoader loader;
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *viewer = loader.viewer();
    QVERIFY(viewer->isFileOpen());
    QVERIFY(viewer->contentsCount() >= 17);
    QVERIFY(viewer->indexKeywords().size() >= 60);
    QVERIFY(viewer->indexKeywords().contains(u"目录"_s));

    // Every page the contents tree leads to exists, has a heading and is not the "not found" page.
    QStringList pages;
    for (QTreeWidgetItemIterator it(viewer->contentsTree()); *it; ++it) {
        const QString path = (*it)->data(0, Qt::UserRole + 1).toString();
        if (!path.isEmpty())
            pages << path;
    }
    QCOMPARE(pages.size(), 17);
    for (const QString &page : std::as_const(pages)) {
        QVERIFY2(viewer->showTopic(page), qPrintable(page));
        QCOMPARE(viewer->currentTopic(), page);
        const QString text = viewer->pageView()->toPlainText();
        QVERIFY2(text.size() > 200, qPrintable(page));
        QVERIFY2(!text.contains(u"找不到该页面"_s), qPrintable(page));
    }
    QVERIFY(!viewer->showTopic(u"/no-such-page.html"_s));
}

void TestHelp::styleSheetAndLinksComeFromTheFile()
{
    HelpLoader loader;
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *viewer = loader.viewer();
    QTextBrowser *page = viewer->pageView();

    // The heading takes its colour from help.css inside the file.
    const QTextBlock heading = page->document()->firstBlock();
    QCOMPARE(heading.text(), u"Tavimor 客户管理系统 使用帮助"_s);
    QCOMPARE(heading.begin().fragment().charFormat().foreground().color(), QColor(0x1f, 0x4e, 0x79));

    // A link inside a page leads to the page in the file; back returns.
    emit page->anchorClicked(QUrl(u"teaching.html"_s));
    QCOMPARE(viewer->currentTopic(), u"/teaching.html"_s);
    QVERIFY(page->toPlainText().startsWith(u"授课记录"_s));
    emit page->anchorClicked(QUrl(u"mainwindow.html#exit"_s));
    QCOMPARE(viewer->currentTopic(), u"/mainwindow.html"_s);
    QCOMPARE(page->source().fragment(), u"exit"_s);
    page->backward();
    QCOMPARE(viewer->currentTopic(), u"/teaching.html"_s);
    page->backward();
    QCOMPARE(viewer->currentTopic(), u"/index.html"_s);
}

void TestHelp::indexBoxNarrowsAndDisplays()
{
    HelpLoader loader;
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *viewer = loader.viewer();
    QListWidget *list = viewer->indexList();
    QLineEdit *box = viewer->indexFilter();
    const int all = list->count();

    box->clear();
    typeText(box, u"授课"_s);
    // Shown: the keywords with the text, and a keyword whose sub-keyword (indented) has it.
    int shown = 0;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isHidden())
            continue;
        ++shown;
        const QString text = list->item(row)->text();
        const bool parentOfMatch = !text.startsWith(u' ') && row + 1 < list->count() &&
                                   list->item(row + 1)->text().startsWith(u' ');
        QVERIFY2(text.contains(u"授课"_s) || parentOfMatch, qPrintable(text));
    }
    QVERIFY(shown >= 3 && shown < all);
    QVERIFY(list->currentItem()->text().startsWith(u"授课"_s));

    box->clear();
    typeText(box, u"授课记录"_s);
    QCOMPARE(list->currentItem()->text(), u"授课记录"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(viewer->currentTopic(), u"/teaching.html"_s);
    // Down and Up in the box move through the shown keywords.
    QListWidgetItem *before = list->currentItem();
    QTest::keyClick(box, Qt::Key_Down);
    QVERIFY(list->currentItem() != before && !list->currentItem()->isHidden());
    QVERIFY(list->row(list->currentItem()) > list->row(before));
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(list->currentItem(), before);

    // A sub-keyword is found with its keyword shown above it.
    box->clear();
    typeText(box, u"忘记密码"_s);
    QVERIFY(list->currentItem()->text().trimmed() == u"忘记密码"_s);
    int above = list->row(list->currentItem()) - 1;
    while (above >= 0 && list->item(above)->isHidden())
        --above;
    QVERIFY(above >= 0);
    QCOMPARE(list->item(above)->text(), u"密码"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(viewer->currentTopic(), u"/login.html"_s);

    // Nothing typed: the whole list again.
    box->clear();
    QTest::keyClicks(box, u"x"_s);
    QTest::keyClick(box, Qt::Key_Backspace);
    for (int r = 0; r < list->count(); ++r)
        QVERIFY(!list->item(r)->isHidden());
}

void TestHelp::keywordOfSeveralPages_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("page");
    QTest::newRow("pages of its own") << u"必填项"_s << QStringList{u"学生信息的录入"_s, u"老师信息的录入"_s, u"公司信息"_s}
                                      << u"公司信息"_s << u"/company.html"_s;
    QTest::newRow("pages of its sub-keywords")
        << u"删除"_s << QStringList{u"学生或老师"_s, u"授课记录"_s, u"用户"_s, u"基础数据"_s} << u"授课记录"_s
        << u"/teaching.html"_s;
}

void TestHelp::keywordOfSeveralPages()
{
    QFETCH(QString, keyword);
    QFETCH(QStringList, offered);
    QFETCH(QString, choice);
    QFETCH(QString, page);
    HelpLoader loader;
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *viewer = loader.viewer();
    QLineEdit *box = viewer->indexFilter();
    box->clear();
    typeText(box, keyword);
    QCOMPARE(viewer->indexList()->currentItem()->text(), keyword);

    // The list of pages pops up under the keyword; the user picks one.
    QStringList shown;
    QTimer::singleShot(0, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            shown << action->text();
            if (action->text() == choice)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
        menu->close();
    });
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(shown, offered);
    QCOMPARE(viewer->currentTopic(), page);
}

void TestHelp::contentsTreeShowsPages()
{
    HelpLoader loader;
    loader.showHelp(&m_owner, builtChm(), HelpLoader::kStartKeyword);
    HelpViewer *viewer = loader.viewer();
    QTreeWidget *tree = viewer->contentsTree();
    viewer->navigationTabs()->setCurrentWidget(viewer->contentsTab());
    QCOMPARE(tree->topLevelItemCount(), 5);
    const QList<QTreeWidgetItem *> found = tree->findItems(u"数据备份"_s, Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.first()->parent()->text(0), u"系统设置"_s);
    tree->scrollToItem(found.first());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.first()).center());
    QCOMPARE(viewer->currentTopic(), u"/backup.html"_s);
    QVERIFY(viewer->pageView()->toPlainText().startsWith(u"数据备份"_s));

    // Following a link moves the tree's selection to the page shown.
    emit viewer->pageView()->anchorClicked(QUrl(u"users.html"_s));
    QCOMPARE(tree->currentItem()->text(0), u"管理员与权限"_s);
}

void TestHelp::parseSitemap_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QStringList>("expected"); // level|name|title=path;title=path

    const QString item = u"<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">%2</OBJECT>"_s;
    const QString local = u"<param name=\"Local\" value=\"%1\">"_s;
    QTest::newRow("flat") << u"<UL>"_s + item.arg(u"目录"_s, local.arg(u"index.html"_s)) +
                                 item.arg(u"登录"_s, local.arg(u"login.html"_s)) + u"</UL>"_s
                          << QStringList{u"0|目录|目录=/index.html"_s, u"0|登录|登录=/login.html"_s};
    QTest::newRow("nested levels") << u"<ul>"_s + item.arg(u"删除"_s, QString()) + u"<ul>"_s +
                                          item.arg(u"授课记录"_s, local.arg(u"teaching.html"_s)) + u"<ul>"_s +
                                          item.arg(u"深"_s, local.arg(u"a.html"_s)) + u"</ul></ul>"_s +
                                          item.arg(u"查询"_s, local.arg(u"search.html"_s)) + u"</ul>"_s
                                   << QStringList{u"0|删除|"_s, u"1|授课记录|授课记录=/teaching.html"_s,
                                                  u"2|深|深=/a.html"_s, u"0|查询|查询=/search.html"_s};
    QTest::newRow("several topics") << u"<UL>"_s +
                                           item.arg(u"必填项"_s, u"<param name=\"Name\" value=\"学生\">"_s + local.arg(u"s.html"_s) +
                                                                  u"<param name=\"Name\" value=\"老师\">"_s + local.arg(u"t.html"_s)) +
                                           u"</UL>"_s
                                    << QStringList{u"0|必填项|学生=/s.html;老师=/t.html"_s};
    QTest::newRow("entities, quotes and compiled-file paths")
        << u"<UL><LI><object type='text/sitemap'><param name=Name value='A &amp; B &#30446;'>"
           "<param name=\"Local\" value=\"mk:@MSITStore:jiajiao.chm::/dir/p.html#x\"></object></UL>"_s
        << QStringList{u"0|A & B 目|A & B 目=/dir/p.html"_s};
    QTest::newRow("properties object and nameless entries skipped")
        << u"<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"x\"></OBJECT><UL>"_s +
               item.arg(QString(), local.arg(u"a.html"_s)) + item.arg(u"页"_s, local.arg(u"b.html"_s)) + u"</UL>"_s
        << QStringList{u"0|页|页=/b.html"_s};
}

void TestHelp::parseSitemap()
{
    QFETCH(QString, html);
    QFETCH(QStringList, expected);
    QStringList actual;
    for (const SitemapEntry &e : tavimor::parseSitemap(html)) {
        QStringList topics;
        for (const auto &t : e.topics)
            topics << t.title + u'=' + t.path;
        actual << QString::number(e.level) + u'|' + e.name + u'|' + topics.join(u';');
    }
    QCOMPARE(actual, expected);
}

void TestHelp::topicPaths_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("path");
    QTest::newRow("relative") << u"index.html"_s << u"/index.html"_s;
    QTest::newRow("absolute") << u"/a/b.html"_s << u"/a/b.html"_s;
    QTest::newRow("fragment") << u"mainwindow.html#exit"_s << u"/mainwindow.html"_s;
    QTest::newRow("dot") << u"./x.htm"_s << u"/x.htm"_s;
    QTest::newRow("backslashes") << u"img\\p.png"_s << u"/img/p.png"_s;
    QTest::newRow("inside a compiled file") << u"ms-its:jiajiao.chm::/login.html"_s << u"/login.html"_s;
}

void TestHelp::topicPaths()
{
    QFETCH(QString, link);
    QFETCH(QString, path);
    QCOMPARE(topicPath(link), path);
}

void TestHelp::decodesChineseText()
{
    const QString text = u"<html><body>登录系统：用户名和密码</body></html>"_s;
    QCOMPARE(decodeHelpText(text.toUtf8()), text);

    QStringEncoder gb("GB18030");
    if (!gb.isValid())
        QSKIP("this Qt has no GB18030 converter");
    const QByteArray national = gb(text);
    QVERIFY(national != text.toUtf8());
    // Undeclared: not valid UTF-8, so the national encoding.
    QCOMPARE(decodeHelpText(national), text);
    // Declared in the page.
    const QString declared = u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"></head><body>帮助</body></html>"_s;
    QCOMPARE(decodeHelpText(gb(declared)), declared);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
