#include "main_form.h"

#include "about_form.h"
#include "command.h"
#include "datalink.h"
#include "dbgrid.h"
#include "dm.h"
#include "filterexpression.h"
#include "formregistry.h"
#include "helploader.h"
#include "login_form.h"
#include "look.h"
#include "schema.h"
#include "startup.h"
#include "students/editstu_form.h"
#include "teachers/edittea_form.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

Tmain_form *main_form = nullptr;

const QString Tmain_form::kMakerUrl = u"https://vantrel.example/"_s;

namespace {
const QString kNoPermission = u"对不起,您没有此权限!"_s;
const QString kNoPermissionCompany = u"对不起，您没有此权限!"_s;
} // namespace

Tmain_form::Tmain_form(QWidget *parent) : QMainWindow(parent), m_help(std::make_unique<HelpLoader>())
{
    setObjectName(u"main_form"_s);
    setFont(songFont(9));
    setWindowIcon(QIcon(u":/shell/app.svg"_s));
    resize(1024, 700);

    // Creation: the folder of the program file.
    m_programFolder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!m_programFolder.endsWith(QDir::separator()))
        m_programFolder += QDir::separator();

    buildMenus();
    buildToolBar();
    buildPages();
    buildStatusBar();

    stu_ds = new DataLink(DM->stu_table, this);
    stu_ds->setObjectName(u"stu_ds"_s);
    tea_ds = new DataLink(DM->tea_table, this);
    tea_ds->setObjectName(u"tea_ds"_s);
    connect(stu_ds, &DataLink::dataChange, this, &Tmain_form::stu_dsDataChange);
    connect(tea_ds, &DataLink::dataChange, this, &Tmain_form::tea_dsDataChange);
}

Tmain_form::~Tmain_form() = default;

// ----------------------------------------------------------------------------------- building

void Tmain_form::connectCommand(QObject *sender, void (Tmain_form::*handler)())
{
    if (auto *a = qobject_cast<QAction *>(sender))
        connect(a, &QAction::triggered, this, [this, handler] { runCommand([&] { (this->*handler)(); }); });
    else if (auto *b = qobject_cast<QToolButton *>(sender))
        connect(b, &QToolButton::clicked, this, [this, handler] { runCommand([&] { (this->*handler)(); }); });
}

QAction *Tmain_form::menuItem(QMenu *menu, const QString &name, const QString &caption,
                              void (Tmain_form::*handler)(), const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
    }
    if (handler)
        connectCommand(a, handler);
    return a;
}

