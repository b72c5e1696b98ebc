// SPDX-License-Identifier: Apache-2.0
// The host hands thermostats to the plug-in, which opens them in its window:
// over the real programs, with the window's snapshots taken headless.
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString ProgId = QStringLiteral("RM42xxPirConfigure.LNSPlugInAPI");

class ConfigureProcess : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("RM42_UNATTENDED", "1");
        qputenv("RM42_SNAPSHOT_DIR", snapshots().toUtf8());
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
        ASSERT_EQ(runProgram(QStringLiteral("RM42xxPirConfigure"), {QStringLiteral("/regplugin")})
                      .exitCode,
                  0);
        for (int attempt = 0; attempt < 100 && !classRegistered(); ++attempt)
            QThread::msleep(50);
    }
    void TearDown() override {
        qunsetenv("RM42_UNATTENDED");
        qunsetenv("RM42_SNAPSHOT_DIR");
    }

    bool classRegistered() {
        return runProgram(QStringLiteral("lns-reg"),
                          {QStringLiteral("query"), QStringLiteral("HKCR\\") + ProgId})
                   .exitCode == 0;
    }
    QString snapshots() const { return root.path() + QStringLiteral("/snapshots"); }

    ProcessResult host(const QStringList& calls) {
        QString script = QStringLiteral("create\nset networkName \"Demo Building\"\n");
        for (const QString& call : calls)
            script += call + u'\n';
        script += QStringLiteral("release\n");
        return runProgram(QStringLiteral("lns-host"),
                          {QStringLiteral("run"), ProgId, QStringLiteral("-")}, script.toUtf8());
    }

    // Control name to its fields (shown text, caption, unit), from the
    // snapshot of one device.
    QMap<QString, QStringList> shownFields(const QString& device) {
        QFile file(snapshots() + u'/' + device + QStringLiteral("-values.txt"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        QMap<QString, QStringList> fields;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
            fields.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1).split(u'\t'));
        return fields;
    }

    // Control name to shown text.
    QMap<QString, QString> shown(const QString& device) {
        QMap<QString, QString> texts;
        const QMap<QString, QStringList> fields = shownFields(device);
        for (auto field = fields.begin(); field != fields.end(); ++field)
            texts.insert(field.key(), field.value().value(0));
        return texts;
    }

    // Property name to value, as the host's browser prints a device.
    QMap<QString, QString> browsed(const QString& device) {
        const ProcessResult result = runProgram(
            QStringLiteral("lns-host"), {QStringLiteral("browse"), QStringLiteral("Demo Building"),
                                         device, QStringLiteral("--units"), QStringLiteral("US")});
        QMap<QString, QString> values;
        static const QRegularExpression line(QStringLiteral("CP \"([^\"]+)\".*#US: (.*)$"));
        for (const QString& text : result.out.split(u'\n')) {
            const QRegularExpressionMatch match = line.match(text);
            if (match.hasMatch())
                values.insert(match.captured(1), match.captured(2));
        }
        return values;
    }

    TempPlatformRoot root;
};

