#include "FormLooks.h"

#include "NumberText.h"

#include <QFontDatabase>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QScopeGuard>
#include <QSvgRenderer>
#include <QUrl>
#include <QWidget>

namespace latcap {
namespace {

    // A font in a form file has whole points only; the form keeps the sizes
    // with a fraction in this property of the control.
    constexpr const char* kPointSize = "pointSizeF";

    // A box whose text is not wholly a number carries this property, and its
    // own tool tip waits in the other one while the mark shows.
    constexpr const char* kMisread = "misread";
    constexpr const char* kPlainToolTip = "plainToolTip";

} // namespace

void ApplyFonts(QWidget* form)
{
    QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    general.setStyleHint(QFont::SansSerif);
    form->setFont(general);
    QList<QWidget*> widgets = form->findChildren<QWidget*>();
    widgets.prepend(form);
    for (QWidget* widget : widgets) {
        const QVariant size = widget->property(kPointSize);
        if (!size.isValid())
            continue;
        QFont font = widget->font();
        font.setPointSizeF(size.toDouble());
        widget->setFont(font);
    }
}

QPixmap Artwork(const QString& name, QSize size)
{
    QSvgRenderer renderer(QStringLiteral(":/latcap/") + name);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return QPixmap::fromImage(image);
}

void MarkMisread(QWidget* box, const QString& text)
{
    const NumberReading reading = ReadNumberText(text.toStdString());
    if (!reading.misread && !box->property(kMisread).toBool())
        return;
    if (!box->property(kPlainToolTip).isValid())
        box->setProperty(kPlainToolTip, box->toolTip());
    box->setProperty(kMisread, reading.misread);
    const QString plain = box->property(kPlainToolTip).toString();
    if (reading.misread) {
        box->setToolTip(plain + (plain.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(read as ")
            + QString::fromStdString(ShortestText(reading.value)) + QLatin1Char(')'));
        QPalette marked;
        marked.setColor(QPalette::Base, QColor(255, 205, 205));
        marked.setColor(QPalette::Text, QColor(150, 0, 0));
        box->setPalette(marked);
    } else {
        box->setToolTip(plain);
        box->setPalette(QPalette());
    }
}

QString DraggedFile(const QMimeData* data)
{
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

QImage TakePage(
    QWidget* window, std::initializer_list<QWidget*> offPaper, const std::function<void(const QImage&)>& onPaper)
{
    const QPalette before = window->palette();
    // Hiding the focused button would pass the focus on to the next box,
    // which then shows its whole text selected on paper; the window itself
    // holds the focus while the page is taken.
    const QPointer<QWidget> focused = window->focusWidget();
    window->setFocus(Qt::OtherFocusReason);
    const auto restore = qScopeGuard([&] {
        window->setPalette(before);
        for (QWidget* command : offPaper)
            command->show();
        if (focused)
            focused->setFocus(Qt::OtherFocusReason);
    });
    QPalette paper = before;
    paper.setColor(QPalette::Window, Qt::white);
    window->setPalette(paper);
    for (QWidget* command : offPaper)
        command->hide();
    const QImage page = window->grab().toImage();
    onPaper(page);
    return page;
}

QString ArrayName(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

} // namespace latcap
