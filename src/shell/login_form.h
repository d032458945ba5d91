#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavimor {

// The login dialog: the first window shown; closing it ends the program.
class Tlogin_form : public QDialog
{
    Q_OBJECT
public:
    explicit Tlogin_form(QWidget *parent = nullptr);

    QGroupBox *GroupBox1;
    QLabel *Image2;
    QLabel *TeThemeLabel3;
    QComboBox *username_cb;
    QLabel *TeThemeLabel4;
    QLineEdit *password_edit;
    QPushButton *TeThemeButton2; // "&L登陆"
    QPushButton *TeThemeButton1; // "&C取消"
    QLabel *TeThemeLabel2;       // the maker word

    // The current user: the name last chosen in the user box (fixed after a successful login).
    QString currentUser() const;
    int failedAttempts() const { return m_failed; }

    void TeThemeButton2Click(); // log in
    void TeThemeButton1Click(); // cancel

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

public:
    void reject() override; // Esc: as "&C取消", with its question

private:
    void FormShow();
    int m_failed = 0;
};

extern Tlogin_form *login_form;

// The current user of the run (the login dialog's user box).
QString currentUser();

} // namespace tavimor