void Tmain_form::buildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(u"MainMenu1"_s);

    N1 = MainMenu1->addMenu(u"『&I信息管理』"_s);
    N1->setObjectName(u"N1"_s);
    stu_menuitem = menuItem(N1, u"stu_menuitem"_s, u"学生信息"_s, &Tmain_form::ToolButton6Click, QKeySequence(u"Ctrl+S"_s));
    tea_menuitem = menuItem(N1, u"tea_menuitem"_s, u"老师信息"_s, &Tmain_form::ToolButton8Click, QKeySequence(u"Ctrl+T"_s));
    stu_menuitem->setCheckable(true);
    tea_menuitem->setCheckable(true);
    N1->addSeparator();
    N21 = menuItem(N1, u"N21"_s, u"课程设置"_s, &Tmain_form::N21Click);
    N22 = menuItem(N1, u"N22"_s, u"职称设置"_s, &Tmain_form::N22Click);
    N23 = N1->addMenu(u"年级设置"_s);
    N23->setObjectName(u"N23"_s);
    N23->menuAction()->setObjectName(u"N23"_s);
    N25 = menuItem(N23, u"N25"_s, u"学生年级"_s, &Tmain_form::N25Click);
    N26 = menuItem(N23, u"N26"_s, u"老师年级"_s, &Tmain_form::N26Click);
    N24 = menuItem(N1, u"N24"_s, u"专业设置"_s, &Tmain_form::N24Click);
    N1->addSeparator();
    N28 = menuItem(N1, u"N28"_s, u"退出"_s, &Tmain_form::close_buttonClick, QKeySequence(u"Ctrl+E"_s));

    N2 = MainMenu1->addMenu(u"『&Q查询打印』"_s);
    N2->setObjectName(u"N2"_s);
    N6 = menuItem(N2, u"N6"_s, u"学生查询"_s, &Tmain_form::query_buttonClick, QKeySequence(u"Ctrl+Alt+S"_s));
    N7 = menuItem(N2, u"N7"_s, u"老师查询"_s, &Tmain_form::query_buttonClick, QKeySequence(u"Ctrl+Alt+T"_s));
    N6->setEnabled(false);
    N7->setEnabled(false);
    N2->addSeparator();
    N35 = N2->addMenu(u"打印信息表"_s);
    N35->setObjectName(u"N35"_s);
    N35->menuAction()->setObjectName(u"N35"_s);
    N36 = menuItem(N35, u"N36"_s, u"学生信息"_s, &Tmain_form::N36Click);
    N37 = menuItem(N35, u"N37"_s, u"老师信息"_s, &Tmain_form::N37Click);
    N38 = menuItem(N2, u"N38"_s, u"老师联系方式"_s, &Tmain_form::N38Click);
    N39 = menuItem(N2, u"N39"_s, u"学生地址"_s, &Tmain_form::N39Click);

    N8 = MainMenu1->addMenu(u"『&S系统设置』"_s);
    N8->setObjectName(u"N8"_s);
    N9 = menuItem(N8, u"N9"_s, u"数据备份"_s, &Tmain_form::N9Click);
    N8->addSeparator();
    N15 = menuItem(N8, u"N15"_s, u"公司信息修改"_s, &Tmain_form::N15Click);
    N30 = menuItem(N8, u"N30"_s, u"管理员设置"_s, &Tmain_form::N30Click);
    N8->addSeparator();
    N31 = menuItem(N8, u"N31"_s, u"推广员设置"_s, &Tmain_form::N31Click);
    N32 = menuItem(N8, u"N32"_s, u"顾问设置"_s, &Tmain_form::N32Click);

    N11 = MainMenu1->addMenu(u"『&H帮助』"_s);
    N11->setObjectName(u"N11"_s);
    N12 = menuItem(N11, u"N12"_s, u"帮助主题"_s, &Tmain_form::N12Click);
    N13 = menuItem(N11, u"N13"_s, u"在线帮助"_s, &Tmain_form::N13Click);
    N11->addSeparator();
    N18 = menuItem(N11, u"N18"_s, u"关于我们"_s, &Tmain_form::N18Click);
    N19 = menuItem(N11, u"N19"_s, u"关于"_s, &Tmain_form::N19Click);

    print_popmenu = new QMenu(this);
    print_popmenu->setObjectName(u"print_popmenu"_s);
    N4 = menuItem(print_popmenu, u"N4"_s, u"打印学生表"_s, &Tmain_form::N4Click);
    N5 = menuItem(print_popmenu, u"N5"_s, u"打印老师表"_s, &Tmain_form::N5Click);
    N10 = menuItem(print_popmenu, u"N10"_s, u"老师联系方式"_s, &Tmain_form::N10Click);
    N40 = menuItem(print_popmenu, u"N40"_s, u"学生地址"_s, &Tmain_form::N40Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(u"PopupMenu1"_s);
    N3 = menuItem(PopupMenu1, u"N3"_s, u"增加"_s, &Tmain_form::add_buttonClick);
    N43 = menuItem(PopupMenu1, u"N43"_s, u"删除"_s, &Tmain_form::del_buttonClick);
    N44 = menuItem(PopupMenu1, u"N44"_s, u"修改"_s, &Tmain_form::modify_buttonClick);
    PopupMenu1->addSeparator();
    N47 = menuItem(PopupMenu1, u"N47"_s, u"查询"_s, &Tmain_form::query_buttonClick);
    N46 = menuItem(PopupMenu1, u"N46"_s, u"授课记录"_s, &Tmain_form::teachrecord_buttonClick);
}

QToolButton *Tmain_form::toolButton(const QString &name, const QString &caption, const QString &icon,
                                    void (Tmain_form::*handler)())
{
    auto *b = new QToolButton(ToolBar1);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(QIcon(u":/shell/icons/"_s + icon + u".svg"_s));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumWidth(64);
    b->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(b);
    if (handler)
        connectCommand(b, handler);
    return b;
}

