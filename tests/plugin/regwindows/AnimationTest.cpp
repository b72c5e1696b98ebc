// SPDX-License-Identifier: Apache-2.0
#include "TestApplication.h"
#include "platform/Error.h"
#include "regwindows/fProgress.h"
#include "support/PictureColours.h"
#include "support/cAnimControl.h"

#include <QDir>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

qint32 raisedNumber(const std::function<void()>& call, QString* description = nullptr) {
    try {
        call();
    } catch (const Error& error) {
        EXPECT_TRUE(error.source().endsWith(QStringLiteral(".cAnimControl")));
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

class Animation : public ::testing::Test {
protected:
    QApplication& app = testApplication();
    QWidget owner;
    cAnimControl animation;
};

TEST_F(Animation, PlaysTheProgramsOwnClipInItsOwner) {
    owner.resize(80, 60);
    animation.setAutoPlay(true);
    animation.setCentre(true);
    animation.setResourceId(201);
    EXPECT_FALSE(animation.isOpen()); // no window to show it in yet
    animation.setOwner(&owner);
    ASSERT_TRUE(animation.isOpen());
    EXPECT_TRUE(animation.isPlaying());
    EXPECT_EQ(animation.hwnd()->parentWidget(), &owner);
    EXPECT_EQ(animation.hwnd()->geometry(), owner.rect());
    QTRY_VERIFY(animation.currentFrame() > 0);
    animation.StopPlay();
    EXPECT_FALSE(animation.isPlaying());
}

TEST_F(Animation, ItsSizeIsTheWindowsOverTheOwnersClientAreaNotTheClips) {
    for (bool centre : {true, false}) {
        QWidget host;
        host.resize(80, 60); // the clip's frames are smaller
        cAnimControl clip;
        clip.setCentre(centre);
        clip.setResourceId(201);
        clip.setOwner(&host);
        ASSERT_TRUE(clip.isOpen());
        EXPECT_EQ(clip.Width(), host.width()) << centre;
        EXPECT_EQ(clip.Height(), host.height()) << centre;
    }
}

TEST_F(Animation, PlaysAFrameRangeTheGivenNumberOfTimes) {
    animation.setResourceId(201);
    animation.setOwner(&owner);
    EXPECT_FALSE(animation.isPlaying());
    animation.StartPlay(3, 4, 2);
    EXPECT_EQ(animation.currentFrame(), 3);
    QTRY_VERIFY(!animation.isPlaying());
    EXPECT_EQ(animation.currentFrame(), 4);
    animation.StartPlay(0, -1, 0);
    EXPECT_FALSE(animation.isPlaying());
}

TEST_F(Animation, FileAndResourceReplaceEachOther) {
    animation.setFilename(QStringLiteral("clip.gif"));
    animation.setResourceId(201);
    EXPECT_TRUE(animation.Filename().isEmpty());
    animation.setResourceFileName(QStringLiteral("other.rcc"));
    animation.setFilename(QStringLiteral("clip.gif"));
    EXPECT_EQ(animation.ResourceId(), 0);
    EXPECT_TRUE(animation.ResourceFileName().isEmpty());
    animation.setResourceFileName(QStringLiteral("other.rcc"));
    EXPECT_TRUE(animation.Filename().isEmpty());
}

TEST_F(Animation, StyleChangesRecreateTheWindowOnlyWhenTheyChangeSomething) {
    animation.setResourceId(201);
    animation.setOwner(&owner);
    const QPointer<QWidget> first = animation.hwnd();
    animation.setTransparent(false);
    EXPECT_EQ(animation.hwnd(), first.data());
    animation.setTransparent(true);
    EXPECT_TRUE(first.isNull());
    EXPECT_NE(animation.hwnd(), nullptr);
    EXPECT_TRUE(animation.isOpen());
}

TEST_F(Animation, IgnoresAnOwnerWithoutAWindow) {
    animation.setOwner(nullptr);
    EXPECT_EQ(animation.Owner(), nullptr);
    EXPECT_EQ(animation.hwnd(), nullptr);
}

TEST_F(Animation, ReportsClipsAndModulesThatCannotBeOpened) {
    animation.setOwner(&owner);
    QString description;
    EXPECT_EQ(raisedNumber([&] { animation.setResourceId(999); }, &description), 45002);
    EXPECT_EQ(description, QStringLiteral("Failed to open the AVI from the resource 999"));
    EXPECT_FALSE(animation.isOpen());
    EXPECT_EQ(raisedNumber([&] { animation.setFilename(QStringLiteral("/no/such/clip.gif")); },
                           &description),
              45002);
    EXPECT_EQ(description, QStringLiteral("Failed to open the file '/no/such/clip.gif'"));
    EXPECT_EQ(raisedNumber([&] { animation.setResourceId(201); }), 0);
    EXPECT_EQ(
        raisedNumber([&] { animation.setResourceFileName(QStringLiteral("/no/such/module.rcc")); },
                     &description),
        45003);
    EXPECT_EQ(description,
              QStringLiteral("Failed to load the resource library '/no/such/module.rcc'"));
}

TEST(ProgressWindow, ShowsItsCaptionStatusAndAnimation) {
    testApplication();
    const std::unique_ptr<ProgressWindow> loaded = fProgress::open();
    ASSERT_NE(fProgress::current(), nullptr);
    fProgress& window = *fProgress::current();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Status->text(), QStringLiteral("Initializating plug-in . . ."));
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    loaded->DisplayStatus(QStringLiteral("Initializing plug-in . . ."));
    EXPECT_EQ(window.Status->text(), QStringLiteral("Initializing plug-in . . ."));
    // A status is on the screen before the step it names, which may wait long
    // on a device, also when it follows the one before within a frame.
    loaded->DisplayStatus(QStringLiteral("Reading the device state..."));
    loaded->DisplayStatus(QStringLiteral("Testing the device..."));
    const QImage onScreen = window.screen()
                                ->grabWindow(window.winId())
                                .toImage()
                                .copy(window.Status->geometry())
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen, window.Status->grab().toImage().convertToFormat(QImage::Format_RGB32));
    // Over the configuration window, which opens in the middle of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(window.geometry().contains(screen.center()))
        << window.geometry().x() << "," << window.geometry().y();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zentaro PIR ready RM42xx Configure"));
    ASSERT_NE(window.animation(), nullptr);
    EXPECT_TRUE(window.animation()->isPlaying());
    EXPECT_EQ(window.animation()->Owner(), window.picResAnim);

    QTest::qWait(300);
    const QImage shot = window.grab().toImage();
    // A folder of its own: in the shared temporary folder another user's
    // picture of the same name would be in the way.
    const QTemporaryDir own;
    const QString folder = qEnvironmentVariable("RM42_SCREENSHOT_DIR", own.path());
    EXPECT_TRUE(shot.save(folder + QStringLiteral("/fProgress.png")));
    // The clip's dots are painted over the window's background.
    const QImage clip = window.picResAnim->grab().toImage();
    const QRgb background = clip.pixel(0, 0);
    int painted = 0;
    for (int y = 0; y < clip.height(); ++y)
        for (int x = 0; x < clip.width(); ++x)
            painted += clip.pixel(x, y) != background;
    EXPECT_GT(painted, 50);
}

