#pragma once

#include "Platform.h"

#include <QString>

class QImage;
class QPainter;
class QPrinter;
class QRect;
class QWidget;

namespace latcap {

// Draws the window image at the top of the page, centred across it, at its
// size on the screen, made smaller to fit the page when it is larger and never
// made larger. pageRect is the printable area in the painter's coordinates.
void PaintPageImage(QPainter& painter, const QRect& pageRect, const QImage& image);

// Prints the window image as one page on the printer as it is set up. On
// failure returns false and says why in error, naming the printer.
bool PrintPage(QPrinter& printer, const QImage& page, QString& error);

// After a failed print: says why (reason) and offers to save the same page as
// a one-page A4 PDF file instead, never over the case file in use. Returns
// true when the page was saved.
bool OfferPagePdf(
    Platform& platform, QWidget* parent, const QImage& image, const QString& reason, const QString& caseInUse = {});

} // namespace latcap
