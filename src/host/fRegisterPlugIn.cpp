#include "host/fRegisterPlugIn.h"

#include "host/MMain.h"
#include "host/PlugInIdentity.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

fRegisterPlugIn::fRegisterPlugIn(RegistrationOperations& registration, QWidget* parent)
    : QWidget(parent), m_registration(registration) {
    setWindowTitle(Identity().Name);
    auto* frame = new QGroupBox(this);
    cmbDeregMode = new QComboBox(frame);
    cmbDeregMode->addItems({QStringLiteral("Minimal Mode"), QStringLiteral("Complete Mode"),
                            QStringLiteral("Exhaustive Mode")});
    cmbDeregMode->setCurrentIndex(1);
    bRegister = new QPushButton(QStringLiteral("&Register Plug-in"), frame);
    bDeregister = new QPushButton(QStringLiteral("&Deregister Plug-in"), frame);
    bExit = new QPushButton(QStringLiteral("&Exit"), frame);

    auto* deregistration = new QHBoxLayout;
    deregistration->addWidget(cmbDeregMode);
    deregistration->addWidget(bDeregister);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(bRegister);
    frameLayout->addLayout(deregistration);
    frameLayout->addWidget(bExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);

    connect(bRegister, &QPushButton::clicked, this, &fRegisterPlugIn::bRegister_Click);
    connect(bDeregister, &QPushButton::clicked, this, &fRegisterPlugIn::bDeregister_Click);
    connect(bExit, &QPushButton::clicked, this, &QWidget::close);
}

void fRegisterPlugIn::setControlsEnabled(bool enabled) {
    m_busy = !enabled;
    cmbDeregMode->setEnabled(enabled);
    bRegister->setEnabled(enabled);
    bDeregister->setEnabled(enabled);
    bExit->setEnabled(enabled);
}

void fRegisterPlugIn::bRegister_Click() {
    m_registration.Register(true);
    close();
}

void fRegisterPlugIn::bDeregister_Click() {
    setControlsEnabled(false);
    repaint();
    QApplication::processEvents();
    // List positions 0, 1, 2 are the modes -1, 0, 1.
    m_registration.Deregister(cmbDeregMode->currentIndex() - 1, true);
    setControlsEnabled(true);
    close();
}

void fRegisterPlugIn::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore(); // deregistration must finish before the plug-in ends
        return;
    }
    QWidget::closeEvent(event);
    if (!m_unloaded) {
        m_unloaded = true;
        Q_EMIT unloaded();
    }
}
