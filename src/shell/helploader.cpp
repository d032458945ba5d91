#include "helploader.h"

#include "helpviewer.h"

#include "data/dm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

HelpLoader::HelpLoader(const QString &library, int libraryVersion, const QByteArray &entryPoint)
    : m_libraryName(library)
    , m_libraryVersion(libraryVersion)
    , m_entryPoint(entryPoint)
{
}

// The viewer goes first: it closes its file through the library. The library itself stays
// mapped until the process ends.
HelpLoader::~HelpLoader() = default;

void HelpLoader::setLibrary(const QString &name, int version)
{
    m_libraryName = name;
    m_libraryVersion = version;
}

void HelpLoader::setEntryPoint(const QByteArray &name)
{
    m_entryPoint = name;
}

QString HelpLoader::programHelpFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(u"jiajiao.chm"_s);
}

QString HelpLoader::libraryMissingText()
{
    return u"HHCtrl.OCX not installed!"_s + QChar(13) + u" HTMLHELP cannot displayed!"_s;
}

QString HelpLoader::entryPointMissingText()
{
    return u"Function HTMLHELP cannot loaded!"_s;
}

void HelpLoader::reportError(const QString &text) const
{
    if (DM && DM->Message1)
        DM->Message1->errorReport(text);
    else
        QMessageBox::critical(nullptr, QCoreApplication::applicationName(), text);
}

bool HelpLoader::load()
{
    auto library = std::make_unique<QLibrary>(m_libraryName, m_libraryVersion);
    if (!library->load()) {
        reportError(libraryMissingText());
        return false;
    }
    chm::Api api;
    api.open = reinterpret_cast<chm::OpenFunction>(library->resolve(m_entryPoint.constData()));
    api.close = reinterpret_cast<chm::CloseFunction>(library->resolve("chm_close"));
    api.resolve = reinterpret_cast<chm::ResolveFunction>(library->resolve("chm_resolve_object"));
    api.retrieve = reinterpret_cast<chm::RetrieveFunction>(library->resolve("chm_retrieve_object"));
    api.enumerate = reinterpret_cast<chm::EnumerateFunction>(library->resolve("chm_enumerate"));
    if (!api.isComplete()) {
        library->unload();
        reportError(entryPointMissingText());
        return false;
    }
    m_library = std::move(library);
    m_api = api;
    ++m_loadCount;
    return true;
}

void HelpLoader::showHelp(QWidget *owner, const QString &chmPath, const QString &keyword)
{
    if (!m_library && !load())
        return;

    bool firstShow = false;
    if (!m_viewer) {
        m_viewer = std::make_unique<HelpViewer>(m_api);
        ++m_initCount;
        firstShow = true;
    }

    const QString path = QFileInfo(chmPath).absoluteFilePath();
    if (!m_viewer->isFileOpen() || m_viewer->fileName() != path)
        m_viewer->openFile(path);
    m_viewer->displayIndex(keyword);

    if (firstShow) {
        // Centred over the owner's window, or on its screen.
        const QWidget *window = owner ? owner->window() : nullptr;
        QRect area = window && window->isVisible() ? window->frameGeometry() : QRect();
        if (area.isEmpty()) {
            const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
            area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        }
        QRect frame(QPoint(), m_viewer->size());
        frame.moveCenter(area.center());
        m_viewer->move(frame.topLeft());
    }
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}

} // namespace tavimor