void Tmain_form::buildToolBar()
{
    ToolBar1 = addToolBar(u"ToolBar1"_s);
    ToolBar1->setObjectName(u"ToolBar1"_s);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->toggleViewAction()->setEnabled(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    ToolButton6 = toolButton(u"ToolButton6"_s, u"&S学生信息"_s, u"students"_s, &Tmain_form::ToolButton6Click);
    ToolButton8 = toolButton(u"ToolButton8"_s, u"&T老师信息"_s, u"teachers"_s, &Tmain_form::ToolButton8Click);
    ToolButton6->setCheckable(true);
    ToolButton8->setCheckable(true);
    ToolBar1->addSeparator();
    add_button = toolButton(u"add_button"_s, u"&A增加"_s, u"add"_s, &Tmain_form::add_buttonClick);
    del_button = toolButton(u"del_button"_s, u"&D删除"_s, u"delete"_s, &Tmain_form::del_buttonClick);
    modify_button = toolButton(u"modify_button"_s, u"&M修改"_s, u"modify"_s, &Tmain_form::modify_buttonClick);
    ToolBar1->addSeparator();
    view_button = toolButton(u"view_button"_s, u"&V查看"_s, u"view"_s, &Tmain_form::view_buttonClick);
    quanbu_button = toolButton(u"quanbu_button"_s, u"&Q全部"_s, u"all"_s, &Tmain_form::quanbu_buttonClick);
    ToolBar1->addSeparator();
    print_button = toolButton(u"print_button"_s, u"&P打印"_s, u"print"_s, nullptr);
    print_button->setMenu(print_popmenu);
    print_button->setPopupMode(QToolButton::MenuButtonPopup);
    print_button->setMinimumWidth(76);
    query_button = toolButton(u"query_button"_s, u"&F查询"_s, u"search"_s, &Tmain_form::query_buttonClick);
    ToolBar1->addSeparator();
    teachrecord_button =
        toolButton(u"teachrecord_button"_s, u"&T授课记录"_s, u"teachrecord"_s, &Tmain_form::teachrecord_buttonClick);
    close_button = toolButton(u"close_button"_s, u"&C退出"_s, u"exit"_s, &Tmain_form::close_buttonClick);
    setRegisterCommandsEnabled(false);
}

void Tmain_form::buildPages()
{
    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(u"PageControl1"_s);
    setCentralWidget(PageControl1);

    auto gridPage = [this](QWidget *&page, DBGrid *&grid, const QString &pageName, const QString &gridName,
                           DataLink *link) {
        page = new QWidget(PageControl1);
        page->setObjectName(pageName);
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(0, 0, 0, 0);
        grid = new DBGrid(page);
        grid->setObjectName(gridName);
        grid->bind(link);
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint &p) { PopupMenu1->popup(grid->viewport()->mapToGlobal(p)); });
        connect(grid, &DBGrid::doubleClicked, this, [this] { runCommand([this] { view_buttonClick(); }); });
        l->addWidget(grid);
        PageControl1->addWidget(page);
    };
    gridPage(TabSheet1, DBGrid1, u"TabSheet1"_s, u"DBGrid1"_s, DM->stu_ds);
    gridPage(TabSheet2, DBGrid2, u"TabSheet2"_s, u"DBGrid2"_s, DM->tea_ds);

    TabSheet3 = new QWidget(PageControl1);
    TabSheet3->setObjectName(u"TabSheet3"_s);
    TabSheet3->setAutoFillBackground(true);
    QPalette p = TabSheet3->palette();
    p.setColor(QPalette::Window, QColor(58, 110, 165)); // the desktop background
    TabSheet3->setPalette(p);
    startTitle = new QLabel(u"Vantrel"_s, TabSheet3);
    startTitle->setObjectName(u"Label1"_s);
    QFont big(u"楷体_GB2312"_s);
    big.setPixelSize(35);
    big.setBold(true);
    startTitle->setFont(big);
    startProduct = new QLabel(u"Tavimor"_s, TabSheet3);
    startProduct->setObjectName(u"Label2"_s);
    startProduct->setFont(songFont(9));
    for (QLabel *l : {startTitle, startProduct}) {
        QPalette lp = l->palette();
        lp.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(lp);
    }
    auto *g = new QGridLayout(TabSheet3);
    g->setContentsMargins(24, 16, 16, 10);
    g->addWidget(startTitle, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    g->addWidget(startProduct, 1, 1, Qt::AlignRight | Qt::AlignBottom);
    g->setRowStretch(0, 1);
    g->setColumnStretch(0, 1);
    PageControl1->addWidget(TabSheet3);
    PageControl1->setCurrentWidget(TabSheet3);
}

