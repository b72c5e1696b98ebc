// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class RegistrationOperations;

// Whether the LonWorks folder the plug-in registers into exists yet.
enum class PlatformLayout { LaidOut, NotLaidOut };

// The registration window: register, or deregister in the chosen mode, which
// it explains. It unloads itself after any of its buttons. Before the
// platform is laid out it says how to lay it out and offers no registration.
class fRegisterPlugIn : public QWidget {
    Q_OBJECT
public:
    explicit fRegisterPlugIn(RegistrationOperations& registration,
                             PlatformLayout platform = PlatformLayout::LaidOut,
                             QWidget* parent = nullptr);

    QLabel* lblPlatform; // shown only before the platform is laid out
    QComboBox* cmbDeregMode;
    QLabel* lblDeregMode; // what the chosen mode removes
    QPushButton* bRegister;
    QPushButton* bDeregister;
    QPushButton* bExit;

Q_SIGNALS:
    // The window is gone; the plug-in ends when nothing else holds it.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void bRegister_Click();
    void bDeregister_Click();
    void setControlsEnabled(bool enabled);
    void explainDeregMode(int position);

    RegistrationOperations& m_registration;
    bool m_unloaded = false;
    bool m_busy = false;
    bool m_canRegister;
};
