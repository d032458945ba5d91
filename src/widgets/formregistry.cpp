#include "formregistry.h"

#include <QApplication>
#include <QWidget>

namespace tavimor {

QWidget *findForm(const QString &objectName)
{
    if (objectName.isEmpty())
        return nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (w->objectName() == objectName)
            return w;
    return nullptr;
}

} // namespace tavimor
