#include "FormLooks.h"

#include "NumberText.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
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

    class EnterClicks final : public QObject {
    public:
        using QObject::QObject;

    protected:
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                auto* button = qobject_cast<QPushButton*>(watched);
                if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button != nullptr && button->isEnabled()) {
                    button->click();
                    return true;
                }
            }
            return QObject::eventFilter(watched, event);
        }
    };

} // namespace

void ClickOnEnter(QWidget* form)
{
    auto* filter = new EnterClicks(form);
    for (QPushButton* button : form->findChildren<QPushButton*>())
        button->installEventFilter(filter);
}

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

void ShowArtwork(QWidget* window, QLabel* logo, std::initializer_list<QPushButton*> copies, QPushButton* help)
{
    QIcon icon;
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(16, 16)));
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(32, 32)));
    window->setWindowIcon(icon);
    logo->setPixmap(Artwork(QStringLiteral("logo.svg"), logo->size()));
    for (QPushButton* copy : copies)
        copy->setIcon(Artwork(QStringLiteral("triangle.svg"), copy->iconSize()));
    help->setIcon(Artwork(QStringLiteral("help.svg"), help->iconSize()));
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

void ShowNotes(QLabel* status, const QStringList& notes)
{
    const QFontMetrics metrics(status->font());
    const auto fits = [&](const QString& text) {
        return metrics.boundingRect(QRect(0, 0, status->width(), 10000), Qt::AlignLeft | Qt::TextWordWrap, text)
                   .height()
            <= status->height();
    };
    qsizetype whole = notes.size();
    QString shown = notes.join(QStringLiteral("; "));
    while (whole > 0 && !fits(shown)) {
        --whole;
        shown = QStringList(notes.mid(0, whole) << QStringLiteral("and %1 more").arg(notes.size() - whole))
                    .join(QStringLiteral("; "));
    }
    status->setText(shown);
    status->setToolTip(whole < notes.size() ? notes.join(QLatin1Char('\n')) : QString());
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
