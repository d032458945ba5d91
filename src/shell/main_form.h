#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace tavimor {

class DataLink;
class DBGrid;
class HelpLoader;
class TableCursor;

// The main window: the two registers, the commands in front of every dialog, the status bar.
class Tmain_form : public QMainWindow
{
    Q_OBJECT
public:
    enum class Register { None, Students, Teachers };

    explicit Tmain_form(QWidget *parent = nullptr);
    ~Tmain_form() override;

    // Which page shows: the student register, the teacher register or the start page.
    Register showingRegister() const { return m_showing; }
    // The folder of the program file, ending in a separator.
    QString programFolder() const { return m_programFolder; }

    // The permission check of the current user; shows the refusal itself when it does not hold.
    bool haspermission(const QString &column, const QString &refusal = QString());
    // The flag alone, read from the stored row now (no message).
    static bool permissionFlag(const QString &user, const QString &column);
    // The company text of the reports: name, a line feed, "电话:" and the phone.
    static QString companyText();

    HelpLoader *helpLoader() const { return m_help.get(); }

    // --- toolbar
    QToolBar *ToolBar1;
    QToolButton *ToolButton6, *ToolButton8, *add_button, *del_button, *modify_button, *view_button, *quanbu_button,
        *print_button, *query_button, *teachrecord_button, *close_button;
    // --- menus
    QMenuBar *MainMenu1;
    QMenu *N1, *N2, *N8, *N11, *N23, *N35;
    QAction *stu_menuitem, *tea_menuitem, *N21, *N22, *N25, *N26, *N24, *N28, *N6, *N7, *N36, *N37, *N38, *N39, *N9,
        *N15, *N30, *N31, *N32, *N12, *N13, *N18, *N19;
    QMenu *print_popmenu;
    QAction *N4, *N5, *N10, *N40;
    QMenu *PopupMenu1;
    QAction *N3, *N43, *N44, *N47, *N46;
    // --- pages
    QStackedWidget *PageControl1;
    QWidget *TabSheet1, *TabSheet2, *TabSheet3;
    DBGrid *DBGrid1, *DBGrid2;
    QLabel *startTitle, *startProduct;
    // --- status bar
    QStatusBar *StatusBar1;
    QLabel *panel0, *panel1;
    // --- own data links, for the record count
    DataLink *stu_ds, *tea_ds;

    // --- command handlers
    void ToolButton6Click();
    void ToolButton8Click();
    void add_buttonClick();
    void del_buttonClick();
    void modify_buttonClick();
    void view_buttonClick();
    void quanbu_buttonClick();
    void query_buttonClick();
    void teachrecord_buttonClick();
    void N4Click();
    void N5Click();
    void N10Click();
    void N40Click();
    void N36Click();
    void N37Click();
    void N38Click();
    void N39Click();
    void N21Click();
    void N22Click();
    void N25Click();
    void N26Click();
    void N24Click();
    void N9Click();
    void N15Click();
    void N30Click();
    void N31Click();
    void N32Click();
    void N12Click();
    void N13Click();
    void N18Click();
    void N19Click();
    void close_buttonClick();
    void stu_dsDataChange();
    void tea_dsDataChange();

    // The maker's web address (online help).
    static const QString kMakerUrl;

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void FormShow();
    void buildMenus();
    void buildToolBar();
    void buildPages();
    void buildStatusBar();
    QAction *menuItem(QMenu *menu, const QString &name, const QString &caption, void (Tmain_form::*handler)(),
                      const QKeySequence &shortcut = {});
    QToolButton *toolButton(const QString &name, const QString &caption, const QString &icon,
                            void (Tmain_form::*handler)());
    void connectCommand(QObject *sender, void (Tmain_form::*handler)());
    void showRegister(Register r);
    void toggleRegister(Register r);
    // What the record commands need of the showing register.
    struct RegisterCommands {
        TableCursor *cursor;
        QDialog *editor;
        QString nameColumn, addPermission, changePermission, deletePermission, emptyText;
        std::function<void()> prepareAdd, prepareChange, prepareView;
    };
    RegisterCommands registerCommands() const;
    void setRegisterCommandsEnabled(bool on);
    // Shows a dialog of a later subsystem by its window name; says so when it is not installed.
    QWidget *showDialog(const QString &windowName);
    void printReport(const QString &permission, const QString &reportName, bool withCompanyText);
    void openList(const QString &permission, const QString &windowName);

    Register m_showing = Register::None;
    QString m_programFolder;
    bool m_firstShow = true;
    std::unique_ptr<HelpLoader> m_help;
};

extern Tmain_form *main_form;

} // namespace tavimor
