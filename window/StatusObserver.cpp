#include "StatusObserver.h"

#include "DialogTexts.h"
#include "Platform.h"

#include <QCoreApplication>
#include <QLabel>

namespace latcap {

StatusObserver::StatusObserver(Platform& platform, QWidget* window, QLabel* status, const char* waitText)
    : platform_(platform)
    , window_(window)
    , status_(status)
    , waitText_(waitText)
{
}

void StatusObserver::Solving()
{
    status_->setText(QString::fromLatin1(waitText_));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StatusObserver::IterationProblem(SolverProblem problem)
{
    last = QString::fromLatin1(IterationMessage(problem));
    platform_.showMessage(window_, QString::fromLatin1(text::kAppTitle), last, Platform::Buttons::Ok);
}

} // namespace latcap