// Each operation loads the one window the process built, with its frames:
// one inside another keeps it, the last one out hides it, stops its clip and
// gives the pointer back; the next starts from the first status again.
TEST(ProgressWindow, UnloadingRestoresTheMousePointerAndOperationsShareOneWindow) {
    testApplication();
    const QCursor* before = QApplication::overrideCursor();
    fProgress* window = nullptr;
    {
        const std::unique_ptr<ProgressWindow> outer = fProgress::open();
        window = fProgress::current();
        outer->DisplayStatus(QStringLiteral("Registering"));
        {
            const std::unique_ptr<ProgressWindow> inner = fProgress::open();
            EXPECT_EQ(fProgress::current(), window);
            EXPECT_EQ(window->Status->text(), QStringLiteral("Registering"));
        }
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(fProgress::current(), nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->animation()->isPlaying());
    EXPECT_EQ(QApplication::overrideCursor(), before);

    const std::unique_ptr<ProgressWindow> again = fProgress::open();
    EXPECT_EQ(fProgress::current(), window);
    EXPECT_EQ(window->Status->text(), fProgress::FirstStatus);
    EXPECT_TRUE(window->animation()->isPlaying());
}

TEST(PictureColours, SplitsAndTranslatesColourValues) {
    const PictureColours::RGBParts parts = PictureColours::SplitRGB(0x00332211);
    EXPECT_EQ(parts.Red, 0x11);
    EXPECT_EQ(parts.Green, 0x22);
    EXPECT_EQ(parts.Blue, 0x33);
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0x40, 0x50, 0x60));
    EXPECT_EQ(PictureColours::TranslateColour(PictureColours::ButtonFace, palette), 0x605040);
    EXPECT_EQ(PictureColours::TranslateColour(0x00C0FFEE, palette), 0xC0FFEE);
    EXPECT_EQ(PictureColours::TranslateColour(0x80000099u, palette), -1);
    EXPECT_EQ(PictureColours::TranslateColour(0x01000000u, palette), -1);
}

TEST(PictureColours, RecolourOnlyExactKeyPixelsAndKeepTheFourthByte) {
    QImage picture(3, 1, QImage::Format_ARGB32);
    picture.setPixel(0, 0, qRgba(0xC0, 0xC0, 0xC0, 0x80));
    picture.setPixel(1, 0, qRgba(0xC0, 0xC1, 0xC0, 0xFF));
    picture.setPixel(2, 0, qRgba(0xC0, 0xC0, 0xC0, 0xFF));
    PictureColours::ReplaceColour(picture, 0xC0C0C0, 0x302010);
    EXPECT_EQ(picture.pixel(0, 0), qRgba(0x10, 0x20, 0x30, 0x80));
    EXPECT_EQ(picture.pixel(1, 0), qRgba(0xC0, 0xC1, 0xC0, 0xFF));
    EXPECT_EQ(picture.pixel(2, 0), qRgba(0x10, 0x20, 0x30, 0xFF));

    const QImage before = picture;
    PictureColours::ReplaceColour(picture, -1, 0x000000);
    PictureColours::ReplaceColour(picture, 0x302010, -1);
    EXPECT_EQ(picture, before);
}

} // namespace
