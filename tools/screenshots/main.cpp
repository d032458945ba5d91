// Renders the program's windows over a database to PNG files, without a display:
//   QT_QPA_PLATFORM=offscreen tavimor-shots --database URL --password P --out DIR
// Used for the screenshots of the help pages and to look at windows during development.
#include "dm.h"
#include "look.h"
#include "shell/about_form.h"
#include "shell/flash_form.h"
#include "shell/login_form.h"
#include "shell/main_form.h"
#include "shell/startup.h"
#include "students/editstu_form.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"
#include "teachers/edittea_form.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTextStream>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;

static QString g_out;

// Offscreen windows have no frame. The help pages name windows by their titles, so a window that
// has a title bar on screen gets a plain drawn one; frameless windows (splash, about box, the
// pop-ups) are pictured as they are.
constexpr int kBorder = 1;
constexpr int kTitleBar = 24;
const QColor kFrameColour(0x3c, 0x5a, 0x78);

static bool hasTitleBar(const QWidget *w)
{
    return !w->windowFlags().testFlag(Qt::FramelessWindowHint) && !w->windowTitle().isEmpty();
}

static QImage picture(QWidget *w)
{
    QApplication::processEvents();
    const QImage inside = w->grab().toImage();
    if (!hasTitleBar(w))
        return inside;
    QImage framed(inside.width() + 2 * kBorder, inside.height() + kTitleBar + kBorder, QImage::Format_RGB32);
    framed.fill(kFrameColour);
    QPainter p(&framed);
    p.drawImage(kBorder, kTitleBar, inside);
    QFont bold = w->font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::white);
    p.drawText(QRect(8, 0, framed.width() - 16, kTitleBar), Qt::AlignVCenter | Qt::AlignLeft,
               w->windowTitle());
    return framed;
}

// A pop-up where it shows: centred over the window that opened it, with a shadow.
static QImage over(QWidget *window, QWidget *popup)
{
    QImage img = picture(window);
    const QImage top = picture(popup);
    const QPoint origin = hasTitleBar(window) ? QPoint(kBorder, kTitleBar) : QPoint();
    QRect r(QPoint(), top.size());
    r.moveCenter(origin + window->rect().center());
    QPainter p(&img);
    p.fillRect(r.translated(4, 4), QColor(0, 0, 0, 70));
    p.drawImage(r.topLeft(), top);
    return img;
}

static void save(const QImage &img, const QString &name)
{
    const QString file = g_out + u'/' + name + u".png"_s;
    if (!img.save(file))
        QTextStream(stderr) << "cannot write " << file << '\n';
    else
        QTextStream(stdout) << file << '\n';
}

static void save(QWidget *w, const QString &name)
{
    save(picture(w), name);
}

static void choose(QComboBox *box, const QString &text)
{
    box->setCurrentIndex(box->findText(text));
    if (box->currentIndex() < 0)
        box->setEditText(text);
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    applyLook(app);
    QStringList args = app.arguments().mid(1);
    QString password = u"admin"_s;
    g_out = u"."_s;
    for (int i = 0; i + 1 < args.size(); ++i) {
        if (args.at(i) == u"--out"_s)
            g_out = args.at(i + 1);
        else if (args.at(i) == u"--password"_s)
            password = args.at(i + 1);
    }
    QDir().mkpath(g_out);

    Tflash_form splash;
    splash.show();
    save(&splash, u"splash"_s);
    splash.hide();

    StartupOptions o;
    o.arguments = args;
    o.showSplash = false;
    o.messages = [] { return std::make_unique<ScriptedMessages>(); };
    if (!startUp(o))
        return 1;
    save(login_form, u"login"_s);

    choose(login_form->username_cb, kSuperUser);
    login_form->password_edit->setText(password);
    save(login_form, u"login_filled"_s);
    login_form->TeThemeButton2Click();
    if (!main_form->isVisible()) {
        QTextStream(stderr) << "login failed\n";
        return 1;
    }
    // Not maximized: a window of a size that fits a help page without scaling.
    main_form->showNormal();
    main_form->resize(796, 540);
    save(main_form, u"main_start"_s);
    main_form->ToolButton6Click();
    DM->stu_table->moveTo(2);
    save(main_form, u"main_students"_s);
    main_form->ToolButton8Click();
    save(main_form, u"main_teachers"_s);

    about_form->show();
    save(about_form, u"about"_s);
    about_form->hide();

    // Both editors in their three modes, over the register they edit.
    auto modes = [](QDialog *editor, TableCursor *cursor, const QString &name, auto prepareAdd,
                    auto prepareChange, auto prepareView) {
        cursor->insert();
        prepareAdd();
        editor->show();
        save(editor, name + u"_add"_s);
        editor->hide();
        cursor->cancel();
        cursor->edit();
        prepareChange();
        editor->show();
        save(editor, name + u"_change"_s);
        editor->hide();
        cursor->cancel();
        prepareView();
        editor->show();
        save(editor, name + u"_view"_s);
        editor->hide();
    };
    main_form->ToolButton6Click();
    modes(
        editstu_form, DM->stu_table, u"editstu"_s, [] { editstu_form->prepareForAdd(); },
        [] { editstu_form->prepareForChange(); }, [] { editstu_form->prepareForView(); });
    main_form->ToolButton8Click();
    modes(
        edittea_form, DM->tea_table, u"edittea"_s, [] { edittea_form->prepareForAdd(); },
        [] { edittea_form->prepareForChange(); }, [] { edittea_form->prepareForView(); });

    // The teacher editor with its family panel open, on a teacher with three family members;
    // the panel is closed again afterwards (its state carries over to the next showing).
    DM->tea_table->moveTo(4);
    DM->tea_table->edit();
    edittea_form->prepareForChange();
    edittea_form->show();
    edittea_form->chengyuan_button->click();
    save(edittea_form, u"edittea_family"_s);
    edittea_form->chengyuan_button->click();
    edittea_form->hide();
    DM->tea_table->cancel();

    // The pop-ups with a choice made, alone and over the editor that opens them.
    selectcourse_form->prepareFor(0);
    selectcourse_form->show();
    choose(selectcourse_form->course_cb, u"数学"_s);
    save(selectcourse_form, u"selectcourse"_s);
    selectcourse_form->hide();
    selecttime_form->show();
    choose(selecttime_form->day_cb, u"星期六"_s);
    choose(selecttime_form->begin_cb, u"上午8：00"_s);
    choose(selecttime_form->end_cb, u"上午10：00"_s);
    save(selecttime_form, u"selecttime"_s);
    main_form->ToolButton6Click();
    DM->stu_table->edit();
    editstu_form->prepareForChange();
    editstu_form->show();
    save(over(editstu_form, selecttime_form), u"editstu_selecttime"_s);
    editstu_form->hide();
    DM->stu_table->cancel();
    selecttime_form->hide();
    selectduixiang_form->prepareFor(0);
    selectduixiang_form->show();
    choose(selectduixiang_form->duixiang_dbcb, u"高中生"_s);
    save(selectduixiang_form, u"selectduixiang"_s);
    selectduixiang_form->hide();

    shutDown();
    return 0;
}
