#pragma once

#include <QComboBox>

class QFocusEvent;
class QKeyEvent;
class QWheelEvent;

namespace latcap {

// An editable drop-down list whose click means that an item was chosen: with
// the mouse in the list, with the arrow keys, or by the program selecting an
// item by position. Typing into its text field and leaving it is no click,
// even when the typed text matches an item. The wheel turns through the items
// only while the list has the focus, so scrolling past it changes nothing.
class DropDownList final : public QComboBox {
    Q_OBJECT

public:
    explicit DropDownList(QWidget* parent = nullptr);

    // Selects the item at `index` and raises the click at once.
    void selectItem(int index);

    // A list whose text is always one of its items: nothing can be typed or
    // pasted into its field, and a key that types an item's text chooses
    // that item as a click does.
    void setChoiceOnly();

Q_SIGNALS:
    void clicked(int index);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool typing_ = false;
    bool choiceOnly_ = false;
};

} // namespace latcap
