#pragma once

#include <QWidget>

class QLabel;

namespace tavimor {

// The splash screen shown while the program starts: the product picture with the build label.
class Tflash_form : public QWidget
{
    Q_OBJECT
public:
    explicit Tflash_form(QWidget *parent = nullptr);
    QLabel *buildLabel() const { return m_build; }

    // Shows the window and paints it at once (no event loop runs yet during start-up).
    void showAndPaint();

private:
    QLabel *m_build;
};

} // namespace tavimor
