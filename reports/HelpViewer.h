#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;
struct chmFile;

namespace latcap {

// The folders where Latcap.chm is looked for, in order: beside the
// executable, the installed data folder, the working directory.
QStringList HelpFolders();

// The first Latcap.chm in HelpFolders(), or an empty string. `lookedIn`
// receives the folders tried.
QString FindHelpFile(QStringList* lookedIn = nullptr);

// The same over the given folders, in order.
QString FindHelpFile(const QStringList& folders, QStringList* lookedIn);

// The message for a help file that is nowhere: it names the folders tried.
QString HelpNotFoundText(const QStringList& lookedIn);

// Opens the help viewer on the given file, or brings it to the front if it is
// open already. The viewer is not modal; a file that cannot be read is
// reported in the viewer itself.
void ShowHelpWindow(QWidget* parent, const QString& chmPath);

// One entry of the contents list or the index: its text, its page inside the
// help file (e.g. "method.html#slices") and its depth, 0 at the top level.
struct HelpTopic {
    QString name;
    QString local;
    int level = 0;
};

// Read access to a compiled help file.
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file; on failure says why in `error`.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Paths inside the file start with '/'; a missing one is added, and case
    // does not matter.
    bool contains(const QString& path) const;
    QByteArray read(const QString& path) const;
    QStringList files() const;

    QString title() const { return title_; }
    // The page to show first, e.g. "/index.html".
    QString defaultTopic() const { return defaultTopic_; }
    QList<HelpTopic> contents() const;
    QList<HelpTopic> index() const;

private:
    void readSystemFile();

    chmFile* file_ = nullptr;
    QString title_;
    QString defaultTopic_;
    QString contentsFile_;
    QString indexFile_;
};

// The help window: the contents and an index on the left, the page on the
// right, and back, forward and home buttons above.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Loads the file and shows its default page. On failure the viewer shows
    // the reason instead, and `error` receives it.
    bool open(const QString& chmPath, QString* error = nullptr);
    QString chmPath() const { return chmPath_; }
    const ChmFile& chm() const { return chm_; }

    // Shows a page of the file, e.g. "files.html#tables".
    void showTopic(const QString& local);

    QTextBrowser* browser() const;
    QTreeWidget* contentsList() const { return contents_; }
    QListWidget* indexList() const { return index_; }
    QLineEdit* indexFilter() const { return filter_; }

private:
    void fillContents();
    void filterIndex(const QString& text);
    void followLink(const QUrl& url);
    void markCurrentTopic(const QUrl& url);
    void showError(const QString& text);

    ChmFile chm_;
    QString chmPath_;
    QTextBrowser* browser_ = nullptr;
    QTreeWidget* contents_ = nullptr;
    QListWidget* index_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* home_ = nullptr;
};

} // namespace latcap
