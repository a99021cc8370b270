#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct chmFile;

namespace latcap {

// The folders where Latcap.chm is looked for, in order: beside the
// executable, the data folder of wherever the program was installed
// (<bin>/../share/latcap), the data folder it was built for, the working
// directory.
QStringList HelpFolders();

// The first Latcap.chm in the given folders, or an empty string. `lookedIn`
// receives the folders tried.
QString FindHelpFile(const QStringList& folders, QStringList* lookedIn);

// The message for a help file that is nowhere: it names the folders tried.
QString HelpNotFoundText(const QStringList& lookedIn);

// One entry of the contents list or the index: its text, its page inside the
// help file (e.g. "method.html#slices") and its depth, 0 at the top level.
struct HelpTopic {
    QString name;
    QString local;
    int level = 0;
};

// Read access to a compiled help file.
class HelpFile {
public:
    HelpFile() = default;
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

    // Opens the file; on failure says why in `error`. A file whose first page
    // cannot be read counts as damaged and is not opened.
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

} // namespace latcap
