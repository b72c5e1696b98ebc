// SPDX-License-Identifier: Apache-2.0
#include "automation/PlugInState.h"

#include "platform/StringTable.h"

namespace {

constexpr qint32 ConfigureCommand = 13;
constexpr qint32 LonMarkObjectClass = 28;
constexpr qint32 AppDeviceClass = 7;

SupportedCommand configureCommand(qint32 objectClassId, int nameId, int descriptionId) {
    SupportedCommand command;
    command.CommandId = ConfigureCommand;
    command.ObjectClassId = objectClassId;
    command.Name = StringTable::text(nameId);
    command.Description = StringTable::text(descriptionId);
    command.ProgramId = StringTable::text(130);
    command.DeviceTemplateName = StringTable::text(131);
    return command;
}

} // namespace

PlugInState& ThePlugInState() {
    static PlugInState state;
    return state;
}

void FillSupportedCommands(PlugInState& state) {
    state.SupportedCommands = {configureCommand(LonMarkObjectClass, 110, 111),
                               configureCommand(AppDeviceClass, 120, 121)};
}
