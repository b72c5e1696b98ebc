// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "TestEnvironment.h"
#include "automation/CommandRegistration.h"
#include "automation/ConfigurationWindow.h"
#include "automation/LNSPlugInAPI.h"
#include "automation/PlugInState.h"
#include "model/Specific.h"
#include "platform/SettingsStore.h"

#include <QStringList>
#include <functional>
#include <memory>

// Records what the plug-in object asks of the configuration window, the
// progress window and command registration, in one list of events.
class FakeConfigurationWindow : public ConfigurationWindow {
public:
    explicit FakeConfigurationWindow(QStringList& events) : m_events(events) {}

    lns::Ref<lns::ObjectServer> ObjectServer() override {
        m_events << QStringLiteral("window.ObjectServer");
        return server;
    }
    bool Visible() const override { return visible; }
    void setVisible(bool value) override { visible = value; }
    ::BorderStyle BorderStyle() const override { return border; }
    ::WindowState WindowState() const override { return state; }
    void setWindowState(::WindowState value) override { state = value; }
    int Height() const override { return height; }
    void setHeight(int twips) override { height = twips; }
    int Width() const override { return width; }
    void setWidth(int twips) override { width = twips; }
    int Left() const override { return left; }
    void setLeft(int twips) override { left = twips; }
    int Top() const override { return top; }
    void setTop(int twips) override { top = twips; }
    double TwipsPerPixelX() const override { return twipsPerPixelX; }
    double TwipsPerPixelY() const override { return twipsPerPixelY; }
    void setBusyPointer(bool busy) override {
        m_events << (busy ? QStringLiteral("pointer busy") : QStringLiteral("pointer normal"));
    }
    void ProcessDeviceCommand(const lns::Ref<lns::AppDevice>& device, qint32 commandId) override {
        m_events << QStringLiteral("ProcessDeviceCommand %1 %2").arg(device->Name()).arg(commandId);
        if (handOverFailure)
            throw *handOverFailure;
    }
    void ProcessLonMarkObjectCommand(const lns::Ref<lns::LonMarkObject>& object,
                                     qint32 commandId) override {
        m_events << QStringLiteral("ProcessLonMarkObjectCommand %1 %2")
                        .arg(object->Name())
                        .arg(commandId);
        if (handOverFailure)
            throw *handOverFailure;
    }
    void EndPlugIn() override { m_events << QStringLiteral("EndPlugIn"); }

    lns::Ref<lns::ObjectServer> server;
    bool visible = false;
    ::BorderStyle border = BorderStyle::Sizable;
    ::WindowState state = WindowState::Normal;
    int height = 6000, width = 9000, left = 150, top = 300;
    double twipsPerPixelX = 15, twipsPerPixelY = 15;
    std::optional<Error> handOverFailure;

private:
    QStringList& m_events;
};

class FakeCommandRegistration : public CommandRegistration {
public:
    explicit FakeCommandRegistration(QStringList& events) : m_events(events) {}
    bool RegisterCommands() override {
        m_events << QStringLiteral("RegisterCommands");
        return registers;
    }
    bool RemoveCommands(bool exhaustive, bool firstNetwork) override {
        m_events << QStringLiteral("RemoveCommands %1 %2").arg(exhaustive).arg(firstNetwork);
        return removes;
    }
    bool registers = true;
    bool removes = true;

private:
    QStringList& m_events;
};

class FakeProgressWindow : public ProgressWindow {
public:
    explicit FakeProgressWindow(QStringList& events) : m_events(events) {
        m_events << QStringLiteral("progress load");
    }
    ~FakeProgressWindow() override { m_events << QStringLiteral("progress unload"); }
    void DisplayStatus(const QString& text) override {
        m_events << QStringLiteral("status ") + text;
    }

private:
    QStringList& m_events;
};

// One process's worth of plug-in state over a fresh platform root.
struct PlugInFixture {
    PlugInFixture()
        : store(root.settingsStoreFile()), window(events),
          registration(events), services{state,
                                         window,
                                         registration,
                                         [this] { return std::make_unique<FakeProgressWindow>(events); },
                                         store,
                                         specific} {}

    std::unique_ptr<LNSPlugInAPI> create() { return std::make_unique<LNSPlugInAPI>(services); }

    TempPlatformRoot root;
    SettingsStore store;
    QStringList events;
    PlugInState state;
    Specific specific;
    FakeConfigurationWindow window;
    FakeCommandRegistration registration;
    PlugInServices services;
};
