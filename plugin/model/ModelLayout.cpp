// SPDX-License-Identifier: Apache-2.0
#include "model/ModelLayout.h"

#include "model/CNvCtrlTable.h"

#include <initializer_list>

namespace {

bool isOneOf(qint16 model, std::initializer_list<qint16> models) {
    for (qint16 candidate : models) {
        if (candidate == model)
            return true;
    }
    return false;
}

QString stageFrameCaptionFor(qint16 model) {
    if (model == 0)
        return QStringLiteral("Number of cool or hp stages");
    if (isOneOf(model, {4, 12}))
        return QStringLiteral("Number of heatpump stages");
    return QStringLiteral("Number of cooling stages");
}

} // namespace

ModelLayout modelLayoutFor(qint16 model) {
    ModelLayout layout;
    layout.schedulingEnabled = !isOneOf(model, {9, 10, 11, 12, 14, 15, 16});
    layout.modelTabEnabled = !isOneOf(model, {2, 6, 10, 11, 15, 16});
    layout.heatingStagesShown = !isOneOf(model, {2, 4, 11, 12, 16});
    layout.stageFrameCaption = stageFrameCaptionFor(model);
    layout.stageFrameShown = !isOneOf(model, {2, 11, 16});
    if (model != 0) {
        layout.heatPumpShown = isOneOf(model, {4, 12});
        layout.economizerShown = isOneOf(model, {1, 9, 14});
    }
    return layout;
}

qint16 ModelNumberOfRaw(const QString& raw) {
    const QString first = raw.trimmed().section(u' ', 0, 0, QString::SectionSkipEmpty);
    bool ok = false;
    const int model = first.toInt(&ok, 16);
    return ok && model <= 0xFF ? static_cast<qint16>(model) : 0;
}

void EnableFieldControl(const KeyedCollection<CNvCtrlTable>& fields, const QString& name,
                        bool enabled) {
    for (const auto& field : fields) {
        if (field->Name == name) {
            if (field->TheControl)
                field->TheControl->setEnabled(enabled);
            return;
        }
    }
}
