// SPDX-License-Identifier: Apache-2.0
#include "model/CpLookup.h"

#include "FakeLns.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

// A device whose interface, block 0, block 1 and network variable 2 each hold
// properties; every property is told apart by its identity.
class CpLookup : public ::testing::Test {
protected:
    CpLookup() {
        auto& device = *this->device->deviceInterface;
        device.properties->items = {interfaceCp};
        for (int i = 0; i < 2; ++i)
            device.blocks->items.push_back(blocks[i]);
        blocks[0]->properties->items = {otherScope, firstMatch, secondMatch};
        blocks[1]->properties->items = {blockOneCp};
        device.nvs->items = {std::make_shared<fake::NetworkVariable>(), nv};
        nv->properties->items = {nvCp};
    }

    lns::Ref<lns::ConfigProperty> lookup(const QString& path) {
        return GetCpByTypeIndex(path, device, device->deviceInterface->nvs, dialogs);
    }

    std::shared_ptr<fake::AppDevice> device = std::make_shared<fake::AppDevice>();
    std::shared_ptr<fake::LonMarkObject> blocks[2] = {std::make_shared<fake::LonMarkObject>(),
                                                      std::make_shared<fake::LonMarkObject>()};
    std::shared_ptr<fake::NetworkVariable> nv = std::make_shared<fake::NetworkVariable>();
    lns::Ref<lns::ConfigProperty> interfaceCp = std::make_shared<fake::ConfigProperty>(0, 60);
    lns::Ref<lns::ConfigProperty> otherScope = std::make_shared<fake::ConfigProperty>(4, 60);
    lns::Ref<lns::ConfigProperty> firstMatch = std::make_shared<fake::ConfigProperty>(0, 60);
    lns::Ref<lns::ConfigProperty> secondMatch = std::make_shared<fake::ConfigProperty>(0, 60);
    lns::Ref<lns::ConfigProperty> blockOneCp = std::make_shared<fake::ConfigProperty>(4, 12);
    lns::Ref<lns::ConfigProperty> nvCp = std::make_shared<fake::ConfigProperty>(0, 60);
    ScriptedDialogs dialogs;
};

TEST_F(CpLookup, EachHeadSearchesItsOwnCollection) {
    EXPECT_EQ(lookup(QStringLiteral("C:0:60")), interfaceCp);
    EXPECT_EQ(lookup(QStringLiteral("F:0/C:0:60")), firstMatch); // the first of two matches
    EXPECT_EQ(lookup(QStringLiteral("F:0/C:4:60")), otherScope);
    EXPECT_EQ(lookup(QStringLiteral("F:1/C:4:12")), blockOneCp);
    EXPECT_EQ(lookup(QStringLiteral("N:2/C:0:60")), nvCp);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CpLookup, BlanksAreTrimmedOnlyAfterSeparators) {
    EXPECT_EQ(lookup(QStringLiteral("F: 1 /  C:  4:12")), blockOneCp);
    EXPECT_EQ(lookup(QStringLiteral("C:   0:60")), interfaceCp);
    EXPECT_EQ(lookup(QStringLiteral(" C:0:60")), nullptr);
    EXPECT_EQ(lookup(QStringLiteral("C:0 :60")), nullptr);
}

