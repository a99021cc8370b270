#pragma once

#include <QString>

class QWidget;

namespace latcap {

class CaseDocument;
class Platform;

// The commands of case files: open, save, save as, and the question before
// unsaved changes go, each through the platform's dialogs; the window's
// title names the file in use. Without a case file in use nothing is asked
// and the title stays as it is.
class CaseFiles {
public:
    CaseFiles(CaseDocument& document, Platform& platform, QWidget* window);

    // Asks for a file and opens it, after the question about unsaved changes.
    // Returns true when the document now holds the file's case.
    bool OpenChosen();
    // Opens path, after the question about unsaved changes.
    bool Open(const QString& path);
    bool Save();
    bool SaveAs();
    // Whether unsaved changes to the case file may go: saved or discarded on
    // the user's word. Always true while no case file is in use.
    bool MayLoseChanges();
    // The window's title with the file's name and a "*" while it has changes.
    void ShowTitle();

private:
    bool Load(const QString& path);

    CaseDocument& document_;
    Platform& platform_;
    QWidget* window_;
};

} // namespace latcap
