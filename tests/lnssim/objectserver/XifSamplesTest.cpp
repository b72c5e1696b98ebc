// SPDX-License-Identifier: Apache-2.0
// Interface files as device makers' compilers and interface interpreters write
// them (tests/lnssim/objectserver/data/xif-samples, MIT licence).
#include "TestEnvironment.h"
#include "lns/LnsCodes.h"
#include "objectserver/XifReader.h"
#include "platform/Error.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

using lns::sim::XifDocument;

const QString Samples = QStringLiteral(RM42_TEST_DATA_DIR "/xif-samples/");
const QStringList SampleNames{"bcastSwitch.xif", "gc_sw.xif",      "DAC5000.XIF",
                              "VAVsim5000.XIF",  "astroClock.xif", "6kEvbMultiSensor.XIF"};

QByteArray sampleContent(const QString& name) {
    QFile file(Samples + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

XifDocument sample(const QString& name) {
    return lns::sim::XifReader::parse(sampleContent(name), name);
}

std::vector<QByteArray> bytes(std::initializer_list<const char*> hex) {
    std::vector<QByteArray> elements;
    for (const char* element : hex)
        elements.push_back(QByteArray::fromHex(element));
    return elements;
}

// The properties of one object or variable, by name.
QHash<QString, std::vector<QByteArray>>
valuesOf(const lns::sim::SharedList<lns::sim::ConfigPropertyRecord>& properties) {
    QHash<QString, std::vector<QByteArray>> values;
    for (const auto& property : properties)
        values.insert(property->name, property->elements);
    return values;
}

} // namespace

TEST(XifSamples, EveryRealFileConvertsAndItsDescriptionCountsWhatTheFileDeclares) {
    // The LonMark objects each node self-documentation declares, an array counting whole.
    const QHash<QString, int> objects{{"bcastSwitch.xif", 1}, {"gc_sw.xif", 17},
                                      {"DAC5000.XIF", 1},     {"VAVsim5000.XIF", 0},
                                      {"astroClock.xif", 1},  {"6kEvbMultiSensor.XIF", 8}};
    QTemporaryDir dir;
    for (const QString& name : SampleNames) {
        const QByteArray content = sampleContent(name);
        const ProcessResult converted =
            runProgram(QStringLiteral("XIF32BIN"), {Samples + name, dir.filePath(name + ".XFB")});
        EXPECT_EQ(converted.exitCode, 0) << converted.err.toStdString();

        const ProcessResult described =
            runProgram(QStringLiteral("XIF32BIN"), {QStringLiteral("--describe"), Samples + name});
        ASSERT_EQ(described.exitCode, 0) << described.err.toStdString();
        const QStringList lines = described.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QString programId = QString::fromLatin1(content.split('\n').at(4).trimmed());
        EXPECT_EQ(lines.first(), QStringLiteral("program ID ") + QString(programId).remove(':'));
        EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^variable "))).size(),
                  content.count("\nVAR "))
            << name.toStdString();
        int blocks = 0;
        for (const QString& line : lines.filter(QRegularExpression(QStringLiteral("^block "))))
            blocks += line.section(QLatin1Char(' '), -1).toInt();
        EXPECT_EQ(blocks, objects.value(name)) << name.toStdString();
    }
}

TEST(XifSamples, GivesTheNvvalValuesToTheConfigurationVariablesInFileOrderWithEitherLineEnd) {
    const XifDocument broadcaster = sample(QStringLiteral("bcastSwitch.xif"));
    const auto& node = broadcaster.interface->lonMarkObjects.at(0);
    EXPECT_EQ(node->name, QStringLiteral("swBroadcaster"));
    EXPECT_EQ(node->configProperties.at(0)->typeIndex, 7);
    EXPECT_EQ(valuesOf(node->configProperties).value(QStringLiteral("nciDefault")),
              bytes({"0000"}));

    // Written with CR LF; the same read with LF.
    QByteArray content = sampleContent(QStringLiteral("astroClock.xif"));
    ASSERT_TRUE(content.contains("\r\n"));
    for (const QByteArray& lineEnd : {QByteArray("\r\n"), QByteArray("\n")}) {
        content.replace("\r\n", lineEnd);
        const XifDocument clock = lns::sim::XifReader::parse(content, QStringLiteral("clock"));
        const auto& variables = clock.interface->networkVariables;
        EXPECT_EQ(valuesOf(variables.at(2)->configProperties).value(QStringLiteral("cpDuskDawnHb")),
                  bytes({"0BB8"}));
        const auto clockValues = valuesOf(clock.interface->lonMarkObjects.at(0)->configProperties);
        EXPECT_EQ(clockValues.value(QStringLiteral("cpDawnAdjust")), bytes({"00"}));
        EXPECT_EQ(clockValues.value(QStringLiteral("cpPowerline")), bytes({"01"}));
        EXPECT_EQ(clockValues.value(QStringLiteral("cpTimeHb")), bytes({"0BB8"}));
    }
}

