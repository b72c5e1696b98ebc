// SPDX-License-Identifier: Apache-2.0
// Loading the configuration window: caption, position, contact page, picture,
// icon, the plug-in's version, and the display units.
#include "support/PictureColours.h"
#include "support/PlugInIdentity.h"
#include "window/WindowPlacement.h"
#include "window/fMain.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTextBrowser>

namespace {

// The picture's background, replaced by the button face so it blends in.
constexpr qint64 PictureKeyColour = 13160660; // red 212, green 208, blue 200
const QString PlacementName = QStringLiteral("ConfigurationWindow");

} // namespace

void fMain::Form_Load() {
    setWindowTitle(Identity().Name);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        // Where its user left it; else whole tab pages where the screen has
        // room (on a small one they scroll), in the middle.
        setGeometry(
            WindowPlacement::opening(WindowPlacement::load(PlacementName), sizeHint(), area));
    }
    // The maker's contact page is part of the program's own resources.
    WebBrowser1->setSource(QUrl(QStringLiteral("qrc:/window/about.htm")));
    loadPicture();
    // The registration window takes the same icon through the application.
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/window/icon/rm42xx-config-%1.png").arg(size));
    setWindowIcon(icon);
    QApplication::setWindowIcon(icon);
    txtMajorVersion->setText(QString::number(RM42_VERSION_MAJOR));
    txtMinorVersion->setText(QString::number(RM42_VERSION_MINOR));
    GetDisplayUnits();
    showNoDevice();
}

void fMain::keepPlacement() {
    // Only a place the user saw: not a window that served the host hidden.
    if (isVisible() && !testAttribute(Qt::WA_DontShowOnScreen))
        WindowPlacement::save(PlacementName, geometry());
}

void fMain::loadPicture() {
    QImage picture(QStringLiteral(":/window/301.png"));
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    PictureColours::ReplaceColour(
        picture, PictureKeyColour,
        PictureColours::TranslateColour(PictureColours::ButtonFace, palette()));
    Picture1->setPixmap(QPixmap::fromImage(picture));
}
