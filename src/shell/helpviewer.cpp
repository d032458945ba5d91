#include "helpviewer.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kTopicsRole = Qt::UserRole;     // index rows: position in m_index
constexpr int kPathRole = Qt::UserRole + 1;   // contents rows: page path
constexpr int kSearchRole = Qt::UserRole + 2; // index rows: the text the box matches against

QString htmlEscape(const QString &text)
{
    return text.toHtmlEscaped();
}

// The toolbar's pictures, drawn from small vector images of our own.
QIcon drawnIcon(const QString &body)
{
    const QByteArray svg = (u"<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 24 24'>"_s + body + u"</svg>"_s).toUtf8();
    QSvgRenderer renderer(svg);
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon paneIcon()
{
    return drawnIcon(u"<rect x='2.5' y='4.5' width='19' height='15' rx='1.5' fill='#fff' stroke='#2f5d8a' stroke-width='1.4'/>"
                     "<rect x='3.2' y='5.2' width='6.3' height='13.6' fill='#c9d9ea'/>"
                     "<path d='M9.8 5v14' stroke='#2f5d8a' stroke-width='1.2'/>"
                     "<path d='M12.5 9h6M12.5 12h6M12.5 15h4' stroke='#8aa4c0' stroke-width='1.2'/>"_s);
}

QIcon arrowIcon(bool back)
{
    const QString arrow = back ? u"M13.5 6.8 8.3 12l5.2 5.2M8.8 12h8"_s : u"M10.5 6.8 15.7 12l-5.2 5.2M15.2 12h-8"_s;
    return drawnIcon(u"<circle cx='12' cy='12' r='9.6' fill='#3f7f4c' stroke='#2d5e37' stroke-width='0.8'/>"
                     "<path d='"_s + arrow +
                     u"' stroke='#fff' stroke-width='2.4' fill='none' stroke-linecap='round' stroke-linejoin='round'/>"_s);
}

QIcon homeIcon()
{
    return drawnIcon(u"<path d='M5.5 10.2v9.3h4.8v-5.6h3.4v5.6h4.8v-9.3' fill='#eef3f9' stroke='#2f5d8a' stroke-width='1.5' stroke-linejoin='round'/>"
                     "<path d='M2.8 11.6 12 4l9.2 7.6' stroke='#b5482f' stroke-width='2.1' fill='none' stroke-linejoin='round' stroke-linecap='round'/>"_s);
}

QIcon printIcon()
{
    return drawnIcon(u"<rect x='6.5' y='3' width='11' height='6' fill='#fff' stroke='#555' stroke-width='1.3'/>"
                     "<rect x='2.5' y='8.5' width='19' height='9' rx='2' fill='#cfd6de' stroke='#555' stroke-width='1.3'/>"
                     "<rect x='6.5' y='14' width='11' height='7' fill='#fff' stroke='#555' stroke-width='1.3'/>"
                     "<circle cx='18.3' cy='11.3' r='0.9' fill='#3f7f4c'/>"
                     "<path d='M8.5 16.6h7M8.5 18.7h5' stroke='#888' stroke-width='0.9'/>"_s);
}

// The page pane: reads every page, picture and style sheet out of the open help file.
class ChmBrowser : public QTextBrowser
{
public:
    ChmBrowser(const std::unique_ptr<ChmFile> &file, QWidget *parent)
        : QTextBrowser(parent)
        , m_file(file)
    {
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        // Pictures and style sheets of a page are named relative to it; the page being loaded
        // is not yet the browser's source while they are read.
        const QUrl url = name.isRelative() ? (m_loadingPage.isValid() ? m_loadingPage : source()).resolved(name) : name;
        if (url.scheme() != kScheme)
            return {};
        if (type == QTextDocument::HtmlResource)
            m_loadingPage = url;
        const std::optional<QByteArray> data = m_file ? m_file->read(url.path()) : std::nullopt;
        if (!data) {
            if (type == QTextDocument::HtmlResource)
                return u"<html><body><h2>找不到该页面</h2><p>帮助文件中没有“%1”这一页。</p></body></html>"_s.arg(
                    htmlEscape(url.path()));
            return {};
        }
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return decodeHelpText(*data);
        return *data;
    }

private:
    const std::unique_ptr<ChmFile> &m_file;
    QUrl m_loadingPage;
};

} // namespace

