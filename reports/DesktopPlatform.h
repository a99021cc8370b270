#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>

namespace latcap {

// The platform of the real desktop: message boxes, the file dialog, the
// default printer and the help viewer.
class DesktopPlatform final : public Platform {
public:
    Answer showMessage(QWidget* parent, const QString& title, const QString& text, Buttons buttons) override;
    QString getSaveFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& initialName) override;
    bool printPage(const QImage& page, QString& error) override;
    void showHelp(QWidget* parent) override;
};

// The entries of a save dialog's filter list "name|pattern|name|pattern" as
// the dialog shows them: "CSV files(*.csv)", "All files (*.*)". A name that
// does not show its pattern in brackets gets it appended.
QStringList NameFilters(const QString& filter);

} // namespace latcap
