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
#include <QTextStream>

using namespace Qt::Literals::StringLiterals;
using namespace tavimor;

static QString g_out;

static void save(QWidget *w, const QString &name)
{
    QApplication::processEvents();
    const QString file = g_out + u'/' + name + u".png"_s;
    if (!w->grab().save(file))
        QTextStream(stderr) << "cannot write " << file << '\n';
    else
        QTextStream(stdout) << file << '\n';
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
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

    login_form->username_cb->setCurrentIndex(login_form->username_cb->findText(kSuperUser));
    login_form->password_edit->setText(password);
    login_form->TeThemeButton2Click();
    if (!main_form->isVisible()) {
        QTextStream(stderr) << "login failed\n";
        return 1;
    }
    main_form->resize(1280, 760);
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
    auto modes = [](QDialog *editor, TableCursor *cursor, const QString &name, auto prepareAdd, auto prepareChange,
                    auto prepareView) {
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
    modes(editstu_form, DM->stu_table, u"editstu"_s, [] { editstu_form->prepareForAdd(); },
          [] { editstu_form->prepareForChange(); }, [] { editstu_form->prepareForView(); });
    main_form->ToolButton8Click();
    modes(edittea_form, DM->tea_table, u"edittea"_s, [] { edittea_form->prepareForAdd(); },
          [] { edittea_form->prepareForChange(); }, [] { edittea_form->prepareForView(); });

    selectcourse_form->show();
    save(selectcourse_form, u"selectcourse"_s);
    selectcourse_form->hide();
    selecttime_form->show();
    save(selecttime_form, u"selecttime"_s);
    selecttime_form->hide();
    selectduixiang_form->show();
    save(selectduixiang_form, u"selectduixiang"_s);
    selectduixiang_form->hide();

    shutDown();
    return 0;
}
