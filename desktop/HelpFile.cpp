#include "HelpFile.h"

#include <chm_lib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace latcap {
namespace {

    const QString kHelpFileName = QStringLiteral("Latcap.chm");

    QString InnerPath(const QString& path)
    {
        return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
    }

    int CollectPath(chmFile*, chmUnitInfo* info, void* context)
    {
        static_cast<QStringList*>(context)->append(QString::fromUtf8(info->path));
        return CHM_ENUMERATOR_CONTINUE;
    }

    // The entries of a contents (.hhc) or index (.hhk) file: <object> elements
    // of type text/sitemap with Name and Local parameters, nested in <ul> lists.
    QList<HelpTopic> ParseSitemap(const QString& sitemap)
    {
        static const QRegularExpression token(
            QStringLiteral("<\\s*(/?)ul\\b[^>]*>|<object\\b[^>]*text/sitemap[^>]*>(.*?)</object\\s*>"),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression param(
            QStringLiteral("<param\\s+name\\s*=\\s*\"([^\"]*)\"\\s+value\\s*=\\s*\"([^\"]*)\""),
            QRegularExpression::CaseInsensitiveOption);
        QList<HelpTopic> topics;
        int depth = 0;
        for (auto it = token.globalMatch(sitemap); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedStart(2) < 0) { // <ul> or </ul>
                depth += match.captured(1).isEmpty() ? 1 : -1;
                continue;
            }
            HelpTopic topic;
            topic.level = depth > 0 ? depth - 1 : 0;
            for (auto p = param.globalMatch(match.captured(2)); p.hasNext();) {
                const QRegularExpressionMatch pm = p.next();
                if (pm.captured(1).compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
                    topic.name = pm.captured(2);
                else if (pm.captured(1).compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0)
                    topic.local = pm.captured(2);
            }
            if (!topic.name.isEmpty())
                topics.append(topic);
        }
        return topics;
    }

    QString FindBySuffix(const QStringList& paths, QLatin1String suffix)
    {
        for (const QString& path : paths) {
            if (path.endsWith(suffix, Qt::CaseInsensitive))
                return path;
        }
        return {};
    }

} // namespace

QStringList HelpFolders()
{
    const QString bin = QCoreApplication::applicationDirPath();
    return { bin, QDir::cleanPath(bin + QStringLiteral("/../share/latcap")), QStringLiteral(LATCAP_HELP_DATA_DIR),
        QDir::currentPath() };
}

QString FindHelpFile(const QStringList& folders, QStringList* lookedIn)
{
    if (lookedIn)
        lookedIn->clear();
    for (const QString& folder : folders) {
        if (lookedIn)
            lookedIn->append(QDir::toNativeSeparators(folder));
        const QFileInfo candidate(QDir(folder), kHelpFileName);
        if (candidate.isFile())
            return candidate.absoluteFilePath();
    }
    return {};
}

QString HelpNotFoundText(const QStringList& lookedIn)
{
    return QStringLiteral("The help file %1 was not found. It was looked for in:\n%2")
        .arg(kHelpFileName, lookedIn.join(QLatin1Char('\n')));
}

HelpFile::~HelpFile() { close(); }

bool HelpFile::open(const QString& path, QString* error)
{
    close();
    const QFileInfo info(path);
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("The file does not exist.");
    else if (!info.isFile() || !info.isReadable())
        reason = QStringLiteral("The file cannot be read.");
    else if (!(file_ = chm_open(QFile::encodeName(path).constData())))
        reason = QStringLiteral("The file is not a compiled help file.");
    if (file_) {
        // A file cut short still opens; its pages are what is missing.
        readSystemFile();
        if (read(defaultTopic_).isEmpty()) {
            close();
            reason = QStringLiteral("The file is damaged: its first page cannot be read.");
        }
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

void HelpFile::close()
{
    if (file_)
        chm_close(file_);
    file_ = nullptr;
    title_.clear();
    defaultTopic_.clear();
    contentsFile_.clear();
    indexFile_.clear();
}

bool HelpFile::contains(const QString& path) const
{
    chmUnitInfo info;
    return file_ && chm_resolve_object(file_, InnerPath(path).toUtf8().constData(), &info) == CHM_RESOLVE_SUCCESS;
}

QByteArray HelpFile::read(const QString& path) const
{
    chmUnitInfo info;
    if (!file_ || chm_resolve_object(file_, InnerPath(path).toUtf8().constData(), &info) != CHM_RESOLVE_SUCCESS)
        return {};
    // A damaged file may claim any length; no page of a help file comes near this.
    constexpr LONGUINT64 kLargestObject = 64u << 20;
    if (info.length > kLargestObject)
        return {};
    QByteArray data(static_cast<qsizetype>(info.length), '\0');
    const LONGINT64 got = chm_retrieve_object(
        file_, &info, reinterpret_cast<unsigned char*>(data.data()), 0, static_cast<LONGINT64>(info.length));
    data.truncate(got > 0 ? static_cast<qsizetype>(got) : 0);
    return data;
}

QStringList HelpFile::files() const
{
    QStringList paths;
    if (file_)
        chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPath, &paths);
    return paths;
}

// The #SYSTEM record list: a 4-byte version, then records of a 2-byte code,
// a 2-byte length and that many bytes, little-endian. Code 0 names the
// contents file, 1 the index file, 2 the default topic and 3 the title.
void HelpFile::readSystemFile()
{
    const QByteArray system = read(QStringLiteral("/#SYSTEM"));
    auto word = [&system](qsizetype at) {
        return static_cast<int>(static_cast<unsigned char>(system[at]))
            | static_cast<int>(static_cast<unsigned char>(system[at + 1])) << 8;
    };
    for (qsizetype at = 4; at + 4 <= system.size();) {
        const int code = word(at);
        const qsizetype length = word(at + 2);
        at += 4;
        if (at + length > system.size())
            break;
        const QByteArray raw = system.mid(at, length);
        const QString text = QString::fromLatin1(raw.left(raw.indexOf('\0') < 0 ? raw.size() : raw.indexOf('\0')));
        if (code == 0)
            contentsFile_ = InnerPath(text);
        else if (code == 1)
            indexFile_ = InnerPath(text);
        else if (code == 2)
            defaultTopic_ = InnerPath(text);
        else if (code == 3)
            title_ = text;
        at += length;
    }
    if (contentsFile_.isEmpty() || !contains(contentsFile_))
        contentsFile_ = FindBySuffix(files(), QLatin1String(".hhc"));
    if (indexFile_.isEmpty() || !contains(indexFile_))
        indexFile_ = FindBySuffix(files(), QLatin1String(".hhk"));
    if (defaultTopic_.isEmpty() || !contains(defaultTopic_)) {
        defaultTopic_.clear();
        if (contains(QStringLiteral("/index.html")))
            defaultTopic_ = QStringLiteral("/index.html");
        else if (const QList<HelpTopic> topics = contents(); !topics.isEmpty())
            defaultTopic_ = InnerPath(topics.first().local.section(QLatin1Char('#'), 0, 0));
    }
}

QList<HelpTopic> HelpFile::contents() const
{
    return contentsFile_.isEmpty() ? QList<HelpTopic>() : ParseSitemap(QString::fromLatin1(read(contentsFile_)));
}

QList<HelpTopic> HelpFile::index() const
{
    return indexFile_.isEmpty() ? QList<HelpTopic>() : ParseSitemap(QString::fromLatin1(read(indexFile_)));
}

} // namespace latcap
