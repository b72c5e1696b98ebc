// SPDX-License-Identifier: Apache-2.0
#include "FileSizeLimit.h"
#include "objectserver/FormatEngine.h"
#include "objectserver/ResourceFiles.h"
#include "objectserver/SimResourceCatalog.h"
#include "platform/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using lns::ResourceCatalog;
using lns::sim::SimResourceCatalog;

namespace {

const QString MakerScope = QStringLiteral("8003DB5500000000");
const QString DeviceProgramId = QStringLiteral("8003DB5500040421");
constexpr int MakerScopeNumber = 4;
constexpr int ThermostatObjectType = 8500;

QString kitTypesFolder() {
    return QStringLiteral(RM42_KIT_DIR "/Types");
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator entries(from, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString source = entries.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(target).path()));
        ASSERT_TRUE(QFile::copy(source, target));
    }
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A LonWorks folder laid out from the kit, addressed the way the system
// writes paths ("\" and another letter case than on disk).
class ResourceCatalogTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_root.isValid());
        copyFolder(kitTypesFolder(), nativeTypes());
    }

    QString nativeTypes() const { return m_root.path() + QStringLiteral("/LonWorks/Types"); }
    QString lonWorks() const {
        return Paths::toSystem(m_root.path()) + QStringLiteral("\\LonWorks");
    }
    QString typesFolder() const { return lonWorks() + QStringLiteral("\\Types"); }
    QString makersParent() const { return lonWorks() + QStringLiteral("\\types\\User"); }
    QString makersFolder() const { return nativeTypes() + QStringLiteral("/User/Zentaro"); }

    void registerMakersFolder() {
        SimResourceCatalog catalog;
        ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate),
                  ResourceCatalog::Success);
        ASSERT_EQ(catalog.AddFolder(makersParent()), ResourceCatalog::Success);
        ASSERT_EQ(catalog.Update(), ResourceCatalog::Success);
        ASSERT_EQ(catalog.Close(), ResourceCatalog::Success);
    }

    QTemporaryDir m_root;
};

TEST_F(ResourceCatalogTest, MakersSetIsFoundOnlyAfterItsFolderIsAddedAndTheCatalogUpdated) {
    SimResourceCatalog catalog;
    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate), ResourceCatalog::Success);
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
              ResourceCatalog::NotInCatalog);
    EXPECT_EQ(catalog.AddFolder(makersParent()), ResourceCatalog::Success);
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
              ResourceCatalog::NotInCatalog);
    EXPECT_EQ(catalog.Update(), ResourceCatalog::Success);
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
              ResourceCatalog::Success);
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, 3, 3, 0), ResourceCatalog::NotInCatalog);
    EXPECT_EQ(catalog.FindResourceSet(QStringLiteral("8003DB5600000000"), MakerScopeNumber, 3, 0),
              ResourceCatalog::NotInCatalog);
    EXPECT_EQ(catalog.Close(), ResourceCatalog::Success);
}

TEST_F(ResourceCatalogTest, RegistrationIsSeenByAnotherCatalogAndKeptRelativeToTheTypesFolder) {
    registerMakersFolder();
    SimResourceCatalog other;
    ASSERT_EQ(other.Open(typesFolder(), ResourceCatalog::ModeReadOnly), ResourceCatalog::Success);
    EXPECT_EQ(other.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0), ResourceCatalog::Success);

    const QJsonObject state =
        QJsonDocument::fromJson(readFile(nativeTypes() + QStringLiteral("/catalog.json"))).object();
    EXPECT_EQ(state.value(QLatin1String("folders")).toArray(), QJsonArray{QStringLiteral("User")});
    EXPECT_EQ(state.value(QLatin1String("resourceSets")).toArray(),
              QJsonArray{QStringLiteral("User/Zentaro")});
}

