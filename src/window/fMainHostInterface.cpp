// The configuration window as the plug-in object sees it: visibility,
// geometry in twips, the hand-over of a device or LonMark object, the end.
#include "host/PlugInState.h"
#include "window/fMain.h"

#include <QApplication>
#include <QScreen>
#include <QTextStream>

namespace {

constexpr double TwipsPerInch = 1440.0;

// Every step of the shutdown runs even when an earlier one fails.
template <class Step> void ignoringFailure(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

template <class Object> void closeAndRelease(lns::Ref<Object>& object) {
    ignoringFailure([&] {
        if (object && object->IsOpen())
            object->Close();
    });
    object.reset();
}

int toPixels(int twips, double twipsPerPixel) {
    return qRound(twips / twipsPerPixel);
}

} // namespace

::WindowState fMain::WindowState() const {
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized)
        return ::WindowState::Minimized;
    if (state & Qt::WindowMaximized)
        return ::WindowState::Maximized;
    return ::WindowState::Normal;
}

void fMain::setWindowState(::WindowState state) {
    switch (state) {
    case ::WindowState::Minimized:
        QWidget::setWindowState(Qt::WindowMinimized);
        break;
    case ::WindowState::Maximized:
        QWidget::setWindowState(Qt::WindowMaximized);
        break;
    case ::WindowState::Normal:
        QWidget::setWindowState(Qt::WindowNoState);
        break;
    }
}

// The outer frame, as the host measures the window.
int fMain::Height() const {
    return qRound(frameGeometry().height() * TwipsPerPixelY());
}
int fMain::Width() const {
    return qRound(frameGeometry().width() * TwipsPerPixelX());
}
int fMain::Left() const {
    return qRound(frameGeometry().x() * TwipsPerPixelX());
}
int fMain::Top() const {
    return qRound(frameGeometry().y() * TwipsPerPixelY());
}

void fMain::setHeight(int twips) {
    const int frame = frameGeometry().height() - height();
    resize(width(), std::max(0, toPixels(twips, TwipsPerPixelY()) - frame));
}

void fMain::setWidth(int twips) {
    const int frame = frameGeometry().width() - width();
    resize(std::max(0, toPixels(twips, TwipsPerPixelX()) - frame), height());
}

void fMain::setLeft(int twips) {
    move(toPixels(twips, TwipsPerPixelX()), frameGeometry().y());
}
void fMain::setTop(int twips) {
    move(frameGeometry().x(), toPixels(twips, TwipsPerPixelY()));
}

double fMain::TwipsPerPixelX() const {
    return TwipsPerInch / screen()->logicalDotsPerInchX();
}
double fMain::TwipsPerPixelY() const {
    return TwipsPerInch / screen()->logicalDotsPerInchY();
}

void fMain::setBusyPointer(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void fMain::ProcessDeviceCommand(const lns::Ref<lns::AppDevice>& TheDevice, qint32) {
    CurrentDevice = TheDevice;
    // The hand-over is visible to the host's tools until the device opens here.
    QTextStream(stderr) << "fMain: configure device " << CurrentDevice->Name() << Qt::endl;
}

void fMain::ProcessLonMarkObjectCommand(const lns::Ref<lns::LonMarkObject>& TheLMObject, qint32) {
    CurrentLonMarkObject = TheLMObject;
    ignoringFailure([&] { CurrentDevice = TheLMObject->Parent()->Parent()->Parent(); });
    QTextStream(stderr) << "fMain: configure LonMark object " << CurrentLonMarkObject->Name()
                        << " of device " << (CurrentDevice ? CurrentDevice->Name() : QString())
                        << Qt::endl;
}

void fMain::EndPlugIn() {
    PlugInState& state = ThePlugInState();
    hide();
    CurrentLonMarkObject.reset();
    CurrentDevice.reset();
    DeviceNvs.reset();
    closeAndRelease(state.CurrentSystem);
    closeAndRelease(state.CurrentNetwork);
    ignoringFailure([&] {
        if (lcaOS && lcaOS->IsOpen())
            lcaOS->Close();
    });
    state.ServerOpen = false;
    state.NetworkOpen = false;
    close();
    QCoreApplication::quit();
}
