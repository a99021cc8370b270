#include "HelpViewer.h"

#include <chm_lib.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

#ifndef LATCAP_HELP_DATA_DIR
#define LATCAP_HELP_DATA_DIR "/usr/local/share/latcap"
#endif

namespace latcap {
namespace {

const QString kHelpFileName = QStringLiteral("Latcap.chm");
const QString kScheme = QStringLiteral("chm");

QString InnerPath(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

QUrl TopicUrl(const QString& local)
{
    QUrl url;
    url.setScheme(kScheme);
    const qsizetype hash = local.indexOf(QLatin1Char('#'));
    url.setPath(InnerPath(hash < 0 ? local : local.left(hash)));
    if (hash >= 0)
        url.setFragment(local.mid(hash + 1));
    return url;
}

QString HtmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

QString MessagePage(const QString& heading, const QString& text)
{
    return QStringLiteral("<html><body><h2>%1</h2><p>%2</p></body></html>").arg(HtmlEscaped(heading), HtmlEscaped(text));
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

// Pages, style sheets and pictures all come out of the help file.
class ChmBrowser final : public QTextBrowser {
public:
    ChmBrowser(const ChmFile& chm, QWidget* parent) : QTextBrowser(parent), chm_(chm) {}

    QVariant loadResource(int type, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (url.scheme() != kScheme)
            return {};
        const QString path = url.path();
        if (!chm_.contains(path)) {
            if (type == QTextDocument::HtmlResource)
                return MessagePage(QStringLiteral("Page not found"),
                                   QStringLiteral("The help file has no page %1.").arg(path));
            return {};
        }
        const QByteArray bytes = chm_.read(path);
        if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(bytes);
        return bytes;
    }

private:
    const ChmFile& chm_;
};

} // namespace

QStringList HelpFolders()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral(LATCAP_HELP_DATA_DIR), QDir::currentPath()};
}

QString FindHelpFile(QStringList* lookedIn) { return FindHelpFile(HelpFolders(), lookedIn); }

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

// --- ChmFile ---------------------------------------------------------------

ChmFile::~ChmFile() { close(); }

bool ChmFile::open(const QString& path, QString* error)
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
    if (!reason.isEmpty()) {
        if (error)
            *error = reason;
        return false;
    }
    readSystemFile();
    return true;
}

void ChmFile::close()
{
    if (file_)
        chm_close(file_);
    file_ = nullptr;
    title_.clear();
    defaultTopic_.clear();
    contentsFile_.clear();
    indexFile_.clear();
}

bool ChmFile::contains(const QString& path) const
{
    chmUnitInfo info;
    return file_ && chm_resolve_object(file_, InnerPath(path).toUtf8().constData(), &info) == CHM_RESOLVE_SUCCESS;
}

QByteArray ChmFile::read(const QString& path) const
{
    chmUnitInfo info;
    if (!file_ || chm_resolve_object(file_, InnerPath(path).toUtf8().constData(), &info) != CHM_RESOLVE_SUCCESS)
        return {};
    // A damaged file may claim any length; no page of a help file comes near this.
    constexpr LONGUINT64 kLargestObject = 64u << 20;
    if (info.length > kLargestObject)
        return {};
    QByteArray data(static_cast<qsizetype>(info.length), '\0');
    const LONGINT64 got = chm_retrieve_object(file_, &info, reinterpret_cast<unsigned char*>(data.data()), 0,
                                              static_cast<LONGINT64>(info.length));
    data.truncate(got > 0 ? static_cast<qsizetype>(got) : 0);
    return data;
}

QStringList ChmFile::files() const
{
    QStringList paths;
    if (file_)
        chm_enumerate(file_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, CollectPath, &paths);
    return paths;
}

// The #SYSTEM record list: a 4-byte version, then records of a 2-byte code,
// a 2-byte length and that many bytes, little-endian. Code 0 names the
// contents file, 1 the index file, 2 the default topic and 3 the title.
void ChmFile::readSystemFile()
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
            defaultTopic_ = TopicUrl(topics.first().local).path();
    }
}

QList<HelpTopic> ChmFile::contents() const
{
    return contentsFile_.isEmpty() ? QList<HelpTopic>() : ParseSitemap(QString::fromLatin1(read(contentsFile_)));
}

QList<HelpTopic> ChmFile::index() const
{
    return indexFile_.isEmpty() ? QList<HelpTopic>() : ParseSitemap(QString::fromLatin1(read(indexFile_)));
}

