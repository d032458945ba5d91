#pragma once

#include <QObject>

class QWidget;

namespace tavimor {

// The look of a field filled from a choice pop-up by a double click: pale green background
// (kDoubleClickFieldColor) in every palette group, so it shows also read-only or disabled, and
// the tooltip "请双击此处录入！". The field can still be typed into.
void setDoubleClickField(QWidget *w);

// The one key filter of the digits-only fields (phones, ID numbers, QQ, lesson counts, fees).
// Typed digits "0"-"9" and Backspace pass; any other typed character is dropped with a beep.
// Keys that type nothing (arrows, Home/End, Delete, Tab, Enter, Esc, Ctrl+C/X/A/Z) pass.
// A paste keeps only the digits of the clipboard (beeping when it drops anything); other ways
// of pasting (context menu, drag and drop) are refused unless the text is digits only.
// Input methods are switched off on the field.
class DigitsOnlyFilter : public QObject
{
    Q_OBJECT
public:
    // Installs the shared filter on w (a line edit, an editable combo box, a spin box or a
    // plain-text edit). Installing twice is harmless.
    static void install(QWidget *w);
    static DigitsOnlyFilter *instance();

    static bool isDigits(const QString &text);
    static QString digitsOf(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit DigitsOnlyFilter(QObject *parent) : QObject(parent) {}
    bool pasteDigits(QObject *watched);
};

} // namespace tavimor