TEST(XifSamples, ReadsAFunctionalBlockArrayWrittenWithoutItsClosingBracket) {
    const XifDocument document = sample(QStringLiteral("gc_sw.xif"));
    const auto& objects = document.interface->lonMarkObjects;
    ASSERT_EQ(objects.size(), 17u);
    EXPECT_EQ(objects[16]->name, QStringLiteral("gc[15]"));
    EXPECT_EQ(objects[16]->typeIndex, 20011);
    ASSERT_EQ(document.blocks.size(), 2);
    EXPECT_EQ(document.blocks[1].count, 16);
    EXPECT_EQ(document.variables.last().name, QStringLiteral("oDimVal_16"));
    EXPECT_EQ(document.variables.last().block, 16);
}

TEST(XifSamples, ReadsAFileWithAStarForEveryDocumentationString) {
    const XifDocument document = sample(QStringLiteral("VAVsim5000.XIF"));
    EXPECT_TRUE(document.interface->lonMarkObjects.empty());
    ASSERT_EQ(document.variables.size(), 2);
    EXPECT_EQ(document.variables[1].name, QStringLiteral("nvoVAVstatus"));
    EXPECT_TRUE(document.variables[1].output);
    EXPECT_EQ(document.variables[1].typeIndex, 112);
    EXPECT_EQ(document.variables[1].block, -1);
}

TEST(XifSamples, ReadsMembershipsPropertyReferencesAndTypesOfSeveralFields) {
    const XifDocument document = sample(QStringLiteral("DAC5000.XIF"));
    const auto values = valuesOf(document.interface->lonMarkObjects.at(0)->configProperties);
    EXPECT_EQ(values.value(QStringLiteral("nciSndHrtBt")), bytes({"0BB8"}));
    EXPECT_EQ(values.value(QStringLiteral("nciDAClSP")), bytes({"0514"}));
    EXPECT_EQ(values.value(QStringLiteral("nciDAHtSP")), bytes({"0ADC"}));
    // "@0|1", and a type line of three fields before the next record.
    const auto& schedule = document.variables.at(3);
    EXPECT_EQ(schedule.name, QStringLiteral("nviOccSchedule"));
    EXPECT_EQ(schedule.block, 0);
    EXPECT_EQ(schedule.typeIndex, 128);
    EXPECT_EQ(document.variables.at(7).typeIndex, 112);
    EXPECT_TRUE(document.variables.at(7).output);
}

TEST(XifSamples, ReadsTheTemplateWithItsValueAndReadOnlyFiles) {
    const XifDocument document = sample(QStringLiteral("6kEvbMultiSensor.XIF"));
    const auto& objects = document.interface->lonMarkObjects;
    ASSERT_EQ(objects.size(), 8u);
    EXPECT_EQ(objects[6]->name, QStringLiteral("TempSensor")) << "a name over two string lines";
    EXPECT_EQ(document.variables.at(21).block, 7) << "\"@7|1?\"";

    const auto node = valuesOf(objects[0]->configProperties);
    EXPECT_EQ(node.value(QStringLiteral("SCPT165")), bytes({"04"}));
    EXPECT_EQ(node.value(QStringLiteral("SCPT166")), bytes({"01"}));
    const auto sensor = valuesOf(objects[6]->configProperties);
    EXPECT_EQ(sensor.value(QStringLiteral("SCPT49")), bytes({"0258"}));
    EXPECT_EQ(sensor.value(QStringLiteral("SCPT52")), bytes({"000A"}));
    EXPECT_EQ(sensor.value(QStringLiteral("nciHighTempAlarm")), bytes({"0DAC"}));
    const auto& variables = document.interface->networkVariables;
    EXPECT_EQ(valuesOf(variables.at(19)->configProperties).value(QStringLiteral("SCPT64")),
              bytes({"0032"}));
    // A value over three lines.
    EXPECT_EQ(valuesOf(variables.at(21)->configProperties).value(QStringLiteral("nciNvType")),
              bytes({"000000000000000000006800020002FFFE0000"}));
}

