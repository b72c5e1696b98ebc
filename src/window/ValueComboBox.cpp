#include "window/ValueComboBox.h"

void ValueComboBox::showPopup() {
    emit droppedDown();
    QComboBox::showPopup();
}
