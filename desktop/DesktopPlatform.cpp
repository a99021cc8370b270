#include "DesktopPlatform.h"

#include "HelpViewer.h"
#include "Print.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>

#include <functional>
#include <vector>

namespace latcap {

namespace {

    // Shows the dialog with the filter list "name|pattern|name|pattern" (each
    // name showing its pattern in brackets, e.g. "CSV files(*.csv)") and the
    // first pair selected; returns the file chosen, or an empty string.
    QString ChosenFile(QFileDialog& dialog, const QString& filter, const QString& initialName)
    {
        const QStringList parts = filter.split(QLatin1Char('|'));
        QStringList names;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
            names.append(parts[i]);
        if (!names.isEmpty()) {
            dialog.setNameFilters(names);
            dialog.selectNameFilter(names.first());
        }
        if (!initialName.isEmpty())
            dialog.selectFile(initialName);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        return dialog.selectedFiles().value(0);
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
    return ChosenFile(dialog, filter, initialName);
}

QString DesktopPlatform::getOpenFileName(QWidget* parent, const QString& title, const QString& filter)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return ChosenFile(dialog, filter, QString());
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

bool DesktopPlatform::editJobDetails(QWidget* parent, JobDetails& details)
{
    std::vector<FormField> fields;
    for (const auto& [name, value] : details.Named())
        fields.push_back({ QString::fromStdString(name), QString::fromStdString(value) });
    if (!editForm(parent, QStringLiteral("Job Details"), fields))
        return false;
    const auto text = [&fields](std::size_t i) { return fields[i].value.toStdString(); };
    details = { text(0), text(1), text(2), text(3), text(4), text(5) };
    return true;
}

bool DesktopPlatform::editForm(QWidget* parent, const QString& title, std::vector<FormField>& fields)
{
    QDialog form(parent);
    form.setWindowTitle(title);
    auto* layout = new QFormLayout(&form);
    std::vector<std::function<QString()>> texts;
    for (const FormField& field : fields) {
        QWidget* editor = nullptr;
        if (field.choices.isEmpty()) {
            auto* box = new QLineEdit(field.value, &form);
            texts.emplace_back([box] { return box->text(); });
            editor = box;
        } else {
            auto* list = new QComboBox(&form);
            list->addItems(field.choices);
            // A text that is none of the choices stays as it is until another is chosen.
            if (!field.choices.contains(field.value))
                list->addItem(field.value);
            list->setCurrentText(field.value);
            texts.emplace_back([list] { return list->currentText(); });
            editor = list;
        }
        editor->setMinimumWidth(320);
        editor->setToolTip(field.note);
        layout->addRow(field.label + QLatin1Char(':'), editor);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &form);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &form, &QDialog::reject);
    if (form.exec() != QDialog::Accepted)
        return false;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i].value = texts[i]();
    return true;
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
