// Message boxes, the command boundary, the double-click field look and the digits-only filter.
#include "command.h"
#include "dbcontrols.h"
#include "fieldlook.h"
#include "fixture.h"
#include "look.h"
#include "qtmessages.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;
using namespace tavimor::test;
using Kind = MessageService::Kind;
using Buttons = MessageService::Buttons;

Q_DECLARE_METATYPE(tavimor::MessageService::Kind)
Q_DECLARE_METATYPE(tavimor::MessageService::Buttons)
Q_DECLARE_METATYPE(QMessageBox::Icon)

namespace {

// QtMessages whose boxes are inspected and answered instead of shown.
class InspectedMessages : public QtMessages
{
public:
    struct Box {
        QString title, text, fontFamily;
        int fontSize = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        bool hasClose = false;
    };
    QList<Box> boxes;
    QString press; // the caption of the button to press; empty: close the box

protected:
    int present(QMessageBox &box, Buttons buttons) override
    {
        Box b{box.windowTitle(), box.text(), box.font().family(), box.font().pointSize(), box.icon(), {},
              bool(box.windowFlags() & Qt::WindowCloseButtonHint)};
        for (QAbstractButton *button : box.buttons())
            b.buttons << button->text();
        boxes << b;
        QAbstractButton *target = nullptr;
        for (QAbstractButton *button : box.buttons())
            if (button->text() == press)
                target = button;
        if (target)
            target->click();
        else
            box.close();
        return answerOf(box, buttons);
    }
};

} // namespace

class TestMessages : public QObject
{
    Q_OBJECT
private slots:
    void boxes_data();
    void boxes();
    void answersOfShownBox_data();
    void answersOfShownBox();
    void boxIsFixedAndCentred();
    void commandErrorsAreReported_data();
    void commandErrorsAreReported();
    void commandWithoutDataModuleGoesOn();
    void doubleClickFieldLook_data();
    void doubleClickFieldLook();
    void digitsOnlyTyping_data();
    void digitsOnlyTyping();
    void digitsOnlyPasteAndDrop();
};

void TestMessages::boxes_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("answer");

    const QStringList yesNo{u"&Yes"_s, u"&No"_s}, ok{u"OK"_s};
    QTest::newRow("information") << u"information"_s << Kind::Information << Buttons::Ok << u"OK"_s << u"Tavimor"_s
                                 << QMessageBox::NoIcon << ok << 1;
    QTest::newRow("question yes") << u"question"_s << Kind::Warning << Buttons::YesNo << u"&Yes"_s << u"Warning"_s
                                  << QMessageBox::Warning << yesNo << 6;
    QTest::newRow("question no") << u"question"_s << Kind::Warning << Buttons::YesNo << u"&No"_s << u"Warning"_s
                                 << QMessageBox::Warning << yesNo << 7;
    QTest::newRow("question closed") << u"question"_s << Kind::Warning << Buttons::YesNo << QString() << u"Warning"_s
                                     << QMessageBox::Warning << yesNo << 7;
    QTest::newRow("error yes/no") << u"messageBox"_s << Kind::Error << Buttons::YesNo << u"&Yes"_s << u"Error"_s
                                  << QMessageBox::Critical << yesNo << 6;
    QTest::newRow("error ok") << u"messageBox"_s << Kind::Error << Buttons::Ok << u"OK"_s << u"Error"_s
                              << QMessageBox::Critical << ok << 1;
    QTest::newRow("warning ok closed") << u"messageBox"_s << Kind::Warning << Buttons::Ok << QString() << u"Warning"_s
                                       << QMessageBox::Warning << ok << 1;
    QTest::newRow("plain stop box") << u"plainBox"_s << Kind::Stop << Buttons::YesNo << u"&No"_s << u"警告"_s
                                    << QMessageBox::Critical << yesNo << 7;
    QTest::newRow("plain information") << u"plainBox"_s << Kind::Information << Buttons::Ok << u"OK"_s << u"提示"_s
                                       << QMessageBox::Information << ok << 1;
    QTest::newRow("error report") << u"errorReport"_s << Kind::Error << Buttons::Ok << u"OK"_s << u"Tavimor"_s
                                  << QMessageBox::Critical << ok << 1;
}

