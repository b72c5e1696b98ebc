// SPDX-License-Identifier: Apache-2.0
#include "window/fMain.h"

#include "model/CNvCtrlTable.h"
#include "model/CpLookup.h"
#include "model/Specific.h"
#include "support/fLog.h"
#include "window/HelpWindow.h"
#include "window/WidgetFieldControl.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>

fMain::fMain(fMainServices services, QWidget* parent)
    : QWidget(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("fMain"));
    createLayout();
    bindFieldControls();
    connectControls();
    connectEditing();
    Form_Load();
}

fMain::~fMain() {
    if (lcaOS)
        lcaOS->setEventListener(nullptr);
}

void fMain::setObjectServer(lns::Ref<lns::ObjectServer> server) {
    if (lcaOS)
        lcaOS->setEventListener(nullptr);
    lcaOS = std::move(server);
    if (lcaOS)
        lcaOS->setEventListener(this);
}

fLog& fMain::activityLog() {
    if (!m_log)
        m_log = std::make_unique<fLog>(m_services.dialogs);
    return *m_log;
}

lns::Ref<lns::ConfigProperty> fMain::GetCpByTypeIndex(const QString& sPathHandle) {
    return ::GetCpByTypeIndex(sPathHandle, CurrentDevice, DeviceNvs, m_services.dialogs);
}

QWidget* fMain::widgetOf(const CNvCtrlTable& field) const {
    const auto* control = dynamic_cast<const WidgetFieldControl*>(field.TheControl.get());
    return control ? control->widget() : nullptr;
}

CNvCtrlTable* fMain::fieldOf(const QWidget* control) const {
    for (const auto& field : m_services.specific.NvCtrlTables) {
        if (widgetOf(*field) == control)
            return field.get();
    }
    return nullptr;
}

void fMain::connectControls() {
    connect(cmdApply, &QPushButton::clicked, this, [this] { cmdApply_Click(); });
    connect(cmdDebug, &QPushButton::clicked, this, [this] { cmdDebug_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdHelp, &QToolButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(cmdViewLog, &QToolButton::clicked, this, [this] { cmdViewLog_Click(); });
    connect(tabData, &QTabWidget::currentChanged, this, [this](int) { tabData_Click(); });
    for (int i = 0; i < static_cast<int>(obUnits.size()); ++i)
        connect(obUnits[i], &QRadioButton::clicked, this, [this, i] { obUnits_Click(i); });
    // Help at the tab shown, and the tabs, from anywhere in the window.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [this] { cmdHelp_Click(); });
    const auto stepTab = [this](int step) {
        const int count = tabData->count();
        for (int tab = tabData->currentIndex() + step, tried = 1; tried < count;
             tab += step, ++tried) {
            const int wrapped = (tab + count) % count;
            if (tabData->isTabEnabled(wrapped)) {
                tabData->setCurrentIndex(wrapped);
                return;
            }
        }
    };
    for (const auto& [key, step] : {std::pair{QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1}})
        connect(new QShortcut(key, this), &QShortcut::activated, this,
                [stepTab, step] { stepTab(step); });
    connect(cbOfflineHvacType, &QComboBox::activated, this, [this](int) {
        if (!m_deviceOpened)
            return;
        ReadInitValues();
        DisplayFieldValues();
    });
}
