// SPDX-License-Identifier: Apache-2.0
// What an Apply leaves when it is stopped or when the device refuses part of
// it: only what reached the device is logged as sent and loses its mark, and
// nothing else is written.
#include "WindowFixture.h"
#include "objectserver/SimObjectServer.h"
#include "support/fLog.h"
#include "window/ModifiedMark.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>

namespace {

const QString Device = QStringLiteral("Floor 1/RTU-1");
const QString SetPoints = QStringLiteral("nciSetPts");
const QString Location = QStringLiteral("nciLocation");
constexpr int OccupiedHeat = 0;     // a setpoint of nciSetPts
constexpr int UnoccupiedHeat = 1;   // another of nciSetPts
constexpr int OutputHeartbeat = 39; // nciSndHrtBt
constexpr int LocationBox = 51;

// Sets the failure of one property of RTU-1 in the open network's database,
// as another client of the network would ("" for none).
void setPropertyFailure(const WindowFixture& f, const QString& property, const QString& failure) {
    const QString file = f.root.path() + QStringLiteral("/LonWorks/Databases/") + f.network +
                         QStringLiteral("/network.sqlite3");
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_busy_timeout(db, 30000);
    const char* sql =
        "UPDATE records SET revision = revision + 1, document = json_set(document,"
        " (SELECT path || '.failure' FROM json_tree(records.document)"
        "  WHERE key = 'name' AND value = ?1 AND path LIKE '%configProperties[%]'), ?2)"
        " WHERE kind = 'device' AND json_extract(document, '$.name') = 'RTU-1'";
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &update, nullptr);
    const QByteArray name = property.toUtf8();
    const QByteArray value = failure.isEmpty() ? QByteArray("none") : failure.toUtf8();
    sqlite3_bind_text(update, 1, name.constData(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(update, 2, value.constData(), -1, SQLITE_TRANSIENT);
    const int stepped = sqlite3_step(update);
    sqlite3_finalize(update);
    sqlite3_close(db);
    if (stepped != SQLITE_DONE)
        throw std::runtime_error("cannot set the failure of " + property.toStdString());
}

class ApplyOutcomes : public ::testing::Test {
protected:
    fMain& w() { return *f.window; }
    QLineEdit* box(int index) { return w().txtNvi[index]; }
    void edit(int index, const QString& text) {
        box(index)->setText(text);
        w().markModified(box(index));
    }
    QString stored(const QString& property, const QString& format) const {
        return f.storedValue(Device, property, format);
    }
    // The properties the window asked the device to write, in order.
    QStringList writes() {
        auto* server = dynamic_cast<lns::sim::SimObjectServer*>(w().lcaOS.get());
        QStringList names;
        const QRegularExpression write(
            QStringLiteral("(?:set|update)FormattedElement \"([^\"]+)\""));
        for (const QString& line : server->journal()) {
            const QRegularExpressionMatch match = write.match(line);
            if (match.hasMatch())
                names << match.captured(1);
        }
        server->clearJournal();
        return names;
    }
    // "Green" or "Red": the mark of the log's row, counted from the newest.
    QString rowColour(int fromNewest = 0) const {
        const QTreeWidget* log = f.window->activityLog().EchLog;
        const int row = log->topLevelItemCount() - 1 - fromNewest;
        return row < 0 ? QString() : log->topLevelItem(row)->data(0, fLog::IconKeyRole).toString();
    }

    WindowFixture f;
};

TEST_F(ApplyOutcomes, AbortSendsNothingMoreAndOnlyWhatWentThroughLosesItsMark) {
    f.openNetwork(QStringLiteral("Demo Building"));
    // The heartbeat cannot be read: its box has no value to write into.
    setPropertyFailure(f, QStringLiteral("nciSndHrtBt"), QStringLiteral("formatFails"));
    f.dialogs.queueAnswer(DialogAnswer::Ignore);
    f.configureDevice(Device);
    const QString setPoints = stored(SetPoints, QStringLiteral("SNVT_temp_setpt#US"));
    const QString location = stored(Location, QStringLiteral("SNVT_str_asc"));
    writes();
    f.dialogs.messages.clear();

    // Abort while the edits are checked and written back: nothing is sent.
    edit(OccupiedHeat, QStringLiteral("68"));
    edit(OutputHeartbeat, QStringLiteral("30"));
    f.dialogs.queueAnswer(DialogAnswer::Abort);
    w().cmdApply_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("fMain cmdApply_Click"));
    EXPECT_EQ(f.dialogs.messages[0].buttons, DialogButtons::AbortRetryIgnore);
    EXPECT_EQ(rowColour(), QStringLiteral("Red"));
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_TRUE(ModifiedMark::isSet(box(OccupiedHeat)));
    EXPECT_TRUE(w().cmdApply->isEnabled());
    EXPECT_TRUE(w().ChangesPending);
    w().cmdCancel_Click();

    // Abort at the first refused send: the values after it are not sent.
    setPropertyFailure(f, SetPoints, QStringLiteral("writeFails"));
    edit(OccupiedHeat, QStringLiteral("68"));
    edit(LocationBox, QStringLiteral("Room 12B"));
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::Abort);
    w().cmdApply_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("fMain PropagateChanges"));
    EXPECT_EQ(writes(), QStringList{SetPoints});
    EXPECT_EQ(rowColour(), QStringLiteral("Red"));
    EXPECT_TRUE(ModifiedMark::isSet(box(OccupiedHeat)));
    EXPECT_TRUE(ModifiedMark::isSet(box(LocationBox)));
    EXPECT_TRUE(w().cmdApply->isEnabled());

    // Applied again, the set points go through and the location is refused.
    setPropertyFailure(f, SetPoints, QString());
    setPropertyFailure(f, Location, QStringLiteral("writeFails"));
    f.dialogs.messages.clear();
    f.dialogs.queueAnswer(DialogAnswer::Ignore);
    w().cmdApply_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(writes(), (QStringList{SetPoints, Location}));
    const QStringList rows = f.logRows();
    ASSERT_GE(rows.size(), 2);
    EXPECT_TRUE(rows[rows.size() - 2].startsWith(QStringLiteral("Updating nciSetPts | ")))
        << qPrintable(rows.join('\n'));
    EXPECT_EQ(rowColour(1), QStringLiteral("Green"));
    EXPECT_EQ(rowColour(), QStringLiteral("Red"));
    EXPECT_EQ(rows.last(), QStringLiteral("Error updating nciLocation  | Failed to write data to "
                                          "the network variable object."));
    EXPECT_FALSE(ModifiedMark::isSet(box(OccupiedHeat)));
    EXPECT_TRUE(ModifiedMark::isSet(box(LocationBox)));
    EXPECT_TRUE(w().cmdApply->isEnabled());
    EXPECT_TRUE(w().ChangesPending);
    EXPECT_EQ(stored(SetPoints, QStringLiteral("SNVT_temp_setpt#US")).section(u',', 3, 3),
              QStringLiteral("68.00"));
    EXPECT_EQ(stored(SetPoints, QStringLiteral("SNVT_temp_setpt#US")).section(u',', 4),
              setPoints.section(u',', 4));
    EXPECT_EQ(stored(Location, QStringLiteral("SNVT_str_asc")), location);
}