void TestMessages::boxes()
{
    QFETCH(QString, method);
    QFETCH(Kind, kind);
    QFETCH(Buttons, buttons);
    QFETCH(QString, press);
    QFETCH(QString, title);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, captions);
    QFETCH(int, answer);

    InspectedMessages m;
    m.press = press;
    const QString text = u"您确实要删除这条记录吗？\n第二行"_s;
    int got = MessageService::Ok;
    if (method == u"information"_s)
        m.information(text);
    else if (method == u"question"_s)
        got = m.question(text);
    else if (method == u"messageBox"_s)
        got = m.messageBox(text, kind, buttons);
    else if (method == u"plainBox"_s)
        got = m.plainBox(text, title, kind, buttons);
    else
        m.errorReport(text);

    QCOMPARE(m.boxes.size(), 1);
    const InspectedMessages::Box &b = m.boxes.first();
    QCOMPARE(b.text, text);
    QCOMPARE(b.title, title);
    QCOMPARE(b.icon, icon);
    QCOMPARE(b.buttons, captions);
    QCOMPARE(got, answer);
    QCOMPARE(b.fontFamily, songFont(9).family());
    QCOMPARE(b.fontSize, 9);
    QVERIFY(b.hasClose);

    // The scripted service gives the other windows' tests the same titles.
    ScriptedMessages s;
    if (method == u"messageBox"_s)
        s.messageBox(text, kind, buttons);
    else if (method == u"question"_s)
        s.question(text);
    if (!s.shown().isEmpty())
        QCOMPARE(s.shown().first().title, title);
}

void TestMessages::answersOfShownBox_data()
{
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("answer");
    QTest::newRow("yes clicked") << Buttons::YesNo << u"yes"_s << 6;
    QTest::newRow("no clicked") << Buttons::YesNo << u"no"_s << 7;
    QTest::newRow("yes by Enter") << Buttons::YesNo << u"enter"_s << 6;
    QTest::newRow("yes by Alt+Y") << Buttons::YesNo << u"alt+y"_s << 6;
    QTest::newRow("escape is no") << Buttons::YesNo << u"escape"_s << 7;
    QTest::newRow("close icon is no") << Buttons::YesNo << u"close"_s << 7;
    QTest::newRow("ok clicked") << Buttons::Ok << u"ok"_s << 1;
    QTest::newRow("ok escape") << Buttons::Ok << u"escape"_s << 1;
}

void TestMessages::answersOfShownBox()
{
    QFETCH(Buttons, buttons);
    QFETCH(QString, how);
    QFETCH(int, answer);
    auto box = QtMessages::build(u"继续吗？"_s, u"Warning"_s, QMessageBox::Warning, buttons);
    QSignalSpy finished(box.get(), &QDialog::finished);
    box->show(); // not exec(): the test goes on while it shows
    box->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));
    if (how == u"yes"_s)
        box->button(QMessageBox::Yes)->click();
    else if (how == u"no"_s)
        box->button(QMessageBox::No)->click();
    else if (how == u"ok"_s)
        box->button(QMessageBox::Ok)->click();
    else if (how == u"enter"_s)
        QTest::keyClick(box.get(), Qt::Key_Return);
    else if (how == u"alt+y"_s)
        QTest::keyClick(box.get(), Qt::Key_Y, Qt::AltModifier);
    else if (how == u"escape"_s)
        QTest::keyClick(box.get(), Qt::Key_Escape);
    else
        box->close();
    QTRY_COMPARE(finished.count(), 1); // accelerators click with a short animation
    QVERIFY(!box->isVisible());
    QCOMPARE(QtMessages::answerOf(*box, buttons), answer);
}