TEST_F(ResourceCatalogTest, ReadOnlyCatalogRefusesChangesAndLeavesTheStateAlone) {
    const QByteArray before = readFile(nativeTypes() + QStringLiteral("/catalog.json"));
    SimResourceCatalog catalog;
    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeReadOnly), ResourceCatalog::Success);
    EXPECT_EQ(catalog.AddFolder(makersParent()), SimResourceCatalog::ReadOnlyCatalog);
    EXPECT_EQ(catalog.Update(), SimResourceCatalog::ReadOnlyCatalog);
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
              ResourceCatalog::NotInCatalog);
    EXPECT_EQ(readFile(nativeTypes() + QStringLiteral("/catalog.json")), before);
}

TEST_F(ResourceCatalogTest, FullDiskFailsTheUpdateAndKeepsTheSavedState) {
    const QString state = nativeTypes() + QStringLiteral("/catalog.json");
    const QByteArray before = readFile(state);
    SimResourceCatalog catalog;
    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate), ResourceCatalog::Success);
    {
        const FileSizeLimit full(8);
        EXPECT_EQ(catalog.AddFolder(makersParent()), SimResourceCatalog::SaveFailed);
    }
    EXPECT_EQ(readFile(state), before);
}

TEST_F(ResourceCatalogTest, FunctionalProfileListsTheThermostatObjectAtTheMakersScopeOnly) {
    registerMakersFolder();
    SimResourceCatalog catalog;
    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeReadOnly), ResourceCatalog::Success);
    for (const int scope : {6, 5, 3})
        EXPECT_EQ(catalog.OpenFile(DeviceProgramId, scope, ResourceCatalog::FunctionalProfileFile),
                  ResourceCatalog::NotInCatalog)
            << scope;
    ASSERT_EQ(
        catalog.OpenFile(DeviceProgramId, MakerScopeNumber, ResourceCatalog::FunctionalProfileFile),
        ResourceCatalog::Success);
    EXPECT_TRUE(catalog.HasTypeIndex(ThermostatObjectType));
    EXPECT_FALSE(catalog.HasTypeIndex(ThermostatObjectType + 1));
    EXPECT_EQ(catalog.CloseFile(), ResourceCatalog::Success);
    EXPECT_FALSE(catalog.HasTypeIndex(ThermostatObjectType));
    EXPECT_EQ(catalog.CloseFile(), SimResourceCatalog::NotOpen);
    EXPECT_EQ(catalog.OpenFile(DeviceProgramId, MakerScopeNumber, 2),
              SimResourceCatalog::BadArgument);
}

QStringList s_warnings;

TEST_F(ResourceCatalogTest, MisuseAnswersWithAFailureCode) {
    s_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { s_warnings << text; });
    SimResourceCatalog catalog;
    EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
              SimResourceCatalog::NotOpen);
    EXPECT_EQ(catalog.Update(), SimResourceCatalog::NotOpen);
    EXPECT_EQ(catalog.Close(), SimResourceCatalog::NotOpen);
    EXPECT_EQ(catalog.Open(lonWorks() + QStringLiteral("\\NoTypes"), 0),
              SimResourceCatalog::FolderMissing);
    EXPECT_EQ(catalog.Open(typesFolder(), 7), SimResourceCatalog::BadArgument);

    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate), ResourceCatalog::Success);
    EXPECT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate),
              SimResourceCatalog::AlreadyOpen);
    EXPECT_EQ(catalog.AddFolder(lonWorks() + QStringLiteral("\\Missing")),
              SimResourceCatalog::FolderMissing);
    // The reasons name the folders as this system writes them.
    const QString lonWorksHere = QFileInfo(nativeTypes()).path();
    EXPECT_TRUE(s_warnings.contains(QStringLiteral("Resource catalog: the folder ") + lonWorksHere +
                                    QStringLiteral("/NoTypes does not exist.")))
        << qPrintable(s_warnings.join(u'\n'));
    EXPECT_TRUE(s_warnings.contains(QStringLiteral("Resource catalog: the folder ") + lonWorksHere +
                                    QStringLiteral("/Missing does not exist.")))
        << qPrintable(s_warnings.join(u'\n'));
    EXPECT_EQ(catalog.FindResourceSet(QStringLiteral("8003DB55000000ZZ"), 4, 3, 0),
              SimResourceCatalog::BadArgument);
    qInstallMessageHandler(previous);
}