HelpViewer::HelpViewer(const chm::Api &api, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_file(std::make_unique<ChmFile>(api))
{
    setObjectName(u"help_viewer"_s);
    setWindowTitle(u"帮助"_s);
    setModal(false);
    setAttribute(Qt::WA_QuitOnClose, false);
    buildUi();
    resize(980, 700);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(u"help_toolbar"_s);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setMovable(false);
    layout->addWidget(m_toolBar);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    layout->addWidget(m_splitter, 1);

    m_tabs = new QTabWidget(m_splitter);
    m_tabs->setObjectName(u"help_tabs"_s);
    m_tabs->setDocumentMode(false);

    // Contents: the tree of the help file's table of contents.
    m_contentsTab = new QWidget(m_tabs);
    m_contentsTab->setObjectName(u"contents_tab"_s);
    auto *contentsLayout = new QVBoxLayout(m_contentsTab);
    contentsLayout->setContentsMargins(6, 6, 6, 6);
    m_tree = new QTreeWidget(m_contentsTab);
    m_tree->setObjectName(u"contents_tree"_s);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setIndentation(18);
    m_tree->setStyleSheet(u"QTreeWidget::item { padding: 2px 0px; }"_s);
    contentsLayout->addWidget(m_tree);
    m_tabs->addTab(m_contentsTab, u"目录(&C)"_s);

    // Index: the keywords, with the box that finds and narrows them.
    m_indexTab = new QWidget(m_tabs);
    m_indexTab->setObjectName(u"index_tab"_s);
    auto *indexLayout = new QVBoxLayout(m_indexTab);
    indexLayout->setContentsMargins(6, 8, 6, 6);
    indexLayout->setSpacing(6);
    auto *prompt = new QLabel(u"键入要查找的关键字(&W)："_s, m_indexTab);
    m_filter = new QLineEdit(m_indexTab);
    m_filter->setObjectName(u"index_filter"_s);
    m_filter->setClearButtonEnabled(true);
    m_filter->installEventFilter(this);
    prompt->setBuddy(m_filter);
    m_list = new QListWidget(m_indexTab);
    m_list->setObjectName(u"index_list"_s);
    m_list->setUniformItemSizes(true);
    m_list->setStyleSheet(u"QListWidget::item { padding: 2px 3px; }"_s);
    m_display = new QPushButton(u"显示(&D)"_s, m_indexTab);
    m_display->setObjectName(u"index_display_button"_s);
    m_display->setAutoDefault(false);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_display);
    indexLayout->addWidget(prompt);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(m_list, 1);
    indexLayout->addLayout(buttonRow);
    m_tabs->addTab(m_indexTab, u"索引(&N)"_s);

    auto *page = new ChmBrowser(m_file, m_splitter);
    m_page = page;
    m_page->setObjectName(u"help_page"_s);
    m_page->setOpenLinks(false);
    m_page->setFrameShape(QFrame::StyledPanel);
    QFont pageFont = QApplication::font();
    pageFont.setPointSizeF(10.5);
    m_page->document()->setDefaultFont(pageFont);
    m_page->document()->setDocumentMargin(14);

    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_page);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({270, 710});

    QAction *pane = m_toolBar->addAction(paneIcon(), u"隐藏"_s);
    pane->setObjectName(u"help_hide"_s);
    pane->setToolTip(u"隐藏或显示左侧的目录和索引"_s);
    QAction *back = m_toolBar->addAction(arrowIcon(true), u"后退"_s);
    back->setObjectName(u"help_back"_s);
    back->setEnabled(false);
    QAction *forward = m_toolBar->addAction(arrowIcon(false), u"前进"_s);
    forward->setObjectName(u"help_forward"_s);
    forward->setEnabled(false);
    QAction *home = m_toolBar->addAction(homeIcon(), u"主页"_s);
    home->setObjectName(u"help_home"_s);
    QAction *print = m_toolBar->addAction(printIcon(), u"打印"_s);
    print->setObjectName(u"help_print"_s);

    connect(pane, &QAction::triggered, this, [this, pane] {
        const bool hide = m_tabs->isVisible();
        m_tabs->setVisible(!hide);
        pane->setText(hide ? u"显示"_s : u"隐藏"_s);
    });
    connect(back, &QAction::triggered, m_page, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_page, &QTextBrowser::forward);
    connect(m_page, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this, [this] {
        if (isFileOpen())
            showTopic(m_file->defaultTopic());
    });
    connect(print, &QAction::triggered, this, &HelpViewer::printPage);
    m_fileActions = {home, print};

    connect(m_page, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    connect(m_page, &QTextBrowser::sourceChanged, this, &HelpViewer::syncContents);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { showContentsItem(item); });
    connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) { showContentsItem(item); });
    connect(m_tree, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *item) { item->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon)); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *item) { item->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon)); });
    connect(m_filter, &QLineEdit::textEdited, this, &HelpViewer::filterIndex);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { displayItem(m_list->currentItem(), true); });
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { displayItem(item, true); });
    connect(m_display, &QPushButton::clicked, this, [this] { displayItem(m_list->currentItem(), true); });
}

