// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Where the configuration window records what it read from and wrote to the
// device and which operations failed. The log window implements it; code
// that is tested without widgets takes this interface.
class ActivityLog {
public:
    virtual ~ActivityLog() = default;
    virtual void LogCommand(const QString& command, const QString& Results) = 0;
    // `message` is "first line\r\nsecond line", as failures describe themselves.
    virtual void LogError(const QString& message) = 0;
};
