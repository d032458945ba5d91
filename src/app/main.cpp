#include "look.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false); // the shell ends the run itself
    tavimor::applyLook(app);
    if (!tavimor::startUp({app.arguments().mid(1), {}, true}))
        return 1;
    const int code = QApplication::exec();
    tavimor::shutDown();
    return code;
}
