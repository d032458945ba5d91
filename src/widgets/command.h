#pragma once

#include "errors.h"

#include <QString>
#include <exception>
#include <utility>

namespace tavimor {

// Shows the message of an error that stopped a command: the plain error report of DM->Message1
// (a warning on the console when there is no data module).
void reportCommandError(const QString &text);

// Runs one command (a handler's body). An error of the database layer or any other standard
// exception stops the command and is shown in the plain error report; the program goes on.
// Returns true when the command ran to its end.
//
//     connect(save_button, &QPushButton::clicked, this, [this] { runCommand([&] { save_buttonClick(); }); });
template <class F>
bool runCommand(F &&command)
{
    try {
        std::forward<F>(command)();
        return true;
    } catch (const DatabaseError &e) {
        reportCommandError(e.message());
    } catch (const std::exception &e) {
        reportCommandError(QString::fromUtf8(e.what()));
    }
    return false;
}

} // namespace tavimor
