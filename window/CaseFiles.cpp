#include "CaseFiles.h"

#include "CaseDocument.h"
#include "DialogTexts.h"
#include "Platform.h"
#include "SaveDialog.h"

#include <QFileInfo>
#include <QWidget>

namespace latcap {
namespace {

    constexpr const char* kCaseFilter = "Case files (*.case)|*.case|All files (*.*)|*.*";

    QString Text(const char* latin1) { return QString::fromLatin1(latin1); }

} // namespace

CaseFiles::CaseFiles(CaseDocument& document, Platform& platform, QWidget* window)
    : document_(document)
    , platform_(platform)
    , window_(window)
{
}

bool CaseFiles::OpenChosen()
{
    if (!MayLoseChanges())
        return false;
    const QString path = platform_.getOpenFileName(window_, QStringLiteral("Open Case"), Text(kCaseFilter));
    return !path.isEmpty() && Load(path);
}

bool CaseFiles::Open(const QString& path) { return MayLoseChanges() && Load(path); }

bool CaseFiles::Load(const QString& path)
{
    QString fault;
    if (document_.Load(path, fault))
        return true;
    platform_.showMessage(window_, Text(text::kErrorTitle),
        QStringLiteral("The case file could not be opened.\n") + fault, Platform::Buttons::Ok);
    return false;
}

bool CaseFiles::Save()
{
    const QString path = document_.Path();
    if (path.isEmpty())
        return SaveAs();
    if (!SaveReportingFailure(platform_, window_, path, BytesWriter(document_.FileText())))
        return false;
    document_.Saved(path);
    return true;
}

bool CaseFiles::SaveAs()
{
    const QString& path = document_.Path();
    const SaveRequest request { QStringLiteral("Save Case"), Text(kCaseFilter),
        path.isEmpty() ? QString() : QFileInfo(path).fileName(), QStringLiteral("case") };
    QString saved;
    if (!SaveThroughDialog(platform_, window_, request, BytesWriter(document_.FileText()), &saved))
        return false;
    document_.Saved(saved);
    return true;
}

bool CaseFiles::MayLoseChanges()
{
    if (document_.Path().isEmpty() || !document_.IsModified())
        return true;
    const QString question = QStringLiteral("Save the changes to %1?").arg(QFileInfo(document_.Path()).fileName());
    switch (platform_.askUnsaved(window_, Text(text::kAppTitle), question)) {
    case Platform::Unsaved::Save:
        return Save();
    case Platform::Unsaved::Discard:
        return true;
    case Platform::Unsaved::Cancel:
        break;
    }
    return false;
}

void CaseFiles::ShowTitle()
{
    if (document_.Path().isEmpty())
        return;
    window_->setWindowTitle(QFileInfo(document_.Path()).fileName() + QStringLiteral("[*] - ") + Text(text::kAppTitle));
    window_->setWindowModified(document_.IsModified());
}

} // namespace latcap
