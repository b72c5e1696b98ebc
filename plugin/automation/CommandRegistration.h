// SPDX-License-Identifier: Apache-2.0
#pragma once

// Registration of the plug-in's commands in the open network (commands 50
// and 51 of the host).
class CommandRegistration {
public:
    virtual ~CommandRegistration() = default;
    // False when the commands could not be registered.
    virtual bool RegisterCommands() = 0;
    virtual void RemoveCommands(bool exhaustive, bool firstNetwork) = 0;
};
