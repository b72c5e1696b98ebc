// SPDX-License-Identifier: Apache-2.0
#pragma once

class QWidget;

// The modified mark of a value control: its text turns red while it holds an
// edit that is not applied yet, and back to the normal colour after.
namespace ModifiedMark {

void set(QWidget* control);
void clear(QWidget* control);
bool isSet(const QWidget* control);

} // namespace ModifiedMark