TEST_F(CpLookup, UnknownHeadsAndMissingPropertiesGiveNothing) {
    for (const char* path : {"X:0/C:0:60", "c:0:60", "", "C:0:61", "F:1/C:0:60"})
        EXPECT_EQ(lookup(QString::fromLatin1(path)), nullptr) << path;
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CpLookup, ABlockBeyondTheCollectionAsksAbortRetryIgnore) {
    dialogs.queueAnswer(DialogAnswer::Abort);
    EXPECT_EQ(lookup(QStringLiteral("F:2/C:4:12")), nullptr);
    ASSERT_EQ(dialogs.messages.size(), 1);
    const MessageRequest& box = dialogs.messages.first();
    EXPECT_EQ(box.buttons, DialogButtons::AbortRetryIgnore);
    EXPECT_EQ(box.icon, DialogIcon::Critical);
    EXPECT_EQ(box.title, QStringLiteral("fMain GetCpByTypeIndex"));
    EXPECT_TRUE(box.text.contains(QString::number(Error::LnsErrorBase + lns::Code::NotFound)));

    // Ignore goes on without candidates: nothing, and no second box.
    dialogs.queueAnswer(DialogAnswer::Ignore);
    EXPECT_EQ(lookup(QStringLiteral("F:2/C:4:12")), nullptr);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

// Answers Retry after adding the missing block, as if the database caught up.
class AddBlockThenRetry : public ScriptedDialogs {
public:
    AddBlockThenRetry(fake::LonMarkObjects& blocks, lns::Ref<lns::LonMarkObject> block)
        : m_blocks(blocks), m_block(std::move(block)) {}
    DialogAnswer message(const MessageRequest& request) override {
        ScriptedDialogs::message(request);
        m_blocks.items.push_back(m_block);
        return DialogAnswer::Retry;
    }

private:
    fake::LonMarkObjects& m_blocks;
    lns::Ref<lns::LonMarkObject> m_block;
};

TEST_F(CpLookup, RetryRepeatsTheFailedStep) {
    auto late = std::make_shared<fake::LonMarkObject>();
    auto lateCp = std::make_shared<fake::ConfigProperty>(4, 4);
    late->properties->items = {lateCp};
    AddBlockThenRetry retrying(*device->deviceInterface->blocks, late);
    EXPECT_EQ(GetCpByTypeIndex(QStringLiteral("F:2/C:4:4"), device, nullptr, retrying), lateCp);
    EXPECT_EQ(retrying.messages.size(), 1);
}

TEST_F(CpLookup, ABlockNumberThatIsNoNumberIsAFailureToo) {
    dialogs.queueAnswer(DialogAnswer::Abort);
    EXPECT_EQ(lookup(QStringLiteral("F:one/C:4:12")), nullptr);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(CpLookup, WithoutADeviceTheLookupFailsThroughTheBox) {
    dialogs.queueAnswer(DialogAnswer::Abort);
    EXPECT_EQ(GetCpByTypeIndex(QStringLiteral("C:0:60"), nullptr, nullptr, dialogs), nullptr);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

// A device whose interface, or the interface's LonMark objects, cannot be read.
class UnreadableDevice : public fake::AppDevice {
public:
    bool interfaceFails = true;
    lns::Ref<lns::Interface> Interface() const override {
        if (interfaceFails)
            throw Error::lns(lns::Code::DeviceUnreachable, QStringLiteral("Interface"),
                             QStringLiteral("interface unreadable"));
        return fake::AppDevice::Interface();
    }
};

class InterfaceWithoutBlocks : public fake::Interface {
public:
    lns::Ref<lns::LonMarkObjects> LonMarkObjects() const override {
        throw Error::lns(lns::Code::NotFound, QStringLiteral("LonMarkObjects"),
                         QStringLiteral("no LonMark objects"));
    }
};

TEST_F(CpLookup, IgnoringAFailedStepGoesOnAndTheStepsThatNeedItFailThroughTheBoxToo) {
    auto unreadable = std::make_shared<UnreadableDevice>();
    for (const char* path : {"C:0:60", "F:0/C:0:60"}) {
        ScriptedDialogs ignoring;
        ignoring.queueAnswer(DialogAnswer::Ignore);
        ignoring.queueAnswer(DialogAnswer::Ignore);
        EXPECT_EQ(GetCpByTypeIndex(QString::fromLatin1(path), unreadable, nullptr, ignoring),
                  nullptr);
        ASSERT_EQ(ignoring.messages.size(), 2) << path;
        EXPECT_TRUE(ignoring.messages[0].text.contains(QStringLiteral("interface unreadable")));
        EXPECT_EQ(ignoring.messages[1].title, QStringLiteral("fMain GetCpByTypeIndex"));
    }

    ScriptedDialogs ignoringNoDevice;
    ignoringNoDevice.queueAnswer(DialogAnswer::Ignore);
    ignoringNoDevice.queueAnswer(DialogAnswer::Ignore);
    EXPECT_EQ(GetCpByTypeIndex(QStringLiteral("N:1/C:0:60"), nullptr, nullptr, ignoringNoDevice),
              nullptr);
    EXPECT_EQ(ignoringNoDevice.messages.size(), 2);

    // Only the LonMark objects are missing: interface properties are still found.
    unreadable->interfaceFails = false;
    auto withoutBlocks = std::make_shared<InterfaceWithoutBlocks>();
    withoutBlocks->properties->items = {interfaceCp};
    unreadable->deviceInterface = withoutBlocks;
    ScriptedDialogs ignoring;
    for (int answer = 0; answer < 4; ++answer)
        ignoring.queueAnswer(DialogAnswer::Ignore);
    EXPECT_EQ(GetCpByTypeIndex(QStringLiteral("C:0:60"), unreadable, nullptr, ignoring),
              interfaceCp);
    EXPECT_EQ(GetCpByTypeIndex(QStringLiteral("F:0/C:0:60"), unreadable, nullptr, ignoring),
              nullptr);
    EXPECT_EQ(ignoring.messages.size(), 3);
}

} // namespace
