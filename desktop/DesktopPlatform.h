#pragma once

#include "Platform.h"

#include <QString>

namespace latcap {

// The platform of the real desktop: message boxes, the file dialog, the
// default printer and the help viewer.
class DesktopPlatform final : public Platform {
public:
    Answer showMessage(QWidget* parent, const QString& title, const QString& text, Buttons buttons) override;
    QString getSaveFileName(
        QWidget* parent, const QString& title, const QString& filter, const QString& initialName) override;
    QString getOpenFileName(QWidget* parent, const QString& title, const QString& filter) override;
    Unsaved askUnsaved(QWidget* parent, const QString& title, const QString& text) override;
    bool editJobDetails(QWidget* parent, JobDetails& details) override;
    bool editForm(QWidget* parent, const QString& title, std::vector<FormField>& fields) override;
    bool printPage(const QImage& page, QString& error) override;
    void showHelp(QWidget* parent) override;
};

} // namespace latcap