bool HelpViewer::eventFilter(QObject *watched, QEvent *event)
{
    // Up, Down, Page Up and Page Down in the keyword box move through the list, as in the index
    // of a classic help window.
    if (watched == m_filter && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(m_list, event);
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool HelpViewer::isFileOpen() const
{
    return m_file->isOpen();
}

QString HelpViewer::fileName() const
{
    return m_file->isOpen() ? m_file->fileName() : m_requestedFile;
}

void HelpViewer::clearNavigation()
{
    m_contents.clear();
    m_index.clear();
    m_tree->clear();
    m_list->clear();
    m_page->clearHistory();
}

bool HelpViewer::openFile(const QString &chmPath)
{
    m_file->close();
    clearNavigation();
    ++m_generation;
    m_requestedFile = chmPath;
    m_error.clear();
    for (QAction *action : std::as_const(m_fileActions))
        action->setEnabled(false);
    setWindowTitle(u"帮助"_s);

    const QFileInfo info(chmPath);
    if (!info.exists()) {
        m_error = u"找不到帮助文件“%1”。"_s.arg(QDir::toNativeSeparators(chmPath));
        showMessage(u"无法打开帮助文件"_s,
                    u"<p>找不到帮助文件：</p><p class=\"path\"><b>%1</b></p>"
                    "<p>帮助文件 jiajiao.chm 应当与本程序放在同一个文件夹中。请与系统管理员联系，重新安装帮助文件。</p>"_s
                        .arg(htmlEscape(QDir::toNativeSeparators(chmPath))));
        return false;
    }
    if (!info.isFile() || !m_file->open(chmPath)) {
        m_error = u"无法读取帮助文件“%1”。"_s.arg(QDir::toNativeSeparators(chmPath));
        showMessage(u"无法打开帮助文件"_s,
                    u"<p>帮助文件不能读取，它可能已经损坏，或者不是帮助文件：</p><p class=\"path\"><b>%1</b></p>"
                    "<p>请与系统管理员联系，重新安装帮助文件。</p>"_s.arg(htmlEscape(QDir::toNativeSeparators(chmPath))));
        return false;
    }

    if (!m_file->title().isEmpty())
        setWindowTitle(m_file->title());
    if (const auto hhc = m_file->read(m_file->contentsFile()))
        m_contents = parseSitemap(decodeHelpText(*hhc));
    if (const auto hhk = m_file->read(m_file->indexFile()))
        m_index = parseSitemap(decodeHelpText(*hhk));
    fillContents();
    fillIndex();
    for (QAction *action : std::as_const(m_fileActions))
        action->setEnabled(true);
    return true;
}

void HelpViewer::fillContents()
{
    QList<QTreeWidgetItem *> parents; // the open item of each level
    for (const SitemapEntry &entry : std::as_const(m_contents)) {
        const int level = qMin(entry.level, int(parents.size()));
        parents.resize(level);
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        if (!entry.topics.isEmpty())
            item->setData(0, kPathRole, entry.topics.first().path);
        parents.append(item);
    }
    // Books and pages.
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        QTreeWidgetItem *item = *it;
        const bool book = item->childCount() > 0;
        if (book)
            item->setExpanded(true);
        item->setIcon(0, style()->standardIcon(book ? QStyle::SP_DirOpenIcon : QStyle::SP_FileIcon));
    }
}

void HelpViewer::fillIndex()
{
    // Keywords in the order of the Chinese dictionary (by pinyin), each followed by its own
    // sub-keywords in file order.
    struct Group {
        int first;
        int count;
    };
    QList<Group> groups;
    for (int i = 0; i < m_index.size(); ++i) {
        if (m_index[i].level == 0 || groups.isEmpty())
            groups.append({i, 1});
        else
            ++groups.last().count;
    }
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(groups.begin(), groups.end(), [&](const Group &a, const Group &b) {
        return collator.compare(m_index[a.first].name, m_index[b.first].name) < 0;
    });
    QList<SitemapEntry> sorted;
    for (const Group &g : std::as_const(groups))
        sorted.append(m_index.mid(g.first, g.count));
    m_index = sorted;

    QString parent;
    for (int i = 0; i < m_index.size(); ++i) {
        const SitemapEntry &entry = m_index[i];
        if (entry.level == 0)
            parent = entry.name;
        auto *item = new QListWidgetItem(QString(entry.level * 4, u' ') + entry.name, m_list);
        item->setData(kTopicsRole, i);
        item->setData(kSearchRole, entry.level == 0 ? entry.name : parent + u' ' + entry.name);
    }
}

QStringList HelpViewer::indexKeywords() const
{
    QStringList names;
    for (const SitemapEntry &entry : m_index)
        names.append(entry.name);
    return names;
}

void HelpViewer::filterIndex(const QString &text)
{
    const QString wanted = text.trimmed();
    QListWidgetItem *parentItem = nullptr;
    QListWidgetItem *best = nullptr;     // a keyword that starts with the text
    QListWidgetItem *bestSub = nullptr;  // else a sub-keyword that does
    QListWidgetItem *firstShown = nullptr;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        const SitemapEntry &entry = m_index[item->data(kTopicsRole).toInt()];
        const bool shown = wanted.isEmpty() || item->data(kSearchRole).toString().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (entry.level == 0)
            parentItem = item;
        else if (shown && parentItem)
            parentItem->setHidden(false); // a sub-keyword is shown under its keyword
        if (shown && !firstShown)
            firstShown = item;
        if (shown && !wanted.isEmpty() && entry.name.startsWith(wanted, Qt::CaseInsensitive)) {
            if (entry.level == 0 && !best)
                best = item;
            else if (entry.level > 0 && !bestSub)
                bestSub = item;
        }
    }
    if (QListWidgetItem *select = best ? best : bestSub ? bestSub : firstShown) {
        m_list->setCurrentItem(select);
        m_list->scrollToItem(select, QAbstractItemView::PositionAtTop);
    }
}

