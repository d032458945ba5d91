#pragma once

#include "messages.h"

#include <QMessageBox>
#include <memory>

namespace tavimor {

// Message1 on screen: modal QMessageBoxes in "宋体" 9 pt, not resizable, centred on the screen.
//  - information: the text, one "OK" button, no icon, titled "Tavimor";
//  - messageBox: Warning titled "Warning" with the warning icon, Error titled "Error" with the
//    critical icon (Stop: critical icon, titled like the scripted service: "Warning");
//    buttons "&Yes"/"&No" or "OK"; returns 6, 7 or 1; closing a Yes/No box counts as No;
//  - plainBox: the caller's title, the icon of the kind, the buttons asked for;
//  - errorReport: a plain error box titled "Tavimor" with "OK".
class QtMessages : public MessageService
{
public:
    static inline const QString kApplicationTitle = QStringLiteral("Tavimor");

    void information(const QString &text) override;
    int messageBox(const QString &text, Kind kind, Buttons buttons) override;
    int plainBox(const QString &text, const QString &title, Kind kind, Buttons buttons) override;
    void errorReport(const QString &text) override;

    // Builds a box without showing it (so that it can be inspected).
    static std::unique_ptr<QMessageBox> build(const QString &text, const QString &title, QMessageBox::Icon icon,
                                              Buttons buttons);
    static QMessageBox::Icon iconOf(Kind kind);
    static QString titleOf(Kind kind); // the message box's title for a kind
    // The code of the button that closed the box: 6 Yes, 7 No, 1 OK (closing a Yes/No box: 7).
    static int answerOf(const QMessageBox &box, Buttons buttons);

protected:
    // Shows the box modally and returns answerOf(). Every box of this service comes here.
    virtual int present(QMessageBox &box, Buttons buttons);
};

} // namespace tavimor
