// SPDX-License-Identifier: Apache-2.0
#include "platform/PlatformNoiseFilter.h"

#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

QStringList reported;

void recordMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    reported << message;
}

TEST(PlatformNoiseFilter, DropsOnlyTheKnownHarmlessMessages) {
    const QtMessageHandler original = qInstallMessageHandler(recordMessage);
    PlatformNoiseFilter::install();
    qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'");
    qWarning("This plugin does not support propagateSizeHints()");
    qWarning("QStandardPaths: wrong permissions on runtime directory /tmp/x, 0755 instead of 0700");
    qWarning("This plugin does not support propagateSizeHints() for that window");
    qCritical("This plugin does not support propagateSizeHints()");
    qInfo("XDG_RUNTIME_DIR not set");
    qInstallMessageHandler(original);
    EXPECT_EQ(reported,
              (QStringList{
                  "QStandardPaths: wrong permissions on runtime directory /tmp/x, 0755 instead of "
                  "0700",
                  "This plugin does not support propagateSizeHints() for that window",
                  "This plugin does not support propagateSizeHints()", "XDG_RUNTIME_DIR not set"}));
}

} // namespace
