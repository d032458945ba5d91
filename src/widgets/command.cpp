#include "command.h"

#include "dm.h"

namespace tavimor {

void reportCommandError(const QString &text)
{
    if (DM && DM->Message1)
        DM->Message1->errorReport(text);
    else
        qWarning("%s", qUtf8Printable(text));
}

} // namespace tavimor
