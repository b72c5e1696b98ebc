// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <functional>
#include <memory>

// The progress window while one long operation runs: it is loaded and shown
// when created and unloaded when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Sets the status text and lets pending window events run so it is painted.
    virtual void DisplayStatus(const QString& text) = 0;
};

using ProgressWindowFactory = std::function<std::unique_ptr<ProgressWindow>()>;