void Tmain_form::buildStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(u"StatusBar1"_s);
    StatusBar1->setSizeGripEnabled(true);
    auto panel = [this](const QString &name, bool withPicture) {
        auto *frame = new QWidget(StatusBar1);
        auto *l = new QHBoxLayout(frame);
        l->setContentsMargins(4, 0, 4, 0);
        l->setSpacing(4);
        if (withPicture) {
            auto *icon = new QLabel(frame);
            icon->setPixmap(QPixmap(u":/shell/user16.png"_s));
            l->addWidget(icon);
        }
        auto *text = new QLabel(frame);
        text->setObjectName(name);
        l->addWidget(text, 1);
        frame->setFixedWidth(200);
        StatusBar1->addWidget(frame);
        return text;
    };
    panel0 = panel(u"panel0"_s, true);
    panel1 = panel(u"panel1"_s, false);
}

// ----------------------------------------------------------------------------------- show / close

void Tmain_form::showEvent(QShowEvent *e)
{
    if (m_firstShow) {
        m_firstShow = false;
        runCommand([this] { FormShow(); });
    }
    QMainWindow::showEvent(e);
}

void Tmain_form::FormShow()
{
    setWindowTitle(DM->company_table->value(u"公司名称"_s).toString() + u"客户管理系统"_s);
    m_showing = Register::None;
    PageControl1->setCurrentWidget(TabSheet3);
    panel1->clear();
    panel0->setText(u"当前管理员:"_s + currentUser());
}

void Tmain_form::closeEvent(QCloseEvent *e)
{
    // FormCloseQuery: every way of closing asks first.
    if (DM && DM->Message1->question(u"确实要退出本系统!"_s) != MessageService::Yes) {
        e->ignore();
        return;
    }
    e->accept();
    endProgram(0); // FormClose: the program ends with the main window
}

void Tmain_form::close_buttonClick()
{
    close();
}

// ----------------------------------------------------------------------------------- permission

bool Tmain_form::permissionFlag(const QString &user, const QString &column)
{
    SqlQuery *q = DM->user_query;
    q->close();
    q->open(u"select * from 用户 where 用户名=?"_s, {user});
    const QVariant v = q->value(column);
    return SqlDialect::fromStorage(ColumnKind::YesNo, v).toBool();
}

bool Tmain_form::haspermission(const QString &column, const QString &refusal)
{
    // The commands compare the flag with true or with the text "True"; for a yes/no column both
    // come to the same: a set flag holds, a cleared, null or missing one does not.
    if (permissionFlag(currentUser(), column))
        return true;
    DM->Message1->information(refusal.isEmpty() ? kNoPermission : refusal);
    return false;
}

// ----------------------------------------------------------------------------------- registers

void Tmain_form::setRegisterCommandsEnabled(bool on)
{
    for (QToolButton *b : {add_button, del_button, modify_button, view_button, quanbu_button, print_button,
                           query_button, teachrecord_button})
        b->setEnabled(on);
}

void Tmain_form::showRegister(Register r)
{
    const bool students = r == Register::Students;
    m_showing = r;
    if (r == Register::None) {
        PageControl1->setCurrentWidget(TabSheet3);
        return;
    }
    PageControl1->setCurrentWidget(students ? TabSheet1 : TabSheet2);
    ToolButton6->setChecked(students);
    ToolButton8->setChecked(!students);
    stu_menuitem->setChecked(students);
    tea_menuitem->setChecked(!students);
    setRegisterCommandsEnabled(true);
    N6->setEnabled(students);
    N7->setEnabled(!students);
    TableCursor *c = students ? DM->stu_table : DM->tea_table;
    panel1->setText((students ? u"当前共有学生记录"_s : u"当前共有老师记录"_s) + QString::number(c->recordCount()) +
                    u"条"_s);
    setWindowTitle(students ? u"Tavimor-[学生信息中心]"_s : u"Tavimor-[老师信息中心]"_s);
    (students ? DBGrid1 : DBGrid2)->setFocus();
}

