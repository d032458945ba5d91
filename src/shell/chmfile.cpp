#include "chmfile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace tavimor {

namespace {

QString decodeEntities(QString text)
{
    if (!text.contains(u'&'))
        return text;
    static const QRegularExpression entity(u"&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"_s);
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        char32_t code = 0;
        if (name.startsWith(u"#x"_s, Qt::CaseInsensitive))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt();
        else if (name == u"amp"_s)
            code = u'&';
        else if (name == u"lt"_s)
            code = u'<';
        else if (name == u"gt"_s)
            code = u'>';
        else if (name == u"quot"_s)
            code = u'"';
        else if (name == u"apos"_s)
            code = u'\'';
        else if (name == u"nbsp"_s)
            code = 0xa0;
        if (code)
            out += QString::fromUcs4(&code, 1);
        else
            out += m.captured(0);
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

// The name="value" pairs of one tag's attribute text, names in lower case.
QHash<QString, QString> attributes(const QString &text)
{
    static const QRegularExpression attr(u"([A-Za-z_:][-A-Za-z0-9_:.]*)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"_s);
    QHash<QString, QString> result;
    for (auto it = attr.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString value = m.captured(2);
        if (m.capturedStart(3) >= 0)
            value = m.captured(3);
        else if (m.capturedStart(4) >= 0)
            value = m.captured(4);
        result.insert(m.captured(1).toLower(), decodeEntities(value));
    }
    return result;
}

QString fromFileBytes(QByteArray bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    return decodeHelpText(bytes).trimmed();
}

} // namespace

QList<SitemapEntry> parseSitemap(const QString &html)
{
    static const QRegularExpression tag(u"<\\s*(/?)\\s*(ul|object|param)\\b([^>]*)>"_s,
                                        QRegularExpression::CaseInsensitiveOption);
    QList<SitemapEntry> entries;
    int depth = 0;
    bool inObject = false;
    bool sitemapObject = false;
    SitemapEntry current;
    QString pendingTitle;

    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == u"ul"_s) {
            depth = closing ? qMax(0, depth - 1) : depth + 1;
        } else if (name == u"object"_s) {
            if (!closing) {
                inObject = true;
                sitemapObject = attributes(m.captured(3)).value(u"type"_s).compare(u"text/sitemap"_s, Qt::CaseInsensitive) == 0;
                current = SitemapEntry();
                current.level = qMax(0, depth - 1);
                pendingTitle.clear();
            } else if (inObject) {
                inObject = false;
                if (sitemapObject && !current.name.isEmpty())
                    entries.append(current);
            }
        } else if (name == u"param"_s && inObject && sitemapObject && !closing) {
            const auto a = attributes(m.captured(3));
            const QString key = a.value(u"name"_s).toLower();
            const QString value = a.value(u"value"_s).trimmed();
            if (key == u"name"_s) {
                if (current.name.isEmpty())
                    current.name = value;
                else
                    pendingTitle = value;
            } else if (key == u"local"_s && !value.isEmpty()) {
                current.topics.append({pendingTitle.isEmpty() ? current.name : pendingTitle, topicPath(value)});
                pendingTitle.clear();
            }
        }
    }
    return entries;
}

QString topicPath(const QString &link)
{
    QString s = link.trimmed();
    const qsizetype inner = s.indexOf(u"::"_s);
    if (inner >= 0)
        s = s.mid(inner + 2);
    s.replace(u'\\', u'/');
    const qsizetype hash = s.indexOf(u'#');
    if (hash >= 0)
        s.truncate(hash);
    while (s.startsWith(u"./"_s))
        s.remove(0, 2);
    if (!s.startsWith(u'/'))
        s.prepend(u'/');
    return s;
}