void TestMessages::boxIsFixedAndCentred()
{
    auto box = QtMessages::build(u"一条很长的提示文字，用来看看对话框的大小是否合适。"_s, u"Tavimor"_s,
                                 QMessageBox::NoIcon, Buttons::Ok);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QCOMPARE(box->minimumSize(), box->maximumSize()); // not resizable
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint off = box->frameGeometry().center() - screen.center();
    QVERIFY2(off.manhattanLength() <= 2, qPrintable(u"%1,%2"_s.arg(off.x()).arg(off.y())));
    QVERIFY(box->windowFlags() & Qt::WindowSystemMenuHint);
    QVERIFY(!(box->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(box->textFormat(), Qt::PlainText); // text with "<" shows as typed
    box->close();

    // Pictures to look at, when asked for.
    const QString dir = qEnvironmentVariable("TAVIMOR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        for (const auto &[name, icon, buttons] :
             {std::tuple{u"question"_s, QMessageBox::Warning, Buttons::YesNo},
              std::tuple{u"information"_s, QMessageBox::NoIcon, Buttons::Ok},
              std::tuple{u"error"_s, QMessageBox::Critical, Buttons::Ok}}) {
            auto b = QtMessages::build(u"您确实要删除这条学生记录吗？"_s, name, icon, buttons);
            b->show();
            QVERIFY(QTest::qWaitForWindowExposed(b.get()));
            QVERIFY(b->grab().save(dir + u"/box-"_s + name + u".png"_s));
        }
    }
}

void TestMessages::commandErrorsAreReported_data()
{
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("expected");
    QTest::newRow("database error") << u"database"_s << u"磁盘已满"_s;
    QTest::newRow("conflict") << u"conflict"_s << u"这条记录已被其他用户修改"_s;
    QTest::newRow("bad filter") << u"filter"_s << QString();
    QTest::newRow("standard exception") << u"std"_s << u"out of range: 3"_s;
    QTest::newRow("no error") << QString() << QString();
}

void TestMessages::commandErrorsAreReported()
{
    QFETCH(QString, error);
    QFETCH(QString, expected);
    Fixture f;
    TableCursor *c = f.dm->stu_table;
    bool after = false;
    const bool done = runCommand([&] {
        if (error == u"database"_s)
            throw DatabaseError(u"磁盘已满"_s);
        if (error == u"conflict"_s)
            throw ConflictError(ConflictError::Reason::ChangedElsewhere, u"这条记录已被其他用户修改"_s);
        if (error == u"filter"_s)
            c->setFilter(u"学生姓名 like 'a"_s); // the real error of a typed quote
        if (error == u"std"_s)
            throw std::out_of_range("out of range: 3");
        after = true;
    });
    QCOMPARE(done, error.isEmpty());
    QCOMPARE(after, error.isEmpty());
    if (error.isEmpty()) {
        QVERIFY(f.messages->shown().isEmpty());
        return;
    }
    QCOMPARE(f.messages->shown().size(), 1);
    QCOMPARE(f.messages->shown().first().method, u"errorReport"_s);
    QVERIFY(!f.messages->lastText().isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(f.messages->lastText(), expected);
    // The program goes on: the cursor is as it was.
    QCOMPARE(c->state(), TableCursor::State::Browse);
    QVERIFY(!c->isFiltered());
    QCOMPARE(c->filter(), QString());
}

void TestMessages::commandWithoutDataModuleGoesOn()
{
    QVERIFY(!DM);
    QTest::ignoreMessage(QtWarningMsg, "没有数据模块");
    QVERIFY(!runCommand([] { throw DatabaseError(u"没有数据模块"_s); }));
}

void TestMessages::doubleClickFieldLook_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readOnly");
    for (const bool ro : {false, true})
        for (const QString &k : {u"edit"_s, u"memo"_s, u"combo"_s})
            QTest::newRow(qPrintable(k + (ro ? u" read-only"_s : u""_s))) << k << ro;
}

void TestMessages::doubleClickFieldLook()
{
    QFETCH(QString, kind);
    QFETCH(bool, readOnly);
    std::unique_ptr<QWidget> w;
    if (kind == u"edit"_s) {
        auto *e = new DBEdit;
        e->setReadOnly(readOnly);
        w.reset(e);
    } else if (kind == u"memo"_s) {
        auto *m = new DBMemo;
        m->setReadOnly(readOnly);
        w.reset(m);
    } else {
        auto *c = new DBComboBox;
        c->setReadOnly(readOnly);
        w.reset(c);
    }
    setDoubleClickField(w.get());
    w->resize(160, 60);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QColor green(223, 235, 222);
    QCOMPARE(colorFromBgr(kDoubleClickFieldColor), green);
    QCOMPARE(w->toolTip(), u"请双击此处录入！"_s);
    QCOMPARE(w->palette().color(QPalette::Active, QPalette::Base), green);
    QCOMPARE(w->palette().color(QPalette::Disabled, QPalette::Base), green);
    // What Fusion paints, inside the frame and away from text.
    const QImage img = w->grab().toImage();
    const QPoint p(w->width() - 8, w->height() / 2);
    const QPoint q = kind == u"combo"_s ? QPoint(w->width() / 2, w->height() / 2) : p;
    QCOMPARE(img.pixelColor(q), green);
}

void TestMessages::digitsOnlyTyping_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    for (const QString &w : {u"lineedit"_s, u"combo"_s}) {
        QTest::newRow(qPrintable(w + u" mixed"_s)) << w << u"12ab34"_s << u"1234"_s;
        QTest::newRow(qPrintable(w + u" signs and blanks"_s)) << w << u"-+ 5.6"_s << u"56"_s;
        QTest::newRow(qPrintable(w + u" Chinese"_s)) << w << u"电话88"_s << u"88"_s;
        QTest::newRow(qPrintable(w + u" full-width digits"_s)) << w << u"１２3"_s << u"3"_s;
        QTest::newRow(qPrintable(w + u" backspace"_s)) << w << u"123\b\b9"_s << u"19"_s;
    }
}