void HelpViewer::displayIndex(const QString &keyword)
{
    m_tabs->setCurrentWidget(m_indexTab);
    m_filter->setText(keyword);
    filterIndex(QString()); // the whole list, scrolled to the keyword

    QListWidgetItem *exact = nullptr;
    QListWidgetItem *nearest = nullptr;
    for (int row = 0; row < m_list->count() && !exact; ++row) {
        QListWidgetItem *item = m_list->item(row);
        const QString name = m_index[item->data(kTopicsRole).toInt()].name;
        if (name.compare(keyword, Qt::CaseInsensitive) == 0)
            exact = item;
        else if (!nearest && name.startsWith(keyword, Qt::CaseInsensitive))
            nearest = item;
    }
    if (QListWidgetItem *item = exact ? exact : nearest) {
        m_list->setCurrentItem(item);
        m_list->scrollToItem(item, QAbstractItemView::PositionAtTop);
    }
    if (exact)
        displayItem(exact, false);
    else if (isFileOpen() && currentTopic().isEmpty())
        showTopic(m_file->defaultTopic());
    m_filter->setFocus();
    m_filter->selectAll();
}

void HelpViewer::displayItem(QListWidgetItem *item, bool chooseAmongSeveral)
{
    if (!item)
        return;
    const int index = item->data(kTopicsRole).toInt();
    QList<SitemapEntry::Topic> topics = m_index[index].topics;
    // A keyword with no page of its own offers the pages of its sub-keywords.
    const bool ownPages = !topics.isEmpty();
    for (int i = index + 1; !ownPages && i < m_index.size() && m_index[i].level > m_index[index].level; ++i) {
        if (m_index[i].level != m_index[index].level + 1)
            continue;
        for (const SitemapEntry::Topic &topic : m_index[i].topics)
            topics.append({m_index[i].name, topic.path});
    }
    if (topics.isEmpty())
        return;
    if (topics.size() == 1 || !chooseAmongSeveral) {
        showTopic(topics.first().path);
        return;
    }
    // A keyword of several pages: let the user pick one.
    QMenu menu(this);
    menu.setObjectName(u"index_topics_menu"_s);
    for (const SitemapEntry::Topic &topic : std::as_const(topics)) {
        QAction *action = menu.addAction(topic.title);
        action->setData(topic.path);
    }
    const QRect rect = m_list->visualItemRect(item);
    if (QAction *chosen = menu.exec(m_list->viewport()->mapToGlobal(rect.bottomLeft())))
        showTopic(chosen->data().toString());
}

