#include "Print.h"

#include "DialogTexts.h"
#include "SaveDialog.h"

#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace latcap {

namespace {

    constexpr double kScreenDpi = 96.0;

    // Dots per inch of an image taken from the screen; images that do not say
    // count as taken on an ordinary screen.
    double ImageDpi(int dotsPerMetre)
    {
        const double dpi = dotsPerMetre * 0.0254;
        return dpi > 1.0 ? dpi : kScreenDpi;
    }

    // Writes the page as a one-page A4 PDF document straight into the file.
    DeviceWriter PagePdfWriter(const QImage& image)
    {
        return [image](QIODevice& device, QString& error) {
            QPdfWriter writer(&device);
            writer.setCreator(QString::fromLatin1(text::kAppTitle));
            writer.setPageLayout(QPageLayout(
                QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
            QPainter painter;
            if (!painter.begin(&writer)) {
                error = QStringLiteral("the page could not be drawn");
                return false;
            }
            PaintPageImage(painter, QRect(0, 0, writer.width(), writer.height()), image);
            return painter.end();
        };
    }

} // namespace

void PaintPageImage(QPainter& painter, const QRect& pageRect, const QImage& image)
{
    if (!painter.isActive() || image.isNull() || pageRect.isEmpty())
        return;
    const QPaintDevice* device = painter.device();
    const QSizeF onScreen = image.deviceIndependentSize();
    QSizeF size(onScreen.width() * device->logicalDpiX() / ImageDpi(image.dotsPerMeterX()),
        onScreen.height() * device->logicalDpiY() / ImageDpi(image.dotsPerMeterY()));
    if (size.width() > pageRect.width() || size.height() > pageRect.height())
        size.scale(QSizeF(pageRect.size()), Qt::KeepAspectRatio);
    const double left = pageRect.left() + (pageRect.width() - size.width()) / 2.0;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(left, pageRect.top()), size), image);
    painter.restore();
}

bool PrintPage(QPrinter& printer, const QImage& page, QString& error)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("The printer %1 could not be started.").arg(printer.printerName());
        return false;
    }
    PaintPageImage(painter, QRect(0, 0, printer.width(), printer.height()), page);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        error = QStringLiteral("The printer %1 did not accept the page.").arg(printer.printerName());
        return false;
    }
    return true;
}

bool OfferPagePdf(
    Platform& platform, QWidget* parent, const QImage& image, const QString& reason, const QString& caseInUse)
{
    const QString offer = QStringLiteral("The page could not be printed.\n%1\n\n"
                                         "Press OK to save the same page as a PDF file instead.")
                              .arg(reason);
    if (platform.showMessage(parent, QStringLiteral("Print"), offer, Platform::Buttons::OkCancel)
        != Platform::Answer::Ok)
        return false;
    const SaveRequest request { QStringLiteral("Save Page As PDF"),
        QStringLiteral("PDF files(*.pdf)|*.pdf|All files (*.*)|*.*"), QString(), QStringLiteral("pdf"), caseInUse };
    return SaveThroughDialog(platform, parent, request, PagePdfWriter(image));
}

} // namespace latcap
