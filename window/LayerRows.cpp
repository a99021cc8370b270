#include "LayerRows.h"

#include "DisplayFormats.h"
#include "DropDownList.h"
#include "FormLooks.h"
#include "NumberText.h"
#include "WindowTexts.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>
#include <initializer_list>

namespace latcap {
namespace {

    void AddAngles(DropDownList* list)
    {
        for (int degrees = 0; degrees <= 45; degrees += 5)
            list->addItem(QString::fromStdString(FormatMask(degrees, mask::kAngle)));
        list->selectItem(0);
    }

} // namespace

void CloneLayerRows(QWidget* form, LayerRows& rows)
{
    const float rowPitch = static_cast<float>(rows.txtFrom[0]->height()) * 1.3f;
    rows.txtFrom[0]->setEnabled(false);
    rows.txtFrom[0]->setText(QStringLiteral("0"));
    AddAngles(rows.selectFrictionAngle[0]);
    for (int i = 1; i < kMaxLayers; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const auto top = [&](const QWidget* first) {
            return static_cast<int>(std::lround(static_cast<float>(i) * rowPitch + static_cast<float>(first->y())));
        };
        const auto copyDesign = [&](QWidget* element, const QWidget* first, const char* name) {
            element->setObjectName(ArrayName(name, i));
            element->setFont(first->font());
            element->setToolTip(first->toolTip());
            element->setFocusPolicy(first->focusPolicy());
            element->setGeometry(first->x(), top(first), first->width(), first->height());
            element->hide();
        };
        auto* number = new QLabel(QString::fromStdString(FormatMask(i + 1, mask::kLayerCount)), form);
        number->setAlignment(rows.lblLayerNo[0]->alignment());
        copyDesign(number, rows.lblLayerNo[0], "lblLayerNo");
        rows.lblLayerNo[at] = number;
        const auto lineEdit = [&](std::array<QLineEdit*, kMaxLayers>& array, const char* name) {
            array[at] = new QLineEdit(form);
            copyDesign(array[at], array[0], name);
        };
        lineEdit(rows.txtFrom, "txtFrom");
        rows.txtFrom[at]->setEnabled(false);
        lineEdit(rows.txtTo, "txtTo");
        lineEdit(rows.txtGama, "txtGama");
        lineEdit(rows.txtC, "txtC");
        rows.selectFrictionAngle[at] = new DropDownList(form);
        copyDesign(rows.selectFrictionAngle[at], rows.selectFrictionAngle[0], "selectFrictionAngle");
        lineEdit(rows.txtD, "txtD");
        AddAngles(rows.selectFrictionAngle[at]);
        QWidget* previous = rows.txtD[at - 1];
        for (QWidget* element : std::initializer_list<QWidget*> {
                 rows.txtTo[at], rows.txtGama[at], rows.txtC[at], rows.selectFrictionAngle[at], rows.txtD[at] }) {
            QWidget::setTabOrder(previous, element);
            previous = element;
        }
    }
}

} // namespace latcap
