// SPDX-License-Identifier: Apache-2.0
#include "regwindows/fRegisterPlugIn.h"

#include "registration/RegistrationOperations.h"
#include "support/PlugInIdentity.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

namespace {

// What each deregistration mode removes, by list position.
const char* const DeregModeEffects[] = {
    "Removes only the plug-in's own registration; its commands stay in the networks.",
    "Also removes the plug-in's commands from every network.",
    "Also removes the plug-in's commands from every network, and offers to remove "
    "device templates that no device uses.",
};

} // namespace

fRegisterPlugIn::fRegisterPlugIn(RegistrationOperations& registration, PlatformLayout platform,
                                 QWidget* parent)
    : QWidget(parent), m_registration(registration),
      m_canRegister(platform == PlatformLayout::LaidOut) {
    setWindowTitle(Identity().Name);
    lblPlatform = new QLabel(
        QStringLiteral("The LonWorks platform has not been laid out yet, so there is nothing to "
                       "register the plug-in with. Run \"lns-host setup\" first, then open this "
                       "window again."),
        this);
    lblPlatform->setWordWrap(true);
    lblPlatform->setVisible(!m_canRegister);
    auto* frame = new QGroupBox(this);
    cmbDeregMode = new QComboBox(frame);
    cmbDeregMode->addItems({QStringLiteral("Minimal Mode"), QStringLiteral("Complete Mode"),
                            QStringLiteral("Exhaustive Mode")});
    cmbDeregMode->setCurrentIndex(1);
    lblDeregMode = new QLabel(frame);
    lblDeregMode->setWordWrap(true);
    explainDeregMode(cmbDeregMode->currentIndex());
    bRegister = new QPushButton(QStringLiteral("&Register Plug-in"), frame);
    bDeregister = new QPushButton(QStringLiteral("&Deregister Plug-in"), frame);
    bExit = new QPushButton(QStringLiteral("&Exit"), frame);

    auto* deregistration = new QHBoxLayout;
    deregistration->addWidget(cmbDeregMode);
    deregistration->addWidget(bDeregister);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(bRegister);
    frameLayout->addLayout(deregistration);
    frameLayout->addWidget(lblDeregMode);
    frameLayout->addWidget(bExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPlatform);
    layout->addWidget(frame);
    bRegister->setEnabled(m_canRegister);

    connect(bRegister, &QPushButton::clicked, this, &fRegisterPlugIn::bRegister_Click);
    connect(bDeregister, &QPushButton::clicked, this, &fRegisterPlugIn::bDeregister_Click);
    connect(bExit, &QPushButton::clicked, this, &QWidget::close);
    connect(cmbDeregMode, &QComboBox::currentIndexChanged, this,
            &fRegisterPlugIn::explainDeregMode);
}

void fRegisterPlugIn::explainDeregMode(int position) {
    const bool known = position >= 0 && position < static_cast<int>(std::size(DeregModeEffects));
    lblDeregMode->setText(known ? QLatin1String(DeregModeEffects[position]) : QLatin1String());
}

void fRegisterPlugIn::setControlsEnabled(bool enabled) {
    m_busy = !enabled;
    cmbDeregMode->setEnabled(enabled);
    bRegister->setEnabled(enabled && m_canRegister);
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
