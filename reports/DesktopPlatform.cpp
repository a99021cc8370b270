#include "DesktopPlatform.h"

#include "HelpViewer.h"
#include "Print.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

namespace latcap {

namespace {

    // The names of a filter list "name|pattern|name|pattern", each of which shows
    // its pattern in brackets, e.g. "CSV files(*.csv)", as the dialog takes them.
    QStringList NameFilters(const QString& filter)
    {
        const QStringList parts = filter.split(QLatin1Char('|'));
        QStringList names;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
            names.append(parts[i]);
        return names;
    }

} // namespace

Platform::Answer DesktopPlatform::showMessage(
    QWidget* parent, const QString& title, const QString& text, Buttons buttons)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    if (buttons == Buttons::OkCancel)
        box.addButton(QMessageBox::Cancel);
    // OK is the default; Escape answers Cancel, or OK when it stands alone, as
    // in every message box.
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

QString DesktopPlatform::getSaveFileName(
    QWidget* parent, const QString& title, const QString& filter, const QString& initialName)
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

QString DesktopPlatform::getOpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = NameFilters(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.first());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

Platform::Unsaved DesktopPlatform::askUnsaved(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(
        QMessageBox::Warning, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Unsaved::Save;
    case QMessageBox::Discard:
        return Unsaved::Discard;
    default:
        return Unsaved::Cancel;
    }
}

bool DesktopPlatform::printPage(const QImage& page, QString& error)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        error = QStringLiteral("No printer is installed.");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    return PrintPage(printer, page, error);
}

void DesktopPlatform::showHelp(QWidget* parent)
{
    QStringList lookedIn;
    const QString path = FindHelpFile(HelpFolders(), &lookedIn);
    if (path.isEmpty()) {
        showMessage(parent, QStringLiteral("Help"), HelpNotFoundText(lookedIn), Buttons::Ok);
        return;
    }
    ShowHelpWindow(parent, path);
}

} // namespace latcap
