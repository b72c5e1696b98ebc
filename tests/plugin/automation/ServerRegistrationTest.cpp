// SPDX-License-Identifier: Apache-2.0
#include "TestEnvironment.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString LocalServerKey = QStringLiteral("HKCR\\RM42xxPirConfigure.LNSPlugInAPI\\LocalServer");

TEST(ServerRegistration, RegserverRecordsTheExecutableAndUnregserverRemovesIt) {
    TempPlatformRoot root;
    const ProcessResult registered =
        runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regserver")});
    ASSERT_EQ(registered.exitCode, 0) << registered.err.toStdString();

    const ProcessResult query =
        runProgram(QStringLiteral("lns-reg"), {QStringLiteral("query"), LocalServerKey});
    ASSERT_EQ(query.exitCode, 0) << query.err.toStdString();
    const QString executable =
        QFileInfo(programPath(QStringLiteral("RM42xxPirConfigure"))).absoluteFilePath();
    EXPECT_EQ(query.out,
              QStringLiteral("HKEY_CLASSES_ROOT\\RM42xxPirConfigure.LNSPlugInAPI\\LocalServer\n"
                             "    (Default)    REG_SZ    %1\n")
                  .arg(executable));

    const ProcessResult unregistered =
        runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/unregserver")});
    ASSERT_EQ(unregistered.exitCode, 0) << unregistered.err.toStdString();
    const ProcessResult gone = runProgram(
        QStringLiteral("lns-reg"),
        {QStringLiteral("query"), QStringLiteral("HKCR\\RM42xxPirConfigure.LNSPlugInAPI")});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_TRUE(gone.err.contains(QStringLiteral("does not exist")));
}

} // namespace
