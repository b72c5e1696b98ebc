// SPDX-License-Identifier: Apache-2.0
#pragma once

// rm42-config end to end: the program against the kit's networks in a fresh
// platform root, with the Object Server's journal telling what reached a device.
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

inline const QString Demo = QStringLiteral("Demo Building");
inline const QStringList DemoDevices = {"Floor 1/RTU-1", "Floor 1/HP-1",  "Floor 2/RTU-11",
                                        "Floor 2/HP-12", "Floor 3/RTU-2", "Floor 3/RTU-4"};
inline const QString UnitsKey =
    QStringLiteral("HKLM\\SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Zentaro PIR ready RM42xx Configure");

class ConfigTool : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("LNS_SIM_JOURNAL", journalFile().toUtf8());
        ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    }
    void TearDown() override { qunsetenv("LNS_SIM_JOURNAL"); }

    QString journalFile() const { return root.path() + QStringLiteral("/journal.txt"); }
    QString file(const QString& name) const { return root.path() + u'/' + name; }

    ProcessResult tool(const QStringList& arguments) {
        ProcessResult result = runProgram(QStringLiteral("rm42-config"), arguments);
        EXPECT_FALSE(result.crashed) << result.err.toStdString();
        return result;
    }

    // The device writes since the journal was last cleared.
    QStringList writes() const {
        QFile journal(journalFile());
        if (!journal.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(journal.readAll())
            .split(u'\n')
            .filter(QRegularExpression(QStringLiteral("(set|update)FormattedElement ")));
    }
    void clearJournal() { QFile::remove(journalFile()); }

    // What the host's browser shows of every demo device.
    QString browseAll() {
        QString all;
        for (const QString& device : DemoDevices)
            all += runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), Demo, device})
                       .out;
        return all;
    }

    QString save(const QString& device) {
        const QString path = file(device.section(u'/', -1) + QStringLiteral(".json"));
        const ProcessResult saved = tool({QStringLiteral("save"), Demo, device, "-o", path});
        EXPECT_EQ(saved.exitCode, 0) << saved.err.toStdString();
        return path;
    }

    QJsonObject json(const QString& path) {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
        return QJsonDocument::fromJson(in.readAll()).object();
    }
    void writeJson(const QString& path, const QJsonObject& object) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(QJsonDocument(object).toJson());
    }
    // The fields of a saved file, whatever tab they are listed under.
    static QJsonObject fieldsOf(const QJsonObject& saved) {
        QJsonObject fields;
        const QJsonObject listed = saved.value("fields").toObject();
        for (auto it = listed.begin(); it != listed.end(); ++it) {
            const QJsonObject tab = it.value().toObject();
            for (auto field = tab.begin(); field != tab.end(); ++field)
                fields.insert(field.key(), field.value());
        }
        return fields;
    }
    // The saved file at `path` with some field values replaced, each in its tab.
    QString edited(const QString& path, const QMap<QString, QString>& values,
                   const QString& name = QStringLiteral("edited.json")) {
        QJsonObject object = json(path);
        QJsonObject tabs = object.value("fields").toObject();
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            QString tabOf = QStringLiteral("Heating - Cooling");
            for (auto tab = tabs.begin(); tab != tabs.end(); ++tab) {
                if (tab.value().toObject().contains(it.key()))
                    tabOf = tab.key();
            }
            QJsonObject fields = tabs.value(tabOf).toObject();
            fields.insert(it.key(), it.value());
            tabs.insert(tabOf, fields);
        }
        object.insert("fields", tabs);
        writeJson(file(name), object);
        return file(name);
    }

    QJsonObject shown(const QString& device, const QStringList& more = {}) {
        const ProcessResult result =
            tool(QStringList{QStringLiteral("show"), Demo, device, "--json"} + more);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(result.out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << result.out.toStdString();
        return document.object();
    }
    QString shownValue(const QString& device, const QString& field) {
        for (const QJsonValue& tab : shown(device).value("tabs").toArray()) {
            for (const QJsonValue& entry : tab.toObject().value("fields").toArray()) {
                if (entry.toObject().value("name").toString() == field)
                    return entry.toObject().value("value").toString();
            }
        }
        return QString();
    }

    TempPlatformRoot root;
};
