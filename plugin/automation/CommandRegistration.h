// SPDX-License-Identifier: Apache-2.0
#pragma once

// Registration of the plug-in's commands in the open network (commands 50
// and 51 of the host).
class CommandRegistration {
public:
    virtual ~CommandRegistration() = default;
    // False when the commands could not be registered.
    virtual bool RegisterCommands() = 0;
    // False when nothing could be removed, for example without an open network.
    virtual bool RemoveCommands(bool exhaustive, bool firstNetwork) = 0;
};
