#pragma once

#include "messages.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

namespace tavimor {

struct StartupOptions {
    QStringList arguments; // the command line (without the program name is fine)
    // Makes the message service (the Qt boxes by default; tests pass a scripted one).
    std::function<std::unique_ptr<MessageService>()> messages;
    bool showSplash = true;
};

// Start-up, steps 1 to 5: splash shown and painted, application title, the data module, every
// window in its creation order, splash destroyed; then the login dialog is shown. Returns false,
// after showing the engine's message in the plain error box, when the database cannot be opened:
// no window but the splash has opened then.
bool startUp(const StartupOptions &options);

// Ending the program: windows first, then the data module (which closes the database).
void shutDown();

// Ends the run with the exit code (the event loop returns it); observers learn of it first.
void endProgram(int code);

// The object names of the windows in the order start-up created them.
QStringList createdWindows();

// Application-wide notifications of the shell.
class ShellEvents : public QObject
{
    Q_OBJECT
public:
    static ShellEvents *instance();
    // Whether ending the program leaves the event loop (tests that drive the windows turn it off,
    // since a request to leave would also end every later modal loop of the test run).
    bool quitsEventLoop = true;
signals:
    void programEnded(int code);
};

} // namespace tavimor
