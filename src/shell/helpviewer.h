#pragma once

#include "chmfile.h"

#include <QDialog>
#include <QList>
#include <QUrl>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTextBrowser;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavimor {

// The program's help window: a contents tab (the tree of the help file's .hhc), an index tab
// (the keywords of its .hhk with a box that narrows the list) and the page pane, which shows the
// pages, pictures and style sheets of a compiled help file read through the help library.
//
// objectNames: the window "help_viewer"; "help_tabs" with "contents_tab" and "index_tab";
// "contents_tree", "index_filter", "index_list", "index_display_button", "help_page".
class HelpViewer : public QDialog
{
    Q_OBJECT
public:
    explicit HelpViewer(const chm::Api &api, QWidget *parent = nullptr);
    ~HelpViewer() override;

    // Opens a help file. A file that is missing or cannot be read is reported in the page pane
    // (and by errorString()); the result says whether the file is open.
    bool openFile(const QString &chmPath);
    bool isFileOpen() const;
    QString fileName() const;
    QString errorString() const { return m_error; }

    // Brings the index tab forward with keyword in its box and selects the keyword in the list;
    // when the index holds the keyword, its page is shown.
    void displayIndex(const QString &keyword);
    // Shows the page at path inside the file ("/a.html", "/a.html#part"); false if there is none.
    bool showTopic(const QString &path);
    // The page shown ("/a.html"), empty when none.
    QString currentTopic() const;

    QStringList indexKeywords() const;
    int contentsCount() const { return int(m_contents.size()); }

    QTabWidget *navigationTabs() const { return m_tabs; }
    QWidget *contentsTab() const { return m_contentsTab; }
    QWidget *indexTab() const { return m_indexTab; }
    QTreeWidget *contentsTree() const { return m_tree; }
    QLineEdit *indexFilter() const { return m_filter; }
    QListWidget *indexList() const { return m_list; }
    QTextBrowser *pageView() const { return m_page; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void fillContents();
    void fillIndex();
    void clearNavigation();
    void filterIndex(const QString &text);
    void displayItem(QListWidgetItem *item, bool chooseAmongSeveral);
    void showContentsItem(QTreeWidgetItem *item);
    void followLink(const QUrl &link);
    void syncContents(const QUrl &url);
    void showMessage(const QString &heading, const QString &detail);
    void printPage();
    QUrl topicUrl(const QString &path) const;

    std::unique_ptr<ChmFile> m_file;
    QString m_requestedFile;
    QString m_error;
    int m_generation = 0;
    QList<SitemapEntry> m_contents;
    QList<SitemapEntry> m_index;

    QToolBar *m_toolBar = nullptr;
    QSplitter *m_splitter = nullptr;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_contentsTab = nullptr;
    QWidget *m_indexTab = nullptr;
    QTreeWidget *m_tree = nullptr;
    QLineEdit *m_filter = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_display = nullptr;
    QTextBrowser *m_page = nullptr;
    QList<QAction *> m_fileActions; // home and print: only with an open file
};

} // namespace tavimor
