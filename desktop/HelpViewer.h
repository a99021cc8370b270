#pragma once

#include "HelpFile.h"

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QUrl;

namespace latcap {

// Opens the help viewer on the given file, or brings it to the front if it is
// open already. The viewer is not modal; a file that cannot be read is
// reported in the viewer itself.
void ShowHelpWindow(QWidget* parent, const QString& chmPath);

// The help window: the contents and an index on the left, the page on the
// right, and back, forward and home buttons above.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Loads the file and shows its default page. On failure the viewer shows
    // the reason instead.
    bool open(const QString& chmPath);
    // The file shown, empty while none could be opened.
    QString chmPath() const { return chmPath_; }

    // Shows a page of the file, e.g. "files.html#tables".
    void showTopic(const QString& local);

private:
    void fillContents();
    void filterIndex(const QString& text);
    void followLink(const QUrl& url);
    void markCurrentTopic(const QUrl& url);
    void showError(const QString& text);

    HelpFile chm_;
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
