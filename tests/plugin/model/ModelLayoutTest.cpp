// SPDX-License-Identifier: Apache-2.0
#include "model/ModelLayout.h"

#include "FakeLns.h"
#include "model/CNvCtrlTable.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

struct LayoutRow {
    qint16 model;
    bool scheduling;
    bool modelTab;
    bool heatingStages;
    const char* caption;
    bool stageFrame;
    std::optional<bool> heatPump;
    std::optional<bool> economizer;
};

constexpr bool E = true, D = false, S = true, H = false;
const char* const CoolOrHp = "Number of cool or hp stages";
const char* const Cooling = "Number of cooling stages";
const char* const HeatPump = "Number of heatpump stages";

const LayoutRow Table[] = {
    {0, E, E, S, CoolOrHp, S, std::nullopt, std::nullopt},
    {1, E, E, S, Cooling, S, H, S},
    {2, E, D, H, Cooling, H, H, H},
    {3, E, E, S, Cooling, S, H, H},
    {4, E, E, H, HeatPump, S, S, H},
    {5, E, E, S, Cooling, S, H, H},
    {6, E, D, S, Cooling, S, H, H},
    {7, E, E, S, Cooling, S, H, H},
    {8, E, E, S, Cooling, S, H, H},
    {9, D, E, S, Cooling, S, H, S},
    {10, D, D, S, Cooling, S, H, H},
    {11, D, D, H, Cooling, H, H, H},
    {12, D, E, H, HeatPump, S, S, H},
    {13, E, E, S, Cooling, S, H, H},
    {14, D, E, S, Cooling, S, H, S},
    {15, D, D, S, Cooling, S, H, H},
    {16, D, D, H, Cooling, H, H, H},
    {17, E, E, S, Cooling, S, H, H},
    {-1, E, E, S, Cooling, S, H, H},
    {32767, E, E, S, Cooling, S, H, H},
    {-32768, E, E, S, Cooling, S, H, H},
};

TEST(ModelLayoutTest, EveryModelGetsItsRowOfTheLayoutTable) {
    for (const LayoutRow& row : Table) {
        const ModelLayout layout = modelLayoutFor(row.model);
        SCOPED_TRACE(row.model);
        EXPECT_EQ(layout.schedulingEnabled, row.scheduling);
        EXPECT_EQ(layout.modelTabEnabled, row.modelTab);
        EXPECT_EQ(layout.heatingStagesShown, row.heatingStages);
        EXPECT_EQ(layout.stageFrameCaption, QString::fromLatin1(row.caption));
        EXPECT_EQ(layout.stageFrameShown, row.stageFrame);
        EXPECT_EQ(layout.heatPumpShown, row.heatPump);
        EXPECT_EQ(layout.economizerShown, row.economizer);
    }
}

TEST(ModelLayoutTest, EnableFieldControlActsOnTheFirstFieldOfThatExactName) {
    KeyedCollection<CNvCtrlTable> fields(QStringLiteral("fields"));
    auto control = std::make_shared<fake::Control>(FieldControl::Kind::ComboBox);
    auto other = std::make_shared<fake::Control>(FieldControl::Kind::ComboBox);
    for (const auto& [key, name, bound] :
         {std::tuple{"a", "prog_rec", control}, std::tuple{"b", "prog_rec", other}}) {
        auto field = std::make_shared<CNvCtrlTable>();
        field->Name = QString::fromLatin1(name);
        field->TheControl = bound;
        fields.Add(QString::fromLatin1(key), field);
    }

    EnableFieldControl(fields, QStringLiteral("Prog_rec"), false);
    EnableFieldControl(fields, QStringLiteral("missing"), false);
    EXPECT_TRUE(control->isEnabled());
    EnableFieldControl(fields, QStringLiteral("prog_rec"), false);
    EXPECT_FALSE(control->isEnabled());
    EXPECT_TRUE(other->isEnabled());
}

} // namespace