TEST_F(ResourceCatalogTest, DamagedCatalogStateIsRefused) {
    for (const QByteArray& damaged :
         {QByteArray("{ not json"), QByteArray(R"({"folders": "User"})"),
          QByteArray(R"({"resourceSets": ["Nowhere"]})")}) {
        writeFile(nativeTypes() + QStringLiteral("/catalog.json"), damaged);
        SimResourceCatalog catalog;
        EXPECT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate),
                  SimResourceCatalog::BadCatalogFile)
            << damaged.constData();
        EXPECT_EQ(catalog.Close(), SimResourceCatalog::NotOpen); // a failed open leaves it closed
    }
}

TEST_F(ResourceCatalogTest, DamagedResourceSetFailsTheUpdateAndKeepsTheLastIndex) {
    const QString setFile = makersFolder() + QStringLiteral("/resources.json");
    const QByteArray good = readFile(setFile);
    for (const QByteArray& damaged :
         {QByteArray("\x00\xff garbage", 11),
          QByteArray(R"({"programIdScope": "8003DB55", "scope": 4,
            "functionalProfileFile": "Zentaro.fpt.json"})"),
          QByteArray(R"({"programIdScope": "8003DB5500000000", "scope": 4,
            "functionalProfileFile": "../../catalog.json"})")}) {
        writeFile(setFile, good);
        registerMakersFolder();
        writeFile(setFile, damaged);
        SimResourceCatalog catalog;
        EXPECT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate),
                  SimResourceCatalog::BadCatalogFile);
        writeFile(setFile, good);
        ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeUpdate),
                  ResourceCatalog::Success);
        writeFile(setFile, damaged);
        EXPECT_EQ(catalog.Update(), SimResourceCatalog::BadCatalogFile) << damaged.constData();
        EXPECT_EQ(catalog.FindResourceSet(MakerScope, MakerScopeNumber, 3, 0),
                  ResourceCatalog::Success);
    }
}

TEST_F(ResourceCatalogTest, DamagedFunctionalProfileFileFailsToOpen) {
    registerMakersFolder();
    const QString profiles = makersFolder() + QStringLiteral("/Zentaro.fpt.json");
    SimResourceCatalog catalog;
    ASSERT_EQ(catalog.Open(typesFolder(), ResourceCatalog::ModeReadOnly), ResourceCatalog::Success);
    for (const QByteArray& damaged :
         {QByteArray(""), QByteArray(R"({"functionalProfiles": [{"typeIndex": 85.5}]})")}) {
        writeFile(profiles, damaged);
        EXPECT_EQ(catalog.OpenFile(DeviceProgramId, MakerScopeNumber,
                                   ResourceCatalog::FunctionalProfileFile),
                  SimResourceCatalog::BadCatalogFile)
            << damaged.constData();
        EXPECT_FALSE(catalog.HasTypeIndex(ThermostatObjectType));
    }
    QFile::remove(profiles);
    EXPECT_EQ(
        catalog.OpenFile(DeviceProgramId, MakerScopeNumber, ResourceCatalog::FunctionalProfileFile),
        SimResourceCatalog::BadCatalogFile);
}

TEST(KitResourceSet, NamesFormatsTheEngineHoldsWithTheirSizes) {
    QFile file(kitTypesFolder() + QStringLiteral("/User/Zentaro/resources.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray types = QJsonDocument::fromJson(file.readAll())
                                 .object()
                                 .value(QLatin1String("configPropertyTypes"))
                                 .toArray();
    QList<int> indices;
    for (const QJsonValue& type : types) {
        indices << type.toObject().value(QLatin1String("typeIndex")).toInt();
        for (const QJsonValue& format : type.toObject().value(QLatin1String("formats")).toArray())
            EXPECT_EQ(lns::sim::FormatEngine::rawSize(format.toString()),
                      type.toObject().value(QLatin1String("size")).toInt())
                << qPrintable(format.toString());
    }
    EXPECT_EQ(indices, (QList<int>{4, 8, 12, 13}));
}

} // namespace
