#pragma once

#include "CaseFile.h"

#include <QString>
#include <QStringList>

#include <vector>

class QImage;
class QWidget;

namespace latcap {

// Everything modal or outside the window goes through here: message boxes,
// the file dialogs, the printer and the help viewer. The window receives one
// in its constructor; tests pass one that records what was asked and answers
// from a queue.
class Platform {
public:
    enum class Buttons { Ok, OkCancel };
    enum class Answer { Ok, Cancel };
    enum class Unsaved { Save, Discard, Cancel };

    virtual ~Platform() = default;

    // A modal message box without an icon. With OkCancel, OK is the default.
    virtual Answer showMessage(QWidget* parent, const QString& title, const QString& text, Buttons buttons) = 0;

    // The modal save dialog. `filter` is a list of name|pattern pairs joined
    // by '|', each name showing its pattern in brackets, e.g.
    // "CSV files(*.csv)|*.csv|All files (*.*)|*.*", the first pair selected.
    // The dialog asks no overwrite question and adds no extension. Returns the
    // chosen path, or an empty string on cancel.
    virtual QString getSaveFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& initialName)
        = 0;

    // The modal open dialog for an existing file, with a filter as above.
    // Returns the chosen path, or an empty string on cancel.
    virtual QString getOpenFileName(QWidget* parent, const QString& title, const QString& filter) = 0;

    // Asks whether to save changes before they would be lost: Save, Discard
    // or Cancel, Save being the default and Escape answering Cancel.
    virtual Unsaved askUnsaved(QWidget* parent, const QString& title, const QString& text) = 0;

    // A small modal form with the job details of a report, filled from
    // `details`. OK puts what was typed into `details` and returns true;
    // Cancel returns false and changes nothing.
    virtual bool editJobDetails(QWidget* parent, JobDetails& details) = 0;

    // One line of a form: its label, its text, and the texts it may take
    // (none: any text may be typed). A note after the label says what it
    // holds, e.g. its unit.
    struct FormField {
        QString label;
        QString value;
        QStringList choices = {};
        QString note = {};
    };
    // A small modal form of fields under a title, filled from `fields`. OK
    // puts the texts shown into `fields` and returns true; Cancel returns
    // false and changes nothing.
    virtual bool editForm(QWidget* parent, const QString& title, std::vector<FormField>& fields) = 0;

    // Prints the image as one page on the default printer, without a dialog
    // and without changing any printer setting. On failure returns false and
    // says why in `error`.
    virtual bool printPage(const QImage& page, QString& error) = 0;

    // Opens the program's help file in the help viewer.
    virtual void showHelp(QWidget* parent) = 0;
};

} // namespace latcap
