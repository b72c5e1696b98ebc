// SPDX-License-Identifier: Apache-2.0
#include "window/ValueComboBox.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

ValueComboBox::ValueComboBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentTextChanged, this, [this] { updateGeometry(); });
}

void ValueComboBox::showPopup() {
    emit droppedDown();
    QComboBox::showPopup();
}

QSize ValueComboBox::sizeHint() const {
    return coveringShownText(QComboBox::sizeHint());
}

QSize ValueComboBox::minimumSizeHint() const {
    return coveringShownText(QComboBox::minimumSizeHint());
}

// The list's items set the width; a shown value outside the list widens it.
QSize ValueComboBox::coveringShownText(QSize hint) const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const int textWidth = fontMetrics().horizontalAdvance(currentText());
    // The line edit keeps a small margin of its own on either side.
    const QSize contents(textWidth + 4, fontMetrics().height());
    const QSize needed = style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
    hint.setWidth(std::max(hint.width(), needed.width()));
    return hint;
}
