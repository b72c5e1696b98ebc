// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/DatabaseRecords.h"

// Brings a cached record up to a fresh copy that was read again from the
// database after another process changed it. Callers' objects hold cached
// records, so every item that is still there (found by name, in order) keeps
// its record and takes the fresh content; what the process keeps for itself
// (format specifiers, open state, the chosen interface, component
// applications not saved yet) stays. An item that is gone is dropped from
// its list.
namespace lns::sim::RecordMerge {

// The settings and component applications; templates and subsystems are rows of their own.
void system(SystemRecord& cached, const SystemRecord& fresh);
void subsystem(SubsystemRecord& cached, const SubsystemRecord& fresh);
void deviceTemplate(DeviceTemplateRecord& cached, const DeviceTemplateRecord& fresh);
void device(AppDeviceRecord& cached, const AppDeviceRecord& fresh);

} // namespace lns::sim::RecordMerge
