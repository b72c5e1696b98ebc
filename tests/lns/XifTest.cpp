#include "TestEnvironment.h"
#include "lns/LnsCodes.h"
#include "lns/sim/XifReader.h"
#include "platform/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QByteArray Header = "XIF-TEXT 1\nThermostat\n\n80:03:DB:55:00:04:04:21\n";

QString refusalOf(const QByteArray& content) {
    try {
        lns::sim::XifReader::parse(content, QStringLiteral("test.xif"));
    } catch (const Error& error) {
        EXPECT_EQ(error.lnsCode(), lns::Code::ImportFailed);
        return error.description();
    }
    return QStringLiteral("accepted");
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

TEST(XifReader, ReadsTheInterfaceAndFindsTheProgramIdOnLineFiveAfterABlankLine) {
    const QByteArray content =
        "XIF-TEXT 1\r\nThermostat\r\nnotes\r\n   \r\n80-03-db-55-00-04-04-21\r\n"
        "NV 0 \"nviSpaceTemp\"\n"
        "OBJECT 0 8500 0 \"Thermostat\"\n"
        "# comment\n"
        "CP OBJECT:0 4 4 0 UCPTdaySched 2 0001000200030004 \"Day schedule\"\n"
        "CP NV:0 0 60 36 SNVT_temp_setpt 1 08AE \"nciSetPts\"\n"
        "CP DEVICE 0 17 0 SNVT_str_asc 1 41 \"nciLocation\"\n";
    const auto document = lns::sim::XifReader::parse(content, QStringLiteral("test.xif"));
    EXPECT_EQ(document.programId, QStringLiteral("8003DB5500040421"));
    ASSERT_EQ(document.interface->lonMarkObjects.size(), 1u);
    const auto& schedule = document.interface->lonMarkObjects[0]->configProperties.at(0);
    EXPECT_EQ(schedule->name, QStringLiteral("Day schedule"));
    ASSERT_EQ(schedule->elements.size(), 2u);
    EXPECT_EQ(schedule->elements[1], QByteArray::fromHex("00030004"));
    EXPECT_EQ(document.interface->networkVariables[0]->configProperties.at(0)->flags, 36);
    EXPECT_EQ(document.interface->configProperties.size(), 1u);
}

TEST(XifReader, TakesTheProgramIdGroupsWhateverCharacterSeparatesThem) {
    for (const QByteArray& separator :
         {QByteArray("."), QByteArray("\xc2\xb7"), QByteArray("\xf0\x9f\x98\x80")}) {
        const QByteArray groups =
            QByteArrayList{"80", "03", "DB", "55", "00", "04", "04", "21"}.join(separator);
        const auto document = lns::sim::XifReader::parse("XIF-TEXT 1\na\nb\n" + groups + "\n",
                                                         QStringLiteral("test.xif"));
        EXPECT_EQ(document.programId, QStringLiteral("8003DB5500040421"))
            << separator.toHex().constData();
    }
}

TEST(XifReader, RefusesBadInputWithItsLine) {
    EXPECT_TRUE(refusalOf("").contains(QStringLiteral("empty")));
    EXPECT_TRUE(refusalOf(QByteArray("XIF-TEXT 1\n\0\x01\x02\n", 15))
                    .contains(QStringLiteral("not a text")));
    EXPECT_TRUE(refusalOf("\xff\xfe\x00garbage").contains(QStringLiteral("not a text")));
    EXPECT_TRUE(refusalOf("XIF-TEXT 1\nshort\n").contains(QStringLiteral("before the program ID")));
    EXPECT_TRUE(refusalOf("something else\na\nb\nc\n").contains(QStringLiteral("line 1")));
    EXPECT_TRUE(
        refusalOf("XIF-TEXT 1\na\nb\n80:03:DB:55:00:04\n").contains(QStringLiteral("line 4")));
    EXPECT_TRUE(refusalOf(Header + "OBJECT 0 8500\n").contains(QStringLiteral("line 5")));
    EXPECT_TRUE(refusalOf(Header + "CP OBJECT:3 0 60 0 INT 1 0001 \"x\"\n")
                    .contains(QStringLiteral("owner")));
    EXPECT_TRUE(refusalOf(Header + "CP DEVICE 0 60 0 INT 2 000102 \"x\"\n")
                    .contains(QStringLiteral("equal")));
    EXPECT_TRUE(refusalOf(Header + "CP DEVICE 0 60 0 INT 1 0G \"x\"\n")
                    .contains(QStringLiteral("hexadecimal")));
    EXPECT_TRUE(refusalOf(Header + "NV 0 \"open\n").contains(QStringLiteral("not closed")));
    EXPECT_TRUE(
        refusalOf(Header + "NV 70000 \"big\"\n").contains(QStringLiteral("from 0 to 65535")));
    EXPECT_TRUE(refusalOf(Header + "WIDGET 1\n").contains(QStringLiteral("unknown record")));
}

TEST(Xif32Bin, ConvertsTheKitFileAndWritesNothingForBadInput) {
    QTemporaryDir dir;
    const QString xif = dir.filePath(QStringLiteral("RM42xx.XIF"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RM42_KIT_DIR "/Import/Zentaro/RM42xx.XIF"), xif));
    const QString xfb = dir.filePath(QStringLiteral("RM42xx.XFB"));
    const ProcessResult good = runProgram(QStringLiteral("XIF32BIN"), {xif, xfb});
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
    QFile output(xfb);
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    const QByteArray binary = output.readAll();
    EXPECT_TRUE(binary.startsWith("XFB1"));
    EXPECT_TRUE(binary.contains(QByteArray::fromHex("08AE098C")));

    const QString bad = dir.filePath(QStringLiteral("bad.xif"));
    writeFile(bad, Header + "OBJECT x\n");
    const QString badOut = dir.filePath(QStringLiteral("bad.xfb"));
    const ProcessResult refused = runProgram(QStringLiteral("XIF32BIN"), {bad, badOut});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("line 5"))) << refused.err.toStdString();
    const ProcessResult missing =
        runProgram(QStringLiteral("XIF32BIN"), {dir.filePath(QStringLiteral("none.xif")), badOut});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(QFile::exists(badOut));
    EXPECT_EQ(runProgram(QStringLiteral("XIF32BIN"), {xif}).exitCode, 2);
}
