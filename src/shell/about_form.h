#pragma once

#include <QDialog>

class QLabel;

namespace tavimor {

// The about box: the product picture stretched over a borderless window; a right click closes it.
class Tabout_form : public QDialog
{
    Q_OBJECT
public:
    explicit Tabout_form(QWidget *parent = nullptr);

    QLabel *Image1;
    QWidget *Shape1; // transparent, covers the window, carries the hint

    // Esc and the like do not close it: only a right click does.
    void reject() override {}

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Shape1ContextPopup();
};

extern Tabout_form *about_form;

} // namespace tavimor
