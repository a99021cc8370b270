#include "Print.h"

#include "Messages.h"
#include "SaveFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>

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

bool SavePagePdf(const QImage& image, const QString& path, QString& error)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QString::fromLatin1(text::kAppTitle));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = QStringLiteral("The page for %1 could not be drawn.").arg(path);
            return false;
        }
        PaintPageImage(painter, QRect(0, 0, writer.width(), writer.height()), image);
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    return SaveFileAtomically(path, BytesWriter(bytes), error);
}

bool PrintWindowImage(Platform& platform, QWidget* parent, const QImage& image)
{
    QString reason;
    return platform.printPage(image, reason) || OfferPagePdf(platform, parent, image, reason);
}

bool OfferPagePdf(Platform& platform, QWidget* parent, const QImage& image, const QString& reason)
{
    const QString title = QStringLiteral("Print");
    const QString offer = QStringLiteral("The page could not be printed.\n%1\n\n"
                                         "Press OK to save the same page as a PDF file instead.")
                              .arg(reason);
    if (platform.showMessage(parent, title, offer, Platform::Buttons::OkCancel) != Platform::Answer::Ok)
        return false;
    const QString path = platform.getSaveFileName(parent, QStringLiteral("Save Page As PDF"),
                                                  QStringLiteral("PDF files(*.pdf)|*.pdf|All files (*.*)|*.*"),
                                                  QString());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).isFile()
        && platform.showMessage(parent, QString::fromLatin1(text::kWarningTitle),
                                QString::fromLatin1(text::kReplaceFile), Platform::Buttons::OkCancel)
               != Platform::Answer::Ok)
        return false;
    QString error;
    if (!SavePagePdf(image, path, error)) {
        platform.showMessage(parent, QString::fromLatin1(text::kErrorTitle), error, Platform::Buttons::Ok);
        return false;
    }
    return true;
}

} // namespace latcap