QString decodeHelpText(const QByteArray &data)
{
    QStringDecoder declared = QStringDecoder::decoderForHtml(data);
    if (declared.isValid()) {
        QString text = declared(data);
        if (!declared.hasError())
            return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    QStringDecoder chinese("GB18030");
    if (chinese.isValid())
        return chinese(data);
    return text;
}

ChmFile::ChmFile(const chm::Api &api)
    : m_api(api)
{
}

ChmFile::~ChmFile()
{
    close();
}

bool ChmFile::open(const QString &fileName)
{
    close();
    if (!m_api.isComplete())
        return false;
    m_handle = m_api.open(QFile::encodeName(fileName).constData());
    if (!m_handle)
        return false;
    m_fileName = fileName;
    readSystemBlock();
    return true;
}

void ChmFile::close()
{
    if (m_handle)
        m_api.close(m_handle);
    m_handle = nullptr;
    m_fileName.clear();
    m_title.clear();
    m_contentsFile.clear();
    m_indexFile.clear();
    m_defaultTopic.clear();
}

std::optional<QByteArray> ChmFile::read(const QString &path) const
{
    if (!m_handle)
        return std::nullopt;
    chm::UnitInfo info;
    if (m_api.resolve(m_handle, path.toUtf8().constData(), &info) != chm::kResolveSuccess)
        return std::nullopt;
    QByteArray data(qsizetype(info.length), Qt::Uninitialized);
    qint64 done = 0;
    while (done < qint64(info.length)) {
        const qint64 n = m_api.retrieve(m_handle, &info, reinterpret_cast<unsigned char *>(data.data()) + done,
                                        quint64(done), qint64(info.length) - done);
        if (n <= 0)
            return std::nullopt;
        done += n;
    }
    return data;
}

bool ChmFile::contains(const QString &path) const
{
    chm::UnitInfo info;
    return m_handle && m_api.resolve(m_handle, path.toUtf8().constData(), &info) == chm::kResolveSuccess;
}

QStringList ChmFile::paths() const
{
    QStringList result;
    if (!m_handle)
        return result;
    auto collect = [](chm::Handle *, chm::UnitInfo *info, void *context) -> int {
        const QString path = QString::fromUtf8(info->path);
        if (path.startsWith(u'/') && !path.endsWith(u'/') && !path.startsWith(u"/#"_s) && !path.startsWith(u"/$"_s))
            static_cast<QStringList *>(context)->append(path);
        return chm::kEnumeratorContinue;
    };
    m_api.enumerate(m_handle, chm::kEnumerateAll, collect, &result);
    return result;
}

void ChmFile::readSystemBlock()
{
    // The system block: a version number, then records of (code, length, bytes), 16-bit little
    // endian. Codes 0, 1, 2 and 3 name the contents file, the index file, the start page and the title.
    if (const auto block = read(u"/#SYSTEM"_s); block && block->size() >= 4) {
        const auto *p = reinterpret_cast<const uchar *>(block->constData());
        qsizetype pos = 4;
        while (pos + 4 <= block->size()) {
            const int code = p[pos] | (p[pos + 1] << 8);
            const int length = p[pos + 2] | (p[pos + 3] << 8);
            if (pos + 4 + length > block->size())
                break;
            const QString value = fromFileBytes(block->mid(pos + 4, length));
            switch (code) {
            case 0: m_contentsFile = value.isEmpty() ? QString() : topicPath(value); break;
            case 1: m_indexFile = value.isEmpty() ? QString() : topicPath(value); break;
            case 2: m_defaultTopic = value.isEmpty() ? QString() : topicPath(value); break;
            case 3: m_title = value; break;
            default: break;
            }
            pos += 4 + length;
        }
    }
    if (m_contentsFile.isEmpty() || m_indexFile.isEmpty() || m_defaultTopic.isEmpty()) {
        const QStringList all = paths();
        auto firstWith = [&all](const QStringList &suffixes) {
            for (const QString &path : all)
                for (const QString &suffix : suffixes)
                    if (path.endsWith(suffix, Qt::CaseInsensitive))
                        return path;
            return QString();
        };
        if (m_contentsFile.isEmpty())
            m_contentsFile = firstWith({u".hhc"_s});
        if (m_indexFile.isEmpty())
            m_indexFile = firstWith({u".hhk"_s});
        if (m_defaultTopic.isEmpty()) {
            for (const QString &candidate : {u"/index.html"_s, u"/index.htm"_s, u"/default.html"_s, u"/default.htm"_s})
                if (contains(candidate)) {
                    m_defaultTopic = candidate;
                    break;
                }
            if (m_defaultTopic.isEmpty())
                m_defaultTopic = firstWith({u".html"_s, u".htm"_s});
        }
    }
}

} // namespace tavimor
