// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QComboBox>

// A combo box of the configuration window: it tells when its list drops down,
// which counts as an edit, and is wide enough for the value it shows, also
// one that is not in its list.
class ValueComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit ValueComboBox(QWidget* parent = nullptr);

    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void droppedDown();

private:
    QSize coveringShownText(QSize hint) const;
};