// A refused Apply, then Cancel: the box shows what the device holds again,
// unmarked, and a later Apply of another field of the same value sends only
// that field, never the cancelled text.
TEST_F(ApplyOutcomes, CancelAfterARefusedApplyShowsTheHeldValueAndNeverSendsTheCancelledText) {
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(Device);
    const QString format = QStringLiteral("SNVT_temp_setpt#US");
    const QString held = box(OccupiedHeat)->text();
    ASSERT_NE(held, QStringLiteral("66"));
    // The device's own property refuses the write, or the device is gone.
    const std::function<void(const QString&)> refusals[] = {
        [&](const QString& failure) {
            setPropertyFailure(f, SetPoints,
                               failure.isEmpty() ? QString() : QStringLiteral("writeFails"));
        },
        [&](const QString& failure) {
            f.setDeviceFailure(QStringLiteral("RTU-1"),
                               failure.isEmpty() ? QString() : QStringLiteral("unreachable"));
        },
    };
    int unoccupied = 60;
    for (const auto& refuse : refusals) {
        const QStringList before = stored(SetPoints, format).split(u',');
        refuse(QStringLiteral("on"));
        edit(OccupiedHeat, QStringLiteral("66"));
        f.dialogs.queueAnswer(DialogAnswer::Ignore);
        w().cmdApply_Click();
        EXPECT_TRUE(ModifiedMark::isSet(box(OccupiedHeat)));
        w().cmdCancel_Click();
        EXPECT_EQ(box(OccupiedHeat)->text(), held);
        EXPECT_FALSE(ModifiedMark::isSet(box(OccupiedHeat)));

        refuse(QString());
        writes();
        edit(UnoccupiedHeat, QString::number(++unoccupied));
        w().cmdApply_Click();
        EXPECT_EQ(writes(), QStringList{SetPoints});
        const QStringList after = stored(SetPoints, format).split(u',');
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(after[3], before[3]) << qPrintable(after.join(u','));
        // Held in hundredths of a degree Celsius: 62 ºF reads back as 62.01.
        EXPECT_NEAR(after[5].toDouble(), unoccupied, 0.015) << qPrintable(after.join(u','));
        EXPECT_EQ(box(OccupiedHeat)->text(), held);
        EXPECT_FALSE(ModifiedMark::isSet(box(UnoccupiedHeat)));
    }
}

// A refused Apply leaves its edit pending; when the user then types another
// value into that red box, an Apply stopped by a text the device cannot hold
// sends nothing, and the next one sends what the box shows, never the text the
// device refused before.
TEST_F(ApplyOutcomes, AnApplyAfterARefusedOneSendsWhatTheBoxNowShows) {
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(Device);
    const QString format = QStringLiteral("SNVT_temp_setpt#US");
    const QStringList before = stored(SetPoints, format).split(u',');
    ASSERT_NE(before.value(3), QStringLiteral("66.00"));
    ASSERT_NE(before.value(3), QStringLiteral("64.00"));
    constexpr int PasswordBox = 52;

    setPropertyFailure(f, SetPoints, QStringLiteral("writeFails"));
    edit(OccupiedHeat, QStringLiteral("66"));
    f.dialogs.queueAnswer(DialogAnswer::Ignore);
    w().cmdApply_Click();
    ASSERT_TRUE(ModifiedMark::isSet(box(OccupiedHeat)));
    setPropertyFailure(f, SetPoints, QString());
    writes();

    edit(OccupiedHeat, QStringLiteral("64"));
    edit(PasswordBox, QStringLiteral("1.5"));
    f.dialogs.messages.clear();
    w().cmdApply_Click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].title, QStringLiteral("Invalid value"));
    EXPECT_TRUE(writes().isEmpty());
    EXPECT_EQ(stored(SetPoints, format).split(u',').value(3), before.value(3));

    edit(PasswordBox, QStringLiteral("15"));
    w().cmdApply_Click();
    const QStringList after = stored(SetPoints, format).split(u',');
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NEAR(after[3].toDouble(), 64, 0.015) << qPrintable(after.join(u','));
    EXPECT_FALSE(ModifiedMark::isSet(box(OccupiedHeat)));
}

} // namespace
