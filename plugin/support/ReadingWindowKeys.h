// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <functional>

class QWidget;

// The keys that close a window the user only reads (the help, the activity
// log): Escape, the platform's Close key and Ctrl+W, while it is active.
void closeOnReadingKeys(QWidget* window, const std::function<void()>& close);
