#include "HelpViewer.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>
#include <QVBoxLayout>

namespace latcap {
namespace {

    const QString kScheme = QStringLiteral("chm");

    QUrl TopicUrl(const QString& local)
    {
        QUrl url;
        url.setScheme(kScheme);
        const qsizetype hash = local.indexOf(QLatin1Char('#'));
        const QString page = hash < 0 ? local : local.left(hash);
        url.setPath(page.startsWith(QLatin1Char('/')) ? page : QLatin1Char('/') + page);
        if (hash >= 0)
            url.setFragment(local.mid(hash + 1));
        return url;
    }

    QString HtmlEscaped(const QString& text) { return text.toHtmlEscaped(); }

    QString MessagePage(const QString& heading, const QString& text)
    {
        return QStringLiteral("<html><body><h2>%1</h2><p>%2</p></body></html>")
            .arg(HtmlEscaped(heading), HtmlEscaped(text));
    }

    // Pages, style sheets and pictures all come out of the help file.
    class ChmBrowser final : public QTextBrowser {
    public:
        ChmBrowser(const HelpFile& chm, QWidget* parent)
            : QTextBrowser(parent)
            , chm_(chm)
        {
        }

        QVariant loadResource(int type, const QUrl& name) override
        {
            const QUrl url = name.isRelative() ? source().resolved(name) : name;
            if (url.scheme() != kScheme)
                return {};
            const QString path = url.path();
            if (!chm_.contains(path)) {
                if (type == QTextDocument::HtmlResource)
                    return MessagePage(
                        QStringLiteral("Page not found"), QStringLiteral("The help file has no page %1.").arg(path));
                return {};
            }
            const QByteArray bytes = chm_.read(path);
            if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
                return QString::fromUtf8(bytes);
            return bytes;
        }

    private:
        const HelpFile& chm_;
    };

} // namespace

// --- HelpViewer ------------------------------------------------------------

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window)
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
    splitter->setSizes({ 270, 630 });

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

bool HelpViewer::open(const QString& chmPath)
{
    chmPath_.clear();
    contents_->clear();
    index_->clear();
    browser_->clearHistory();
    QString reason;
    if (!chm_.open(chmPath, &reason)) {
        showError(
            QStringLiteral("The help file %1 cannot be opened. %2").arg(QDir::toNativeSeparators(chmPath), reason));
        return false;
    }
    chmPath_ = chmPath;
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
        QTreeWidgetItem* item
            = parents.isEmpty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.last());
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
    if (viewer->chmPath() != chmPath)
        viewer->open(chmPath);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}

} // namespace latcap
