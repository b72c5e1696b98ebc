// SPDX-License-Identifier: Apache-2.0
#include "objectserver/RecordMerge.h"

namespace lns::sim::RecordMerge {

namespace {

template <class Record, class Merge>
void mergeList(SharedList<Record>& cached, const SharedList<Record>& fresh, Merge merge) {
    SharedList<Record> merged;
    std::vector<bool> taken(cached.size(), false);
    for (const Shared<Record>& item : fresh) {
        Shared<Record> kept = item;
        for (size_t i = 0; i < cached.size(); ++i) {
            if (!taken[i] && cached[i]->name == item->name) {
                taken[i] = true;
                kept = cached[i];
                merge(*kept, *item);
                break;
            }
        }
        merged.push_back(kept);
    }
    if constexpr (requires(Record record) { record.pending; }) {
        for (size_t i = 0; i < cached.size(); ++i) {
            if (!taken[i] && cached[i]->pending)
                merged.push_back(cached[i]); // not saved yet, so not among the fresh ones
        }
    }
    cached = std::move(merged);
}

void componentApp(ComponentAppRecord& cached, const ComponentAppRecord& fresh) {
    cached = fresh;
}

void configProperty(ConfigPropertyRecord& cached, const ConfigPropertyRecord& fresh) {
    const QString formatSpec = cached.formatSpec;
    const QString dsFormatType = cached.dsFormatType;
    cached = fresh;
    cached.formatSpec = formatSpec;
    cached.dsFormatType = dsFormatType;
}

void networkVariable(NetworkVariableRecord& cached, const NetworkVariableRecord& fresh) {
    cached.index = fresh.index;
    mergeList(cached.configProperties, fresh.configProperties, configProperty);
}

void lonMarkObject(LonMarkObjectRecord& cached, const LonMarkObjectRecord& fresh) {
    cached.index = fresh.index;
    cached.typeIndex = fresh.typeIndex;
    cached.scope = fresh.scope;
    mergeList(cached.configProperties, fresh.configProperties, configProperty);
    mergeList(cached.componentApps, fresh.componentApps, componentApp);
}

void interface(InterfaceRecord& cached, const InterfaceRecord& fresh) {
    mergeList(cached.configProperties, fresh.configProperties, configProperty);
    mergeList(cached.networkVariables, fresh.networkVariables, networkVariable);
    mergeList(cached.lonMarkObjects, fresh.lonMarkObjects, lonMarkObject);
}

void row(RowRecord& cached, const RowRecord& fresh) {
    cached.parentRow = fresh.parentRow;
    cached.revision = fresh.revision;
}

} // namespace

void system(SystemRecord& cached, const SystemRecord& fresh) {
    row(cached, fresh);
    cached.name = fresh.name;
    cached.managementMode = fresh.managementMode;
    cached.networkInterface = fresh.networkInterface;
    cached.engineeredModeFails = fresh.engineeredModeFails;
    cached.xifFolder = fresh.xifFolder;
    cached.channel = fresh.channel;
    mergeList(cached.componentApps, fresh.componentApps, componentApp);
}

void subsystem(SubsystemRecord& cached, const SubsystemRecord& fresh) {
    row(cached, fresh);
    cached.name = fresh.name;
}

void deviceTemplate(DeviceTemplateRecord& cached, const DeviceTemplateRecord& fresh) {
    row(cached, fresh);
    cached.name = fresh.name;
    cached.programId = fresh.programId;
    mergeList(cached.componentApps, fresh.componentApps, componentApp);
    interface(*cached.interface, *fresh.interface);
}

void device(AppDeviceRecord& cached, const AppDeviceRecord& fresh) {
    row(cached, fresh);
    cached.name = fresh.name;
    cached.templateName = fresh.templateName;
    cached.programId = fresh.programId;
    cached.commissioned = fresh.commissioned;
    cached.state = fresh.state;
    cached.testResult = fresh.testResult;
    cached.failure = fresh.failure;
    // An interface not read yet stays so, or is taken as it was read now;
    // one that was read is always read again with its row.
    if (!cached.interface)
        cached.interface = fresh.interface;
    else
        interface(*cached.interface, *fresh.interface);
}

} // namespace lns::sim::RecordMerge
