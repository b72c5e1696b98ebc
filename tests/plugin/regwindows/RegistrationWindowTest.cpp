// SPDX-License-Identifier: Apache-2.0
#include "TestApplication.h"
#include "TestEnvironment.h"
#include "objectserver/PlatformLayout.h"
#include "platform/SettingsStore.h"
#include "regwindows/fRegisterPlugIn.h"
#include "startup/MMain.h"
#include "support/CRegistry.h"
#include "support/PlugInIdentity.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Records the calls, and what the window looked like during deregistration.
class ObservingRegistration : public RegistrationOperations {
public:
    void Register(bool interactive) override {
        calls << QStringLiteral("register %1").arg(interactive);
    }
    void Deregister(int mode, bool interactive) override {
        calls << QStringLiteral("deregister %1 %2").arg(mode).arg(interactive);
        controlsEnabledDuring = window->bRegister->isEnabled() ||
                                window->bDeregister->isEnabled() || window->bExit->isEnabled() ||
                                window->cmbDeregMode->isEnabled();
        window->close(); // the close box during deregistration must not end the plug-in
        stillOpenAfterClose = window->isVisible();
    }
    void ShowRegistrationWindow() override {}

    fRegisterPlugIn* window = nullptr;
    QStringList calls;
    bool controlsEnabledDuring = true;
    bool stillOpenAfterClose = false;
};

TEST(RegistrationWindow, OffersTheThreeModesWithCompleteSelected) {
    testApplication();
    ObservingRegistration registration;
    fRegisterPlugIn window(registration);
    EXPECT_EQ(window.windowTitle(), Identity().Name);
    ASSERT_EQ(window.cmbDeregMode->count(), 3);
    EXPECT_EQ(window.cmbDeregMode->itemText(0), QStringLiteral("Minimal Mode"));
    EXPECT_EQ(window.cmbDeregMode->itemText(1), QStringLiteral("Complete Mode"));
    EXPECT_EQ(window.cmbDeregMode->itemText(2), QStringLiteral("Exhaustive Mode"));
    EXPECT_EQ(window.cmbDeregMode->currentText(), QStringLiteral("Complete Mode"));
    EXPECT_EQ(window.bRegister->text(), QStringLiteral("&Register Plug-in"));
    EXPECT_EQ(window.bDeregister->text(), QStringLiteral("&Deregister Plug-in"));
    EXPECT_EQ(window.bExit->text(), QStringLiteral("&Exit"));
}

TEST(RegistrationWindow, DeregistrationLocksTheWindowAndUnloadsItAfter) {
    testApplication();
    ObservingRegistration registration;
    fRegisterPlugIn window(registration);
    registration.window = &window;
    QSignalSpy unloaded(&window, &fRegisterPlugIn::unloaded);
    window.show();
    window.cmbDeregMode->setCurrentIndex(0);
    QTest::mouseClick(window.bDeregister, Qt::LeftButton);
    EXPECT_EQ(registration.calls, QStringList{QStringLiteral("deregister -1 1")});
    EXPECT_FALSE(registration.controlsEnabledDuring);
    EXPECT_TRUE(registration.stillOpenAfterClose);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(unloaded.count(), 1);
}

TEST(RegistrationWindow, RegisterAndExitUnloadTheWindow) {
    testApplication();
    ObservingRegistration registration;
    fRegisterPlugIn window(registration);
    QSignalSpy unloaded(&window, &fRegisterPlugIn::unloaded);
    window.show();
    QTest::mouseClick(window.bRegister, Qt::LeftButton);
    EXPECT_EQ(registration.calls, QStringList{QStringLiteral("register 1")});
    EXPECT_EQ(unloaded.count(), 1);

    fRegisterPlugIn other(registration);
    QSignalSpy otherUnloaded(&other, &fRegisterPlugIn::unloaded);
    other.show();
    QTest::mouseClick(other.bExit, Qt::LeftButton);
    EXPECT_EQ(registration.calls.size(), 1);
    EXPECT_EQ(otherUnloaded.count(), 1);
}

TEST(RegistrationWindow, ExplainsWhatEachDeregistrationModeRemoves) {
    testApplication();
    ObservingRegistration registration;
    fRegisterPlugIn window(registration);
    QStringList explanations;
    for (int position = 0; position < window.cmbDeregMode->count(); ++position) {
        window.cmbDeregMode->setCurrentIndex(position);
        explanations << window.lblDeregMode->text();
    }
    EXPECT_TRUE(explanations[0].contains(QStringLiteral("stay in the networks")));
    EXPECT_TRUE(explanations[1].contains(QStringLiteral("commands from every network")));
    EXPECT_TRUE(explanations[2].contains(QStringLiteral("device templates")));
    EXPECT_FALSE(window.lblPlatform->isVisibleTo(&window));
}

TEST(RegistrationWindow, BeforeThePlatformIsLaidOutItSaysToRunSetupAndOffersOnlyDeregistration) {
    testApplication();
    ObservingRegistration registration;
    fRegisterPlugIn window(registration, PlatformLayout::NotLaidOut);
    registration.window = &window;
    EXPECT_TRUE(window.lblPlatform->isVisibleTo(&window));
    EXPECT_TRUE(window.lblPlatform->text().contains(QStringLiteral("\"lns-host setup\"")));
    EXPECT_FALSE(window.bRegister->isEnabled());
    EXPECT_TRUE(window.bDeregister->isEnabled());
}

TEST(RegistrationWindow, ThePlatformIsLaidOutWhenLonWorksPathNamesAFolder) {
    TempPlatformRoot root;
    SettingsStore store(root.settingsStoreFile());
    EXPECT_FALSE(lns::sim::platformLaidOut(store));
    const QString folder = root.path() + QStringLiteral("/LonWorks");
    CRegistry(store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                    QStringLiteral("LonWorks Path"), folder);
    EXPECT_FALSE(lns::sim::platformLaidOut(store)); // named, but not there
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(lns::sim::platformLaidOut(store));
}

} // namespace
