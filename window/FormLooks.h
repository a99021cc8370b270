#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>

class QLabel;
class QMimeData;
class QPushButton;
class QWidget;

namespace latcap {

// The window's default font is the platform's general font, in the size
// the form gives; controls that name their own size get it afterwards.
void ApplyFonts(QWidget* form);

// A picture of the program's vector artwork at the size a control shows it.
QPixmap Artwork(const QString& name, QSize size);

// The window's icon, the logo and the pictures of the copy and help buttons,
// each drawn from its vector artwork at the size its control shows it.
void ShowArtwork(QWidget* window, QLabel* logo, std::initializer_list<QPushButton*> copies, QPushButton* help);

// Marks a box whose text is misread, light red with what it reads as after
// its tool tip, and takes the mark off once it is not.
void MarkMisread(QWidget* box, const QString& text);

// Shows the notes in the status line, as many whole as fit its lines and
// "and N more" for the rest, whose whole list is then its tool tip.
void ShowNotes(QLabel* status, const QStringList& notes);

// Enter on a focused command button of form clicks it, as Space does.
void ClickOnEnter(QWidget* form);

// The one local file a drag carries, or an empty string.
QString DraggedFile(const QMimeData* data);

// The window as a page: on white, without the commands in offPaper and
// with no box's text selected. onPaper gets the page while the window shows
// it so; afterwards the window looks as before, its focus too.
QImage TakePage(
    QWidget* window, std::initializer_list<QWidget*> offPaper, const std::function<void(const QImage&)>& onPaper);

// The name of an element of a control array, e.g. "txtTo_2".
QString ArrayName(const char* name, int index);

} // namespace latcap
