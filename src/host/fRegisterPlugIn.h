#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;
class RegistrationOperations;

// The registration window: register, or deregister in the chosen mode. It
// unloads itself after any of its buttons.
class fRegisterPlugIn : public QWidget {
    Q_OBJECT
public:
    explicit fRegisterPlugIn(RegistrationOperations& registration, QWidget* parent = nullptr);

    QComboBox* cmbDeregMode;
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

    RegistrationOperations& m_registration;
    bool m_unloaded = false;
    bool m_busy = false;
};
