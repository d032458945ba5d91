#include "startup.h"

#include "about_form.h"
#include "dm.h"
#include "errors.h"
#include "database.h"
#include "flash_form.h"
#include "login_form.h"
#include "main_form.h"
#include "qtmessages.h"
#include "students/editstu_form.h"
#include "students/selectcourse_form.h"
#include "students/selectduixiang_form.h"
#include "students/selecttime_form.h"
#include "teachers/edittea_form.h"

#include <QApplication>
#include <QPointer>

using namespace Qt::Literals::StringLiterals;

// The shell's pictures live in the static UI library; register them before the splash needs them.
static void initShellResources()
{
    Q_INIT_RESOURCE(shell);
}

namespace tavimor {

namespace {
QList<QPointer<QWidget>> g_windows;
}

ShellEvents *ShellEvents::instance()
{
    static ShellEvents events;
    return &events;
}

void endProgram(int code)
{
    emit ShellEvents::instance()->programEnded(code);
    if (ShellEvents::instance()->quitsEventLoop)
        QCoreApplication::exit(code);
}

QStringList createdWindows()
{
    QStringList names;
    for (const QPointer<QWidget> &w : std::as_const(g_windows))
        if (w)
            names << w->objectName();
    return names;
}

template <class T>
static T *create(T *&global)
{
    global = new T;
    g_windows << global;
    return global;
}

bool startUp(const StartupOptions &options)
{
    auto makeMessages = [&]() -> std::unique_ptr<MessageService> {
        if (options.messages)
            return options.messages();
        return std::make_unique<QtMessages>();
    };

    initShellResources();

    // 1. The splash, painted at once.
    std::unique_ptr<Tflash_form> splash;
    if (options.showSplash) {
        splash = std::make_unique<Tflash_form>();
        splash->showAndPaint();
    }

    // 2. The application title.
    QCoreApplication::setApplicationName(u"Tavimor"_s);

    // 3. The data module.
    try {
        QStringList args = options.arguments;
        const QString url = resolveDatabaseUrl(args);
        auto *dm = new TDM(url, qApp);
        dm->setMessages(makeMessages());
    } catch (const DatabaseError &e) {
        splash.reset();
        makeMessages()->errorReport(e.message());
        return false;
    }

    // 4. Every window, in its creation order.
    create(login_form);
    create(main_form);
    create(editstu_form);
    create(edittea_form);
    create(selecttime_form);
    create(selectduixiang_form);
    create(selectcourse_form);
    create(about_form);

    // 5. The splash goes.
    splash.reset();

    // The event loop shows the login dialog first.
    login_form->show();
    return true;
}

void shutDown()
{
    for (auto it = g_windows.rbegin(); it != g_windows.rend(); ++it)
        delete it->data();
    g_windows.clear();
    login_form = nullptr;
    main_form = nullptr;
    editstu_form = nullptr;
    edittea_form = nullptr;
    selecttime_form = nullptr;
    selectduixiang_form = nullptr;
    selectcourse_form = nullptr;
    about_form = nullptr;
    delete DM;
}

} // namespace tavimor
