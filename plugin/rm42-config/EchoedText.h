// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// A text from outside (a name, a value) as a message quotes it: control
// characters escaped, and a long text cut with its length given, so that a
// message stays one readable line whatever the input held.
QString echoed(const QString& text);