void Tmain_form::toggleRegister(Register r)
{
    if (m_showing != r) {
        showRegister(r);
        return;
    }
    // Closing the showing register: back to the start page, its search entry disabled.
    const bool students = r == Register::Students;
    (students ? ToolButton6 : ToolButton8)->setChecked(false);
    (students ? stu_menuitem : tea_menuitem)->setChecked(false);
    setRegisterCommandsEnabled(false);
    panel1->clear();
    showRegister(Register::None);
    (students ? N6 : N7)->setEnabled(false);
    setWindowTitle(u"Tavimor"_s);
}

void Tmain_form::ToolButton6Click()
{
    toggleRegister(Register::Students);
}

void Tmain_form::ToolButton8Click()
{
    toggleRegister(Register::Teachers);
}

void Tmain_form::stu_dsDataChange()
{
    panel1->setText(u"当前共有学生记录"_s + QString::number(DM->stu_table->recordCount()) + u"条"_s);
}

void Tmain_form::tea_dsDataChange()
{
    panel1->setText(u"当前共有老师记录"_s + QString::number(DM->tea_table->recordCount()) + u"条"_s);
}

// ----------------------------------------------------------------------------------- record commands

Tmain_form::RegisterCommands Tmain_form::registerCommands() const
{
    if (m_showing == Register::Students)
        return {DM->stu_table, editstu_form, u"学生姓名"_s, u"添加学生"_s, u"修改学生"_s,
                u"删除学生"_s, u"还没有学生记录,请增加!"_s,
                [] { editstu_form->prepareForAdd(); }, [] { editstu_form->prepareForChange(); },
                [] { editstu_form->prepareForView(); }};
    return {DM->tea_table, edittea_form, u"姓名"_s, u"添加老师"_s, u"修改老师"_s, u"删除老师"_s,
            u"还没有老师记录,请增加!"_s, [] { edittea_form->prepareForAdd(); },
            [] { edittea_form->prepareForChange(); }, [] { edittea_form->prepareForView(); }};
}

void Tmain_form::add_buttonClick()
{
    if (m_showing == Register::None)
        return;
    const RegisterCommands r = registerCommands();
    if (!haspermission(r.addPermission))
        return;
    r.cursor->insert(); // add needs no row in the register
    r.prepareAdd();
    r.editor->exec();
}

void Tmain_form::del_buttonClick()
{
    if (m_showing == Register::None)
        return;
    const RegisterCommands r = registerCommands();
    if (!haspermission(r.deletePermission))
        return;
    if (r.cursor->isEmpty()) {
        DM->Message1->information(u"没有数据可删除!"_s);
        return;
    }
    const QString name = r.cursor->value(r.nameColumn).toString();
    if (DM->Message1->question(u"您确实要删除"_s + name + u"的记录吗?"_s) == MessageService::Yes)
        r.cursor->remove();
}

void Tmain_form::modify_buttonClick()
{
    if (m_showing == Register::None)
        return;
    const RegisterCommands r = registerCommands();
    if (!haspermission(r.changePermission))
        return;
    if (r.cursor->isEmpty()) {
        DM->Message1->information(r.emptyText);
        return;
    }
    r.cursor->edit();
    r.prepareChange();
    r.editor->exec();
}

void Tmain_form::view_buttonClick()
{
    if (m_showing == Register::None)
        return;
    const RegisterCommands r = registerCommands();
    if (r.cursor->isEmpty()) {
        DM->Message1->information(r.emptyText);
        return;
    }
    r.prepareView(); // the register stays in browse state
    r.editor->exec();
}

void Tmain_form::quanbu_buttonClick()
{
    if (m_showing == Register::Students)
        DM->stu_table->setFiltered(false);
    else if (m_showing == Register::Teachers)
        DM->tea_table->setFiltered(false);
}

void Tmain_form::query_buttonClick()
{
    if (m_showing == Register::Students) {
        if (haspermission(u"学生查询"_s))
            showDialog(u"stuquery_form"_s);
    } else if (m_showing == Register::Teachers) {
        if (haspermission(u"老师查询"_s))
            showDialog(u"teaquery_form"_s);
    }
}

