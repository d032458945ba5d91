#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace tavimor {

// The C interface of the compiled-help reading library (chmlib), as its documentation describes
// it. The library is loaded at run time (HelpLoader), so these are only the shapes of its entry
// points; nothing here links against it.
namespace chm {

struct Handle; // the library's open file, never looked into

inline constexpr int kMaxPathLength = 512;
inline constexpr int kResolveSuccess = 0;
inline constexpr int kEnumerateAll = 31;
inline constexpr int kEnumeratorContinue = 1;

// What the library tells about one object in the file.
struct UnitInfo {
    quint64 start = 0;
    quint64 length = 0;
    int space = 0;
    int flags = 0;
    char path[kMaxPathLength + 1] = {};
};

using OpenFunction = Handle *(*)(const char *fileName);
using CloseFunction = void (*)(Handle *file);
using ResolveFunction = int (*)(Handle *file, const char *objectPath, UnitInfo *info);
using RetrieveFunction = qint64 (*)(Handle *file, UnitInfo *info, unsigned char *buffer, quint64 offset, qint64 length);
using EnumeratorFunction = int (*)(Handle *file, UnitInfo *info, void *context);
using EnumerateFunction = int (*)(Handle *file, int what, EnumeratorFunction callback, void *context);

// The resolved entry points of a loaded library.
struct Api {
    OpenFunction open = nullptr;
    CloseFunction close = nullptr;
    ResolveFunction resolve = nullptr;
    RetrieveFunction retrieve = nullptr;
    EnumerateFunction enumerate = nullptr;
    bool isComplete() const { return open && close && resolve && retrieve && enumerate; }
};

} // namespace chm

// One entry of a contents (.hhc) or index (.hhk) file: a name, its level of nesting (0 at the
// top) and the pages it leads to (title and path inside the help file).
struct SitemapEntry {
    struct Topic {
        QString title;
        QString path;
    };
    QString name;
    int level = 0;
    QList<Topic> topics;
};

// Reads the sitemap format of contents and index files (nested <UL> lists of <OBJECT
// type="text/sitemap"> with <param name="Name"/"Local"> values).
QList<SitemapEntry> parseSitemap(const QString &html);

// Turns a link as written in a help file ("a.html", "/a.html", "x.chm::/a.html#p",
// "mk:@MSITStore:x.chm::/a.html") into the path of the page inside the file ("/a.html"); the
// fragment, if any, is dropped.
QString topicPath(const QString &link);

// Decodes the text of a page or sitemap: the charset it declares, else UTF-8 when the bytes are
// valid UTF-8, else the Chinese national encoding (files compiled on a Chinese system).
QString decodeHelpText(const QByteArray &data);

// An open compiled help file, read through the loaded library.
class ChmFile
{
public:
    explicit ChmFile(const chm::Api &api);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    bool open(const QString &fileName);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    QString fileName() const { return m_fileName; }

    // The bytes of the object at path ("/a.html"), or nothing when the file has no such object.
    std::optional<QByteArray> read(const QString &path) const;
    bool contains(const QString &path) const;
    // Paths of all ordinary objects (pages, pictures, style sheets, sitemaps).
    QStringList paths() const;

    // From the file's system block, with sensible fallbacks.
    QString title() const { return m_title; }
    QString contentsFile() const { return m_contentsFile; }
    QString indexFile() const { return m_indexFile; }
    QString defaultTopic() const { return m_defaultTopic; }

private:
    void readSystemBlock();

    chm::Api m_api;
    chm::Handle *m_handle = nullptr;
    QString m_fileName;
    QString m_title, m_contentsFile, m_indexFile, m_defaultTopic;
};

} // namespace tavimor
