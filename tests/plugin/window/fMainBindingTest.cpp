// SPDX-License-Identifier: Apache-2.0
#include "FakeLns.h"
#include "WindowFixture.h"
#include "model/DeviceValueCatalog.h"
#include "model/FieldCatalog.h"
#include "model/Specific.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(fMainBindingTest, FieldsReadAndEnableTheWindowsControls) {
    WindowFixture f;
    fMain& window = *f.window;
    auto device = std::make_shared<fake::AppDevice>();
    auto block = std::make_shared<fake::LonMarkObject>();
    auto setpoints = std::make_shared<fake::ConfigProperty>(0, 60);
    block->properties->items = {setpoints};
    device->deviceInterface->blocks->items = {block};
    window.CurrentDevice = device;

    Specific specific;
    BuildNvCpTables(
        specific, [&](const QString& path) { return window.GetCpByTypeIndex(path); },
        std::make_shared<fake::System>());
    BuildNvCtrlTables(specific, window.fieldControls());
    EXPECT_EQ(specific.NvCpTables.Item(QStringLiteral("nciSetPts"))->MyNetworkVariable, setpoints);

    // Nothing read yet: every field shows what its control shows.
    window.txtNvi[2]->setText(QStringLiteral("000.00"));
    window.cbNvi[9]->setEditText(QStringLiteral("ON"));
    const auto& fields = specific.NvCtrlTables;
    EXPECT_EQ(fields.Item(QStringLiteral("occ_cool_setpts"))->Value(), QStringLiteral("000.00"));
    EXPECT_EQ(fields.Item(QStringLiteral("fan_cont"))->Value(), QStringLiteral("ON"));
    EXPECT_EQ(fields.Item(QStringLiteral("nciSccModel_label"))->Value(),
              QStringLiteral("Undefined model"));
    EXPECT_EQ(fields.Item(QStringLiteral("nciHvacType"))->Value(), QStringLiteral("HVT_UNKNOWN"));
    EXPECT_EQ(fields.Item(QStringLiteral("nciSccModelRaw"))->Value(), QStringLiteral("0"));

    const auto& progRec = fields.Item(QStringLiteral("prog_rec"))->TheControl;
    EXPECT_EQ(progRec->kind(), FieldControl::Kind::ComboBox);
    progRec->setEnabled(false);
    EXPECT_FALSE(window.cbNvi[14]->isEnabled());
    EXPECT_TRUE(window.cbNvi[14]->isEditable());
    EXPECT_TRUE(window.isAncestorOf(window.txtNvi[53]));
}

} // namespace