void HelpViewer::showContentsItem(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const QString path = item->data(0, kPathRole).toString();
    if (!path.isEmpty())
        showTopic(path);
}

QUrl HelpViewer::topicUrl(const QString &path) const
{
    // The host changes with every file opened, so a page of a newly opened file is never taken
    // for the page of the same name shown before.
    QUrl url;
    url.setScheme(kScheme);
    url.setHost(u"help%1"_s.arg(m_generation));
    const qsizetype hash = path.indexOf(u'#');
    url.setPath(topicPath(path));
    if (hash >= 0)
        url.setFragment(path.mid(hash + 1));
    return url;
}

bool HelpViewer::showTopic(const QString &path)
{
    if (!isFileOpen() || !m_file->contains(topicPath(path)))
        return false;
    m_page->setSource(topicUrl(path), QTextDocument::HtmlResource);
    return true;
}

QString HelpViewer::currentTopic() const
{
    const QUrl source = m_page->source();
    if (!isFileOpen() || source.scheme() != kScheme || source.host() != topicUrl(QString()).host())
        return QString();
    return source.path();
}

void HelpViewer::followLink(const QUrl &link)
{
    const QUrl url = m_page->source().resolved(link);
    if (url.scheme() == kScheme) {
        m_page->setSource(url, QTextDocument::HtmlResource);
        return;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http"_s || scheme == u"https"_s || scheme == u"mailto"_s)
        QDesktopServices::openUrl(url);
}

void HelpViewer::syncContents(const QUrl &url)
{
    if (url.scheme() != kScheme)
        return;
    const QString path = url.path();
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if ((*it)->data(0, kPathRole).toString().compare(path, Qt::CaseInsensitive) == 0) {
            const QSignalBlocker block(m_tree);
            m_tree->setCurrentItem(*it);
            m_tree->scrollToItem(*it);
            return;
        }
    }
}

void HelpViewer::showMessage(const QString &heading, const QString &detail)
{
    m_page->setHtml(u"<html><body style=\"margin: 18px;\"><h2 style=\"color:#9c2f1f;\">%1</h2>%2</body></html>"_s.arg(
        htmlEscape(heading), detail));
}

void HelpViewer::printPage()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(u"打印帮助主题"_s);
    if (dialog.exec() == QDialog::Accepted)
        m_page->print(&printer);
}

} // namespace tavimor
