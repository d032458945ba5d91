#pragma once

#include <QString>

class QWidget;

namespace tavimor {

// The window of that object name among the application's top-level widgets (every window of
// the program is one, created once at start-up); nullptr when there is none.
QWidget *findForm(const QString &objectName);

} // namespace tavimor