void TestMessages::digitsOnlyTyping()
{
    QFETCH(QString, widget);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    std::unique_ptr<QWidget> w;
    QLineEdit *edit = nullptr;
    if (widget == u"combo"_s) {
        auto *c = new QComboBox;
        c->setEditable(true);
        edit = c->lineEdit();
        w.reset(c);
    } else {
        edit = new QLineEdit;
        w.reset(edit);
    }
    DigitsOnlyFilter::install(w.get());
    DigitsOnlyFilter::install(w.get()); // twice is harmless
    typeText(w.get(), typed);
    QCOMPARE(edit->text(), expected);
    // Keys that type nothing still work.
    QTest::keyClick(w.get(), Qt::Key_Home);
    QTest::keyClick(w.get(), Qt::Key_Delete);
    QCOMPARE(edit->text(), expected.mid(1));
}

void TestMessages::digitsOnlyPasteAndDrop()
{
    QLineEdit e;
    DigitsOnlyFilter::install(&e);
    e.setText(u"010-"_s); // an old value that does not fit can still be edited
    QTest::keyClick(&e, Qt::Key_Backspace);
    QCOMPARE(e.text(), u"010"_s);

    QGuiApplication::clipboard()->setText(u"12-34 a5"_s);
    QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(e.text(), u"010123" "45"_s);
    // The context menu's paste goes round the key filter: the whole text is refused.
    e.paste();
    QCOMPARE(e.text(), u"01012345"_s);
    QGuiApplication::clipboard()->setText(u"67"_s);
    e.paste();
    QCOMPARE(e.text(), u"0101234567"_s);

    // Input methods are off; a committed text with other characters is dropped.
    QVERIFY(!e.testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent im;
    im.setCommitString(u"电话"_s);
    QApplication::sendEvent(&e, &im);
    QCOMPARE(e.text(), u"0101234567"_s);

    // A digits-only memo: Ctrl+V keeps the digits.
    QPlainTextEdit memo;
    DigitsOnlyFilter::install(&memo);
    QGuiApplication::clipboard()->setText(u"a1b2"_s);
    QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo.toPlainText(), u"12"_s);
    QVERIFY(!memo.acceptDrops());
}

int runMessagesTests(int argc, char **argv)
{
    TestMessages t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_messages.moc"