TEST(XifSamples, RefusesCutShortBinaryAndShuffledCopiesNamingTheirLine) {
    const QRegularExpression refusal(QStringLiteral("^copy: line (\\d+): "));
    // Refused, and the line named is one of the copy's.
    const auto expectRefused = [&](const QByteArray& copy, const std::string& what) {
        try {
            lns::sim::XifReader::parse(copy, QStringLiteral("copy"));
            ADD_FAILURE() << what << " was accepted";
        } catch (const Error& error) {
            const QRegularExpressionMatch match = refusal.match(error.description());
            EXPECT_TRUE(match.hasMatch() && match.captured(1).toInt() <= copy.count('\n') + 1)
                << what << ": " << error.description().toStdString();
        }
    };
    std::mt19937 random(20);
    for (const QString& name : SampleNames) {
        const QByteArray content = sampleContent(name);
        const std::string label = name.toStdString();
        // Cut at every line end, in the middle of every line and every 11 bytes.
        QList<qsizetype> cuts;
        qsizetype start = 0;
        for (qsizetype end = content.indexOf('\n'); end >= 0; end = content.indexOf('\n', start)) {
            cuts << (start + end) / 2 << end + 1;
            start = end + 1;
        }
        for (qsizetype cut = 1; cut < content.size(); cut += 11)
            cuts << cut;
        for (const qsizetype cut : std::as_const(cuts)) {
            const QByteArray copy = content.left(cut);
            if (copy.trimmed() != content.trimmed())
                expectRefused(copy, label + " cut at " + std::to_string(cut));
        }
        QByteArray binary = content;
        binary[binary.size() / 2] = '\0';
        expectRefused(binary, label + " with a NUL");
        QList<QByteArray> lines = content.split('\n');
        std::shuffle(lines.begin(), lines.end(), random);
        expectRefused(lines.join('\n'), label + " shuffled");
    }
}

TEST(XifSamples, EachImportsIntoTheNewSiteTemplateLibraryAndBrowsesWithItsVariables) {
    TempPlatformRoot root;
    ASSERT_EQ(runProgram(QStringLiteral("lns-host"), {QStringLiteral("setup")}).exitCode, 0);
    const QString site = QStringLiteral("New Site");
    for (const QString& name : SampleNames) {
        const ProcessResult imported = runProgram(QStringLiteral("lns-host"),
                                                  {QStringLiteral("import"), site, Samples + name});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        const QString templateName = name.section(QLatin1Char('.'), 0, 0);
        const ProcessResult browsed =
            runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), site,
                                                    QStringLiteral("--template"), templateName});
        ASSERT_EQ(browsed.exitCode, 0) << browsed.err.toStdString();
        EXPECT_EQ(browsed.out.count(QStringLiteral("\n  NV ")), sampleContent(name).count("\nVAR "))
            << name.toStdString();
    }
    const ProcessResult sensor = runProgram(
        QStringLiteral("lns-host"), {QStringLiteral("browse"), site, QStringLiteral("--template"),
                                     QStringLiteral("6kEvbMultiSensor")});
    EXPECT_TRUE(sensor.out.contains(QStringLiteral("LonMark object 6 \"TempSensor\"  type 1040")))
        << sensor.out.toStdString();
    EXPECT_TRUE(sensor.out.contains(QStringLiteral("CP \"SCPT165\"  scope 0  type 165  flags 4")))
        << sensor.out.toStdString();

    // A file cut short is refused by its line and leaves the library as it was.
    QTemporaryDir dir;
    const QString cut = dir.filePath(QStringLiteral("cut.xif"));
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(sampleContent(QStringLiteral("DAC5000.XIF")).chopped(3));
    file.close();
    const ProcessResult refused =
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("import"), site, cut});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(cut + QStringLiteral(": line 66:")))
        << refused.err.toStdString();
    const ProcessResult library =
        runProgram(QStringLiteral("lns-host"), {QStringLiteral("browse"), site});
    EXPECT_TRUE(library.out.contains(QStringLiteral("  gc_sw  program ID 90000106000485A8")))
        << library.out.toStdString();
    EXPECT_FALSE(library.out.contains(QStringLiteral("  cut  "))) << library.out.toStdString();
}
