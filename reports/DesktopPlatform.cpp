#include "DesktopPlatform.h"

#include "HelpViewer.h"
#include "Print.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace latcap {

QStringList NameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        const QString bracketed = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (name.isEmpty())
            filters.append(bracketed);
        else if (name.endsWith(bracketed))
            filters.append(name);
        else
            filters.append(name + QLatin1Char(' ') + bracketed);
    }
    return filters;
}

Platform::Answer DesktopPlatform::showMessage(QWidget* parent, const QString& title, const QString& text,
                                              Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    if (buttons == Buttons::OkCancel)
        box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == Buttons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString DesktopPlatform::getSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                                         const QString& initialName)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = NameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

bool DesktopPlatform::printPage(const QImage& page, QString& error)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        error = QStringLiteral("No printer is installed.");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("The printer %1 could not be started.").arg(info.printerName());
        return false;
    }
    PaintPageImage(painter, QRect(0, 0, printer.width(), printer.height()), page);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        error = QStringLiteral("The printer %1 did not accept the page.").arg(info.printerName());
        return false;
    }
    return true;
}

void DesktopPlatform::showHelp(QWidget* parent)
{
    QStringList lookedIn;
    const QString path = FindHelpFile(&lookedIn);
    if (path.isEmpty()) {
        showMessage(parent, QStringLiteral("Help"), HelpNotFoundText(lookedIn), Buttons::Ok);
        return;
    }
    ShowHelpWindow(parent, path);
}

} // namespace latcap
