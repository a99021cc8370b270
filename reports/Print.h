#pragma once

#include "Platform.h"

#include <QString>

class QImage;
class QPainter;
class QRect;
class QWidget;

namespace latcap {

// Draws the window image at the top of the page, centred across it, at its
// size on the screen, made smaller to fit the page when it is larger and never
// made larger. pageRect is the printable area in the painter's coordinates.
void PaintPageImage(QPainter& painter, const QRect& pageRect, const QImage& image);

// Saves the window image as a one-page A4 PDF file. The file is written only
// when the whole document was produced, so a failure leaves no half file.
// On failure returns false and says why in error, naming the file.
bool SavePagePdf(const QImage& image, const QString& path, QString& error);

// After a failed print: says why (reason) and offers to save the same page as
// a PDF file instead. Returns true when the page was saved.
bool OfferPagePdf(Platform& platform, QWidget* parent, const QImage& image, const QString& reason);

// The print command's output: prints the window image on the default printer;
// when that fails, says why and offers to save the same page as a PDF file
// instead. Returns true when the page was printed or saved.
bool PrintWindowImage(Platform& platform, QWidget* parent, const QImage& image);

} // namespace latcap
