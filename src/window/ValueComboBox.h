#pragma once

#include <QComboBox>

// A combo box of the configuration window: it tells when its list drops down,
// which counts as an edit.
class ValueComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void droppedDown();
};