void Tmain_form::teachrecord_buttonClick()
{
    if (m_showing == Register::None)
        return;
    const bool students = m_showing == Register::Students;
    TableCursor *c = students ? DM->stu_table : DM->tea_table;
    if (c->recordCount() == 0) {
        DM->Message1->information(students ? u"请先增加学生的基本信息!"_s : u"请先增加老师的基本信息!"_s);
        return;
    }
    TableCursor *records = DM->teachrecord_table;
    records->setFilter((students ? u"学生编号="_s : u"老师编号="_s) + FilterExpression::quoted(c->value(u"编号"_s).toString()));
    records->setFiltered(true);
    if (!records->isOpen())
        records->open();
    showDialog(u"teachrecord_form"_s);
}

// ----------------------------------------------------------------------------------- printing

QString Tmain_form::companyText()
{
    return DM->company_table->value(u"公司名称"_s).toString() + QChar(10) + u"电话:"_s +
           DM->company_table->value(u"公司电话"_s).toString();
}

void Tmain_form::printReport(const QString &permission, const QString &reportName, bool withCompanyText)
{
    QWidget *report = findForm(reportName);
    if (withCompanyText && report) {
        // The label changes even when the check then refuses.
        if (QObject *label = report->findChild<QObject *>(u"comlabel"_s))
            label->setProperty("text", companyText());
    }
    if (!haspermission(permission))
        return;
    if (!report || !QMetaObject::invokeMethod(report, "preview")) {
        DM->Message1->information(u"打印功能尚未安装。"_s);
        return;
    }
}

void Tmain_form::N4Click() { printReport(u"学生打印"_s, u"printstu_form"_s, false); }
void Tmain_form::N5Click() { printReport(u"老师打印"_s, u"print_tea"_s, false); }
void Tmain_form::N10Click() { printReport(u"老师联系方式"_s, u"printteaaddress_form"_s, false); }
void Tmain_form::N40Click() { printReport(u"学生联系方式"_s, u"printstuaddress_form"_s, false); }
void Tmain_form::N36Click() { printReport(u"学生打印"_s, u"printstu_form"_s, true); }
void Tmain_form::N37Click() { printReport(u"老师打印"_s, u"print_tea"_s, true); }
void Tmain_form::N38Click() { printReport(u"老师联系方式"_s, u"printteaaddress_form"_s, true); }
void Tmain_form::N39Click() { printReport(u"学生联系方式"_s, u"printstuaddress_form"_s, true); }

// ----------------------------------------------------------------------------------- settings

QWidget *Tmain_form::showDialog(const QString &windowName)
{
    QWidget *w = findForm(windowName);
    auto *dialog = qobject_cast<QDialog *>(w);
    if (!dialog) {
        DM->Message1->information(u"此功能尚未安装。"_s);
        return nullptr;
    }
    dialog->exec();
    return dialog;
}

void Tmain_form::openList(const QString &permission, const QString &windowName)
{
    if (haspermission(permission))
        showDialog(windowName);
}

void Tmain_form::N21Click() { openList(u"课程设置"_s, u"setenv_form"_s); }
void Tmain_form::N22Click() { openList(u"职称设置"_s, u"setzhichen_form"_s); }
void Tmain_form::N25Click() { openList(u"年级设置"_s, u"setstugrade_form"_s); }
void Tmain_form::N26Click() { openList(u"年级设置"_s, u"setteagrade_form"_s); }
void Tmain_form::N24Click() { openList(u"专业设置"_s, u"setsubject_form"_s); }
void Tmain_form::N9Click() { openList(u"数据备份"_s, u"backup_form"_s); }
void Tmain_form::N30Click() { openList(u"管理员设置"_s, u"setusers_form"_s); }
void Tmain_form::N31Click() { openList(u"推广员设置"_s, u"tuiguangyuan_form"_s); }
void Tmain_form::N32Click() { openList(u"顾问设置"_s, u"guwen_form"_s); }

void Tmain_form::N15Click()
{
    if (!haspermission(u"参数设置"_s, kNoPermissionCompany))
        return;
    if (showDialog(u"setcompany_form"_s))
        DM->company_table->edit();
}

// ----------------------------------------------------------------------------------- help

void Tmain_form::N12Click()
{
    m_help->showHelp(this, programFolder() + u"jiajiao.chm"_s, HelpLoader::kStartKeyword);
}

void Tmain_form::N13Click()
{
    QDesktopServices::openUrl(QUrl(kMakerUrl)); // a failure is not reported
}

void Tmain_form::N18Click()
{
    showDialog(u"aboutus_form"_s);
}

void Tmain_form::N19Click()
{
    about_form->exec();
}

} // namespace tavimor
