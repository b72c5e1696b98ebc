// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QRect>
#include <QString>
#include <optional>

// Where a window opens: the size and position its user left it at, kept per
// user in their configuration folder ($XDG_CONFIG_HOME), as long as that
// still lies on the screen.
namespace WindowPlacement {

// The saved place when it lies wholly inside `area` (the screen may have
// shrunk or gone since); otherwise `wanted`, bounded by the area, in its middle.
QRect opening(const std::optional<QRect>& saved, const QSize& wanted, const QRect& area);

// The place saved for the window of this name, if any.
std::optional<QRect> load(const QString& windowName);
void save(const QString& windowName, const QRect& geometry);

} // namespace WindowPlacement
