#include "DropDownList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QWheelEvent>

namespace latcap {

DropDownList::DropDownList(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // Plain typing: no completion from the items and nothing added to them.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!typing_)
            Q_EMIT clicked(index);
    });
}

void DropDownList::selectItem(int index)
{
    setCurrentIndex(index);
    Q_EMIT clicked(index);
}

void DropDownList::setChoiceOnly()
{
    choiceOnly_ = true;
    lineEdit()->setReadOnly(true);
}

// Qt activates the matching item when the typed text is committed; that is
// still typing, not a choice from the list.
void DropDownList::focusOutEvent(QFocusEvent* event)
{
    const QScopedValueRollback guard(typing_, true);
    QComboBox::focusOutEvent(event);
}

void DropDownList::keyPressEvent(QKeyEvent* event)
{
    if (choiceOnly_ && !event->text().isEmpty() && event->text().front().isPrint()) {
        const int index = findText(event->text());
        if (index >= 0)
            selectItem(index);
        return;
    }
    const bool commit = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QScopedValueRollback guard(typing_, typing_ || commit);
    QComboBox::keyPressEvent(event);
}

void DropDownList::wheelEvent(QWheelEvent* event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

} // namespace latcap
