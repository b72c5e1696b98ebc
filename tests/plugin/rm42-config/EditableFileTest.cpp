// SPDX-License-Identifier: Apache-2.0
// rm42-config end to end: files a person writes or edits, and the program
// explaining itself.
#include "ConfigToolFixture.h"

namespace {

QString header(const QString& version = QStringLiteral("2")) {
    return QStringLiteral("{\n  \"format\": \"rm42-config\",\n  \"formatVersion\": %1,\n"
                          "  \"programId\": \"8003DB5500040421\",\n  \"model\": 1,\n"
                          "  \"hvacType\": \"HVT_ROOFTOP\",\n  \"units\": \"US\",\n")
        .arg(version);
}

class EditableFile : public ConfigTool {
protected:
    QString written(const QString& name, const QString& text) {
        QFile out(file(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        return file(name);
    }
};

TEST_F(EditableFile, SavedFileListsTheHeaderFirstThenTheFieldsByTabWithTimesOfDay) {
    QFile saved(save("RTU-1"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(saved.readAll());
    const QStringList order = {
        "\"format\"",          "\"formatVersion\": 2", "\"source\"",
        "\"model\"",           "\"hvacType\"",         "\"units\"",
        "\"saved\"",           "\"fields\"",           "\"Heating - Cooling\"",
        "\"occ_cool_setpts\"", "\"Scheduler\"",        "\"occ_1_monday\": \"07:00\"",
        "\"readOnly\""};
    qsizetype at = 0;
    for (const QString& part : order) {
        const qsizetype next = text.indexOf(part, at);
        EXPECT_GT(next, at - 1) << part.toStdString() << '\n' << text.toStdString();
        at = std::max(at, next);
    }
}

TEST_F(EditableFile, HandWrittenTimesAreTakenAndMistakesAreNamedWhereTheyAre) {
    const QString good = written(
        "good.json", header() + "  \"fields\": {\"Scheduler\": {\"occ_1_monday\": \"07:30\"},\n"
                                "             \"password\": 42}\n}\n");
    EXPECT_EQ(tool({"check", good}).exitCode, 0) << tool({"check", good}).err.toStdString();
    const ProcessResult dry = tool({"apply", Demo, good, "RTU-1", "--dry-run"});
    EXPECT_TRUE(dry.out.contains("  occ_1_monday: 420 -> 450\n")) << dry.out.toStdString();
    const ProcessResult set = tool({"set", Demo, "RTU-1", "occ_1_monday=07:30", "--dry-run"});
    EXPECT_TRUE(set.out.contains("  occ_1_monday: 420 -> 450\n")) << set.err.toStdString();
    // Version 1 files, in minutes and without tabs, are still read.
    const QString old =
        written("old.json", header("1") + "  \"fields\": {\"occ_1_monday\": \"450\"}\n}\n");
    EXPECT_EQ(tool({"check", old}).exitCode, 0);

    const QList<QPair<QString, QString>> mistakes = {
        {"  \"fields\": {\"Scheduler\": {\"occ_1_thursday\": \"07:30\"}}\n}\n",
         "unknown field \"occ_1_thursday\" (did you mean \"occ_1_thusrday\"?)"},
        {"  \"fields\": {\"Sheduler\": {}}\n}\n",
         "no tab \"Sheduler\" (did you mean \"Scheduler\"?)"},
        {"  \"fields\": {\"password\": 42 \"os_cal\": 1}\n}\n",
         "not a JSON document: unterminated object at line 8, column 30"},
        {"  \"fields\": {\"Heating - Cooling\": {\"dead_band\": 2}, \"dead_band\": 3}\n}\n",
         "field \"dead_band\" is given twice"},
        {"  \"source\": \"Floor 1/RTU-1\",\n  \"fields\": {}\n}\n", "\"source\" is not an object"},
        // A key twice at any depth: the JSON reader alone would keep the last one.
        {"  \"fields\": {\"password\": 1,\n  \"password\": 2}\n}\n",
         "the key \"password\" is given twice in one object, on line 9 (first on line 8)"},
        {"  \"fields\": {\"Scheduler\": {\"occ_1_monday\": 450},\n  \"Scheduler\": {}}\n}\n",
         "the key \"Scheduler\" is given twice in one object, on line 9 (first on line 8)"},
        {"  \"fields\": {\"password\": 1},\n  \"fields\": {\"password\": 2}\n}\n",
         "the key \"fields\" is given twice in one object, on line 9 (first on line 8)"},
        {"  \"fields\": {},\n  \"\\u0066ields\": {}\n}\n", "the key \"fields\" is given twice"},
        // A number is checked as written, never rounded first.
        {"  \"fields\": {\"password\": 5.000000000000001}\n}\n", "5.000000000000001"},
        {"  \"fields\": {\"dead_band\": 2.00000000000000000001}\n}\n",
         "line 8: the number 2.00000000000000000001 cannot be held exactly as written"},
    };
    for (const auto& [tail, message] : mistakes) {
        const ProcessResult checked = tool({"check", written("bad.json", header() + tail)});
        EXPECT_EQ(checked.exitCode, 2) << tail.toStdString();
        EXPECT_TRUE(checked.err.contains(message)) << checked.err.toStdString();
    }
    const QList<QPair<QString, QString>> headers = {
        {"\"model\": 1", "\"model\": \"x\""},
        {"\"hvacType\": \"HVT_ROOFTOP\"", "\"hvacType\": \"HVT_ROOFTOPP\""},
        {"\"formatVersion\": 2", "\"formatVersion\": \"1\""},
    };
    for (const auto& [from, to] : headers) {
        const QString text = QString(header()).replace(from, to) + "  \"fields\": {}\n}\n";
        const ProcessResult checked = tool({"check", written("bad.json", text)});
        EXPECT_EQ(checked.exitCode, 2) << to.toStdString();
        EXPECT_TRUE(checked.err.contains(to.section(u':', 0, 0))) << checked.err.toStdString();
    }
}

TEST_F(EditableFile, OnlyTheNamedFieldsOfAFileAreApplied) {
    const QString copy = edited(save("RTU-1"), {{"password", "42"}, {"power_delay", "50"}});
    const ProcessResult dry =
        tool({"apply", Demo, copy, "RTU-11", "--only", "power_delay", "--dry-run"});
    EXPECT_TRUE(dry.out.contains("would change 1 field")) << dry.out.toStdString();
    EXPECT_TRUE(dry.out.contains("power_delay: ")) << dry.out.toStdString();
    const ProcessResult typo = tool({"apply", Demo, copy, "RTU-11", "--only", "pasword"});
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_TRUE(typo.err.contains("(did you mean \"password\"?)")) << typo.err.toStdString();
}

TEST_F(EditableFile, EverySubcommandExplainsItselfOnStandardOutput) {
    for (const QString subcommand :
         {"show", "save", "check", "apply", "restore", "set", "diff", "report"}) {
        for (const QStringList& asked :
             {QStringList{subcommand, "--help"}, QStringList{"help", subcommand}}) {
            const ProcessResult help = tool(asked);
            EXPECT_EQ(help.exitCode, 0) << asked.join(' ').toStdString();
            EXPECT_TRUE(help.out.startsWith("usage: rm42-config " + subcommand))
                << help.out.toStdString();
            EXPECT_EQ(help.err, QString());
        }
    }
    const ProcessResult help = tool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("rm42-config restore NETWORK DIR"));
    const ProcessResult version = tool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("rm42-config ")) << version.out.toStdString();
    // What the usage offers is what is taken.
    EXPECT_FALSE(tool({"help", "save"}).out.contains("--units"));
    EXPECT_EQ(tool({"save", Demo, "RTU-1", "--units", "SI"}).exitCode, 2);
}

} // namespace