TEST_F(ConfigureProcess, TheWindowShowsWhatTheHostsBrowserShows) {
    const ProcessResult result =
        host({QStringLiteral("call SendCommand 50 0 \"\""),
              QStringLiteral("call SendCommand 13 7 \"Demo Building/System 1/Floor 1/RTU-1\""),
              QStringLiteral("call SendCommand 13 28 \"Demo Building/System 1/Floor 1/HP-1/Obj:Thermostat\"")});
    ASSERT_FALSE(result.crashed) << qPrintable(result.err);
    EXPECT_FALSE(result.out.contains(QStringLiteral("error"))) << qPrintable(result.out);
    for (const QString& device : {QStringLiteral("RTU-1"), QStringLiteral("HP-1")}) {
        SCOPED_TRACE(qPrintable(device));
        for (int tab = 0; tab < 8; ++tab)
            EXPECT_FALSE(QDir(snapshots())
                             .entryList({QStringLiteral("%1-tab%2-*.png").arg(device).arg(tab)})
                             .isEmpty());
        const QMap<QString, QString> window = shown(device);
        const QMap<QString, QString> device_ = browsed(QStringLiteral("Floor 1/") + device);
        EXPECT_EQ(window[QStringLiteral("StatusPanel_1")], QStringLiteral("Cnfg Online"));
        EXPECT_EQ(window[QStringLiteral("txtNvi_51")], device_[QStringLiteral("nciLocation")]);
        EXPECT_EQ(window[QStringLiteral("lbHvacType")], device_[QStringLiteral("nciHvacType")]);
        const QStringList config2 = device_[QStringLiteral("nciCfg2RtuHp")].split(u' ');
        EXPECT_EQ(window[QStringLiteral("cbNvi_3")], config2.value(0));
        EXPECT_EQ(window[QStringLiteral("cbNvi_16")], config2.value(3));
        const QStringList monday =
            device_[QStringLiteral("nciDaySched")].section(QStringLiteral("; "), 0, 0).split(u' ');
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(window[QStringLiteral("txtNvi_%1").arg(11 + i)], monday.value(i));
        // Setpoints show on the half degree.
        const QStringList setpoints = device_[QStringLiteral("nciSetPts")].split(u',');
        EXPECT_DOUBLE_EQ(window[QStringLiteral("txtNvi_2")].toDouble(),
                         std::round(setpoints.value(0).toDouble() * 2) / 2);
        EXPECT_DOUBLE_EQ(window[QStringLiteral("txtNvi_0")].toDouble(),
                         std::round(setpoints.value(3).toDouble() * 2) / 2);
        // Each value is named as the user reads it, with its unit.
        const QStringList occupiedHeating = shownFields(device)[QStringLiteral("txtNvi_0")];
        EXPECT_TRUE(occupiedHeating.value(1).contains(QStringLiteral("occupied"), Qt::CaseInsensitive))
            << qPrintable(occupiedHeating.join(u'|'));
        EXPECT_TRUE(occupiedHeating.value(1).contains(QStringLiteral("heating"), Qt::CaseInsensitive));
        EXPECT_EQ(occupiedHeating.value(2), QStringLiteral("ºF"));
    }
}

TEST_F(ConfigureProcess, ADeviceThatDoesNotOpenShowsNothingOfTheOneBeforeAndTheNextOpens) {
    // Unattended, the failed read of the unreachable RTU-3 is answered Abort.
    const ProcessResult result =
        host({QStringLiteral("call SendCommand 50 0 \"\""),
              QStringLiteral("call SendCommand 13 7 \"Demo Building/System 1/Floor 1/RTU-1\""),
              QStringLiteral("call SendCommand 13 7 \"Demo Building/System 1/Floor 3/RTU-3\""),
              QStringLiteral("call SendCommand 13 7 \"Demo Building/System 1/Floor 1/HP-1\"")});
    ASSERT_FALSE(result.crashed) << qPrintable(result.err);
    EXPECT_TRUE(result.err.contains(QStringLiteral("fMain ReadInitValues"))) << qPrintable(result.err);
    const QMap<QString, QString> failed = shown(QStringLiteral("RTU-3"));
    EXPECT_TRUE(failed[QStringLiteral("StatusPanel_2")].endsWith(QStringLiteral("Floor 3/RTU-3")));
    for (auto it = failed.begin(); it != failed.end(); ++it) {
        const bool valueControl = it.key().startsWith(QStringLiteral("txtNvi_")) ||
                                  it.key().startsWith(QStringLiteral("cbNvi_"));
        EXPECT_TRUE(!valueControl || it.value().isEmpty())
            << qPrintable(it.key() + u' ' + it.value());
    }
    const QMap<QString, QString> next = shown(QStringLiteral("HP-1"));
    EXPECT_EQ(next[QStringLiteral("StatusPanel_1")], QStringLiteral("Cnfg Online"));
    EXPECT_EQ(next[QStringLiteral("txtNvi_51")],
              browsed(QStringLiteral("Floor 1/HP-1"))[QStringLiteral("nciLocation")]);
}

} // namespace
