#pragma once

#include "chmfile.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QLibrary;
class QWidget;

namespace tavimor {

class HelpViewer;

// "帮助主题": loads the help reading library once, at the first use, and keeps it for the rest of
// the run; then opens the help viewer on a help file at a keyword of its index.
//
// The library and its entry point are named by the constructor (the program uses the defaults);
// tests name a library or an entry point that does not exist to see the two failures.
class HelpLoader
{
public:
    static inline const QString kDefaultLibrary = QStringLiteral("chm");
    static constexpr int kDefaultLibraryVersion = 1;
    static inline const QByteArray kDefaultEntryPoint = QByteArrayLiteral("chm_open");
    // The keyword the help command opens the index at.
    static inline const QString kStartKeyword = QStringLiteral("目录");

    explicit HelpLoader(const QString &library = kDefaultLibrary, int libraryVersion = kDefaultLibraryVersion,
                        const QByteArray &entryPoint = kDefaultEntryPoint);
    ~HelpLoader();
    HelpLoader(const HelpLoader &) = delete;
    HelpLoader &operator=(const HelpLoader &) = delete;

    // Take effect at the next load attempt (that is, while nothing is loaded yet).
    void setLibrary(const QString &name, int version);
    void setEntryPoint(const QByteArray &name);

    // Step 1: load the library if it is not loaded yet; on failure report it in the plain error
    // box and stop. Step 2: open the viewer on chmPath at its index, at keyword. A missing or
    // unreadable help file is reported by the viewer in its own window.
    void showHelp(QWidget *owner, const QString &chmPath, const QString &keyword);

    // The help file of the program: jiajiao.chm in the program's folder.
    static QString programHelpFile();

    bool isLoaded() const { return m_library != nullptr; }
    int loadCount() const { return m_loadCount; }  // successful loads (1 for the whole run)
    int initCount() const { return m_initCount; }  // viewer initialisations (1 for the whole run)
    HelpViewer *viewer() const { return m_viewer.get(); }

    // The texts of the two failures.
    static QString libraryMissingText();
    static QString entryPointMissingText();

private:
    bool load();
    void reportError(const QString &text) const;

    QString m_libraryName;
    int m_libraryVersion;
    QByteArray m_entryPoint;
    std::unique_ptr<QLibrary> m_library;
    chm::Api m_api;
    std::unique_ptr<HelpViewer> m_viewer;
    int m_loadCount = 0;
    int m_initCount = 0;
};

} // namespace tavimor
