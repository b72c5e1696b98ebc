// SPDX-License-Identifier: Apache-2.0
// The configuration window as the plug-in object sees it: its state and
// geometry in twips, and the busy pointer.
#include "automation/LNSPlugInAPI.h"
#include "platform/Error.h"
#include "platform/WindowSystem.h"
#include "support/PlugInIdentity.h"
#include "window/fMain.h"

#include <QApplication>
#include <QScreen>

namespace {

constexpr double TwipsPerInch = 1440.0;


int toPixels(int twips, double twipsPerPixel) {
    return qRound(twips / twipsPerPixel);
}

} // namespace

void fMain::setVisible(bool visible) {
    // Pictures taken without a display show nothing on a screen and may go on.
    if (visible && WindowSystem::missing() && !testAttribute(Qt::WA_DontShowOnScreen))
        throw Error(LNSPlugInAPI::ErrCannotProceed, Identity().Name,
                    QStringLiteral("The configuration window cannot be shown: ") +
                        WindowSystem::missingReason());
    QWidget::setVisible(visible);
}

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
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_busyDepth++ == 0)
            m_heldInput = std::make_unique<HeldInput>(*this);
        return;
    }
    QApplication::restoreOverrideCursor();
    if (m_busyDepth > 0 && --m_busyDepth == 0)
        m_heldInput.reset();
}
