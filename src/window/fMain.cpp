#include "window/fMain.h"

#include "model/CpLookup.h"
#include "support/fLog.h"
#include "window/WidgetFieldControl.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <memory>

namespace {

std::shared_ptr<FieldControl> bind(QWidget* widget) {
    return std::make_shared<WidgetFieldControl>(widget);
}

} // namespace

fMain::fMain(Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_dialogs(dialogs) {
    createValueControls();
}

void fMain::createValueControls() {
    for (int i = 0; i < FieldControls::TextBoxCount; ++i) {
        txtNvi[i] = new QLineEdit(this);
        txtNvi[i]->setObjectName(QStringLiteral("txtNvi_%1").arg(i));
        m_fieldControls.txtNvi[i] = bind(txtNvi[i]);
    }
    for (int i = 0; i < FieldControls::ComboBoxCount; ++i) {
        cbNvi[i] = new QComboBox(this);
        cbNvi[i]->setEditable(true);
        cbNvi[i]->setObjectName(QStringLiteral("cbNvi_%1").arg(i));
        m_fieldControls.cbNvi[i] = bind(cbNvi[i]);
    }
    txtDebug = new QLineEdit(QStringLiteral("0"), this);
    txtDebug->setObjectName(QStringLiteral("txtDebug"));
    txtDebug->hide();
    lbModel = new QLabel(QStringLiteral("Undefined model"), this);
    lbModel->setObjectName(QStringLiteral("lbModel"));
    lbHvacType = new QLabel(QStringLiteral("HVT_UNKNOWN"), this);
    lbHvacType->setObjectName(QStringLiteral("lbHvacType"));
    m_fieldControls.txtDebug = bind(txtDebug);
    m_fieldControls.lbModel = bind(lbModel);
    m_fieldControls.lbHvacType = bind(lbHvacType);
}

lns::Ref<lns::ConfigProperty> fMain::GetCpByTypeIndex(const QString& sPathHandle) {
    return ::GetCpByTypeIndex(sPathHandle, CurrentDevice, DeviceNvs, m_dialogs);
}

fLog& fMain::LogWindow() {
    if (!m_log)
        m_log = new fLog(m_dialogs, this);
    return *m_log;
}
