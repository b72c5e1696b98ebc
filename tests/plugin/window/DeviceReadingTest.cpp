// SPDX-License-Identifier: Apache-2.0
// Reading a device into the window: what it costs in device transactions, and
// what the user sees and can do while the device answers slowly.
#include "WindowFixture.h"
#include "objectserver/SimObjectServer.h"
#include "support/fLog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

lns::sim::SimObjectServer& serverOf(WindowFixture& f) {
    return dynamic_cast<lns::sim::SimObjectServer&>(*f.window->lcaOS);
}

int transactions(const QStringList& journal) {
    int count = 0;
    for (const QString& line : journal) {
        for (const char* kind :
             {"AppDevice.Test ", "AppDevice.State ", "ConfigProperty.FetchElement ",
              "ConfigProperty.FormattedValue ", "ConfigProperty.FormattedElement "})
            count += line.startsWith(QLatin1String(kind));
    }
    return count;
}

TEST(DeviceReading, AnOpeningReadsEachPropertyOnceAndLogsEveryValueAsBefore) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    serverOf(f).clearJournal();
    f.window->activityLog().Clear();
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    // The test, the state, and 18 reads: the HVAC type and the model once each.
    EXPECT_EQ(transactions(serverOf(f).journal()), 20)
        << qPrintable(serverOf(f).journal().join('\n'));
    const QStringList rows = f.logRows();
    EXPECT_EQ(rows.filter(QStringLiteral("Reading nciHvacType | HVT_ROOFTOP")).size(), 2);
    EXPECT_TRUE(rows.contains(QStringLiteral("Reading nciSccModel | 1 1.4")))
        << qPrintable(rows.join('\n'));
    EXPECT_TRUE(rows.contains(QStringLiteral("Reading nciSccModel (Raw) | 01 01 04")));
    EXPECT_EQ(f.window->lbModel->text(), QStringLiteral("1"));
}

// Watches the window while a slow device is read: what the progress said each
// time a timer got its turn, and when a key press posted mid-read arrived.
class SlowReading : public QObject {
public:
    explicit SlowReading(WindowFixture& f) : m_f(f) {
        f.window->installEventFilter(this);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start(0);
    }

    QStringList textsAtTicks;
    QString keyArrivedAt;
    bool readingOver = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && keyArrivedAt.isEmpty())
            keyArrivedAt = readingOver ? QStringLiteral("after") : m_f.progressTexts.last();
        return false;
    }

private:
    void tick() {
        if (m_f.progressTexts.isEmpty())
            return;
        const QString text = m_f.progressTexts.last();
        if (textsAtTicks.isEmpty() || textsAtTicks.last() != text)
            textsAtTicks << text;
        if (text == QStringLiteral("Reading 5 of 20") && !m_keyPosted) {
            m_keyPosted = true;
            QCoreApplication::postEvent(
                m_f.window.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier));
        }
    }

    WindowFixture& m_f;
    QTimer m_timer;
    bool m_keyPosted = false;
};

TEST(DeviceReading, ASlowDeviceShowsTheCountKeepsTheWindowLiveAndHoldsKeysTillTheEnd) {
    WindowFixture f;
    f.openNetwork(QStringLiteral("Demo Building"));
    f.window->show();
    serverOf(f).setLatency(20); // longer than a screen's frame
    SlowReading watch(f);
    f.configureDevice(QStringLiteral("Floor 1/RTU-1"));
    watch.readingOver = true;
    QStringList counted;
    for (int position = 1; position <= 20; ++position)
        counted << QStringLiteral("Reading %1 of 20").arg(position);
    const QRegularExpression count(QStringLiteral("^Reading \\d+ of"));
    EXPECT_EQ(f.progressTexts.filter(count).join('|'), counted.join('|'));
    // Each read waits longer than a screen's frame, so a timer had its turn
    // before every read but one that waited on nothing (a value read again):
    // never two counts in a row without one.
    for (int position = 2; position <= 20; ++position)
        EXPECT_TRUE(watch.textsAtTicks.contains(counted[position - 1]) ||
                    watch.textsAtTicks.contains(counted[position - 2]))
            << qPrintable(watch.textsAtTicks.join('|'));
    EXPECT_EQ(watch.keyArrivedAt.toStdString(), "");
    QApplication::processEvents();
    EXPECT_EQ(watch.keyArrivedAt.toStdString(), "after");
}

} // namespace
