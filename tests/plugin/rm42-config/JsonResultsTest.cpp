// SPDX-License-Identifier: Apache-2.0
// rm42-config --json end to end: each run's document parses and tells the
// same outcome of each device as its text, with the same exit status.
#include "ConfigToolFixture.h"

namespace {

// "PATH: outcome" of each device line of a run's text.
QMap<QString, QString> textOutcomes(const QString& text) {
    static const QRegularExpression line(
        "^(.+/[^:]+): (would change|changed|unchanged|skipped|failed|saved|read)",
        QRegularExpression::MultilineOption);
    QMap<QString, QString> outcomes;
    for (auto match = line.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const QString outcome = found.captured(2);
        outcomes.insert(found.captured(1), outcome == "would change" ? "changed" : outcome);
    }
    return outcomes;
}

QMap<QString, QString> jsonOutcomes(const QJsonObject& document) {
    QMap<QString, QString> outcomes;
    for (const QJsonValue& result : document.value("results").toArray())
        outcomes.insert(result.toObject().value("path").toString(),
                        result.toObject().value("outcome").toString());
    return outcomes;
}

QJsonObject parsed(const ProcessResult& run) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    return document.object();
}

QJsonObject resultOf(const QJsonObject& document, const QString& path) {
    for (const QJsonValue& result : document.value("results").toArray()) {
        if (result.toObject().value("path").toString() == path)
            return result.toObject();
    }
    return {};
}

} // namespace

TEST_F(ConfigTool, JsonResultsTellEachDeviceAsTheTextDoes) {
    const QString changes = edited(save("RTU-1"), {{"password", "42"}, {"occ_heat_setpts", "69"}});
    // Runs that write nothing to a device, each as text, then as JSON.
    const QList<QStringList> runs = {
        {"apply", Demo, changes, "--all", "--dry-run"},
        {"save", Demo, "--all", "-o", file("site-text")},
        {"restore", Demo, file("site-text"), "--dry-run"},
        {"report", Demo, "-o", file("report.csv")},
    };
    for (const QStringList& run : runs) {
        const ProcessResult text = tool(run);
        QStringList asJson = run;
        asJson.replaceInStrings("site-text", "site-json");
        const ProcessResult json = tool(asJson + QStringList{"--json"});
        const QJsonObject document = parsed(json);
        EXPECT_EQ(document.value("command").toString(), run.first());
        EXPECT_EQ(json.exitCode, text.exitCode) << run.join(' ').toStdString();
        EXPECT_FALSE(textOutcomes(text.out).isEmpty()) << text.out.toStdString();
        EXPECT_EQ(jsonOutcomes(document), textOutcomes(text.out)) << run.join(' ').toStdString();
        EXPECT_EQ(document.value("summary").toObject().value("total").toInt(),
                  textOutcomes(text.out).size());
    }
    // A failure carries the error's number; changes carry both values.
    const QString backups = file("backups");
    const ProcessResult applied =
        tool({"apply", Demo, changes, "RTU-2", "RTU-4", "--json", "--backup", backups});
    const QJsonObject document = parsed(applied);
    const QJsonObject rtu2 = resultOf(document, "Floor 3/RTU-2");
    EXPECT_EQ(rtu2.value("outcome").toString(), "changed");
    EXPECT_EQ(rtu2.value("changes").toArray().size(), 2);
    const QJsonObject password = rtu2.value("changes").toArray()[1].toObject();
    EXPECT_EQ(password.value("field").toString(), "password");
    EXPECT_EQ(password.value("new").toString(), "42");
    EXPECT_FALSE(password.value("old").toString().isEmpty());
    const QJsonObject rtu4 = resultOf(document, "Floor 3/RTU-4");
    EXPECT_EQ(rtu4.value("outcome").toString(), "failed");
    EXPECT_TRUE(
        rtu4.value("error").toObject().value("text").toString().contains("Failed to write data"));
    EXPECT_NE(rtu4.value("error").toObject().value("number").toInt(), 0);
    EXPECT_TRUE(document.value("backupFolder").toString().startsWith(backups));

    // The run's backup restored, and the check of a file, good and bad.
    const ProcessResult restored =
        tool({"restore", Demo, document.value("backupFolder").toString(), "--json"});
    EXPECT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(
        jsonOutcomes(parsed(restored)),
        (QMap<QString, QString>{{"Floor 3/RTU-2", "changed"}, {"Floor 3/RTU-4", "unchanged"}}));
    const ProcessResult valid = tool({"check", changes, "--json"});
    EXPECT_EQ(valid.exitCode, 0);
    EXPECT_EQ(resultOf(parsed(valid), changes).value("outcome").toString(), "valid");
    const QString broken = edited(changes, {{"max_heat", "95"}}, "broken.json");
    const ProcessResult refused = tool({"check", broken, "--json"});
    EXPECT_EQ(refused.exitCode, 2);
    const QJsonObject problem =
        resultOf(parsed(refused), broken).value("problems").toArray().first().toObject();
    EXPECT_EQ(problem.value("fields").toArray().first().toString(), "max_heat");
    // Saving one device as JSON needs a file for the configuration itself.
    EXPECT_EQ(tool({"save", Demo, "RTU-1", "--json"}).exitCode, 2);
}
