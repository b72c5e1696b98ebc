// SPDX-License-Identifier: Apache-2.0
#include "platform/PlatformNoiseFilter.h"

#include <QString>
#include <QtGlobal>

namespace PlatformNoiseFilter {

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt falls back to a private runtime folder by itself; and a window platform
// without a window manager has nobody to hint sizes to.
bool isKnownHarmless(QtMsgType type, const QString& message) {
    if (type != QtWarningMsg)
        return false;
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")) ||
           message == QLatin1String("This plugin does not support propagateSizeHints()");
}

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!isKnownHarmless(type, message))
        previousHandler(type, context, message);
}

} // namespace

void install() {
    // Qt answers its own default handler when none was installed.
    const QtMessageHandler previous = qInstallMessageHandler(filter);
    if (previous != filter)
        previousHandler = previous;
}

} // namespace PlatformNoiseFilter