// --- HelpViewer ------------------------------------------------------------

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Help"));

    auto makeButton = [this](const QString& text, const QString& tip, QStyle::StandardPixmap icon) {
        auto* button = new QToolButton(this);
        button->setText(text);
        button->setToolTip(tip);
        button->setIcon(style()->standardIcon(icon));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return button;
    };
    back_ = makeButton(QStringLiteral("Back"), QStringLiteral("Previous page"), QStyle::SP_ArrowBack);
    forward_ = makeButton(QStringLiteral("Forward"), QStringLiteral("Next page"), QStyle::SP_ArrowForward);
    home_ = makeButton(QStringLiteral("Home"), QStringLiteral("Overview"), QStyle::SP_DirHomeIcon);
    back_->setObjectName(QStringLiteral("back"));
    forward_->setObjectName(QStringLiteral("forward"));
    home_->setObjectName(QStringLiteral("home"));
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    contents_ = new QTreeWidget(this);
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    contents_->setColumnCount(1);

    auto* browser = new ChmBrowser(chm_, this);
    browser->setObjectName(QStringLiteral("page"));
    browser->setOpenLinks(false);
    browser_ = browser;

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("indexFilter"));
    filter_->setPlaceholderText(QStringLiteral("Type a keyword"));
    filter_->setClearButtonEnabled(true);
    index_ = new QListWidget(this);
    index_->setObjectName(QStringLiteral("index"));
    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(filter_);
    indexLayout->addWidget(index_, 1);

    auto* tabs = new QTabWidget(this);
    tabs->addTab(contents_, QStringLiteral("Contents"));
    tabs->addTab(indexPage, QStringLiteral("Index"));

    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({270, 630});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(900, 640);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QToolButton::clicked, this, [this] { showTopic(chm_.defaultTopic()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpViewer::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewer::markCurrentTopic);
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { showTopic(item->data(0, Qt::UserRole).toString()); });
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showTopic(item->data(0, Qt::UserRole).toString()); });
    auto showEntry = [this](QListWidgetItem* item) { showTopic(item->data(Qt::UserRole).toString()); };
    connect(index_, &QListWidget::itemClicked, this, showEntry);
    connect(index_, &QListWidget::itemActivated, this, showEntry);
    connect(filter_, &QLineEdit::textChanged, this, &HelpViewer::filterIndex);
    connect(filter_, &QLineEdit::returnPressed, this, [this, showEntry] {
        if (QListWidgetItem* item = index_->currentItem(); item && !item->isHidden())
            showEntry(item);
    });
}

HelpViewer::~HelpViewer() = default;

QTextBrowser* HelpViewer::browser() const { return browser_; }

bool HelpViewer::open(const QString& chmPath, QString* error)
{
    chmPath_ = chmPath;
    contents_->clear();
    index_->clear();
    browser_->clearHistory();
    QString reason;
    if (!chm_.open(chmPath, &reason)) {
        const QString text = QStringLiteral("The help file %1 cannot be opened. %2")
                                 .arg(QDir::toNativeSeparators(chmPath), reason);
        showError(text);
        if (error)
            *error = text;
        return false;
    }
    setWindowTitle(chm_.title().isEmpty() ? QStringLiteral("Help") : chm_.title());
    fillContents();
    browser_->setSource(TopicUrl(chm_.defaultTopic()));
    return true;
}

void HelpViewer::showTopic(const QString& local)
{
    if (!local.isEmpty() && chm_.isOpen())
        browser_->setSource(TopicUrl(local));
}

void HelpViewer::fillContents()
{
    QList<QTreeWidgetItem*> parents;
    const QList<HelpTopic> topics = chm_.contents();
    for (const HelpTopic& topic : topics) {
        while (parents.size() > topic.level)
            parents.removeLast();
        QTreeWidgetItem* item = parents.isEmpty() ? new QTreeWidgetItem(contents_)
                                                  : new QTreeWidgetItem(parents.last());
        item->setText(0, topic.name);
        item->setData(0, Qt::UserRole, topic.local);
        parents.append(item);
    }
    const QList<HelpTopic> keywords = chm_.index();
    for (const HelpTopic& keyword : keywords) {
        auto* item = new QListWidgetItem(keyword.name, index_);
        item->setData(Qt::UserRole, keyword.local);
    }
}

void HelpViewer::filterIndex(const QString& text)
{
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < index_->count(); ++row) {
        QListWidgetItem* item = index_->item(row);
        item->setHidden(!item->text().contains(text.trimmed(), Qt::CaseInsensitive));
        if (!first && !item->isHidden())
            first = item;
    }
    index_->setCurrentItem(first);
}

void HelpViewer::followLink(const QUrl& url)
{
    const QUrl target = url.isRelative() ? browser_->source().resolved(url) : url;
    if (target.scheme() == kScheme)
        browser_->setSource(target);
    else
        QDesktopServices::openUrl(target);
}

void HelpViewer::markCurrentTopic(const QUrl& url)
{
    const QString page = url.path();
    QTreeWidgetItem* pageItem = nullptr;
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        const QUrl topic = TopicUrl((*it)->data(0, Qt::UserRole).toString());
        if (topic.path().compare(page, Qt::CaseInsensitive) != 0)
            continue;
        if (topic.fragment() == url.fragment()) {
            pageItem = *it;
            break;
        }
        if (!pageItem && topic.fragment().isEmpty())
            pageItem = *it;
    }
    const QSignalBlocker block(contents_);
    contents_->setCurrentItem(pageItem);
    if (pageItem)
        contents_->scrollToItem(pageItem);
}

void HelpViewer::showError(const QString& text)
{
    setWindowTitle(QStringLiteral("Help"));
    browser_->setHtml(MessagePage(QStringLiteral("Help is not available"), text));
}

// --- ShowHelpWindow --------------------------------------------------------

void ShowHelpWindow(QWidget* parent, const QString& chmPath)
{
    static QPointer<HelpViewer> viewer;
    if (!viewer) {
        viewer = new HelpViewer(parent);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (viewer->chmPath() != chmPath || !viewer->chm().isOpen())
        viewer->open(chmPath);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace latcap
