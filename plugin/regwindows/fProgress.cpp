// SPDX-License-Identifier: Apache-2.0
#include "regwindows/fProgress.h"

#include "platform/Error.h"
#include "support/PlugInIdentity.h"
#include "support/cAnimControl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace {

constexpr int AnimationSide = 48;

} // namespace

fProgress::fProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("fProgress"));
    setWindowTitle(Identity().Name);
    // Closing the progress window must not end a plug-in whose other windows are hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    picResAnim = new QLabel(this);
    picResAnim->setObjectName(QStringLiteral("picResAnim"));
    picResAnim->setFixedSize(AnimationSide, AnimationSide);
    Status = new QLabel(QStringLiteral("Initializating plug-in . . ."), this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setMinimumWidth(260);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picResAnim);
    layout->addWidget(Status, 1);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    startAnimation();
    m_previous = s_current;
    s_current = this;
}

fProgress::~fProgress() {
    if (s_current == this)
        s_current = m_previous;
    QApplication::restoreOverrideCursor();
}

void fProgress::startAnimation() {
    m_animation = std::make_unique<cAnimControl>();
    try {
        m_animation->setAutoPlay(true);
        m_animation->setCentre(true);
        m_animation->setTransparent(true);
        // This program's own resources hold the clip.
        m_animation->setResourceFileName(QCoreApplication::applicationFilePath());
        m_animation->setResourceId(AnimationResource);
        m_animation->setOwner(picResAnim);
    } catch (const Error&) {
        // Without its animation the window still tells the user what happens.
    }
}

std::unique_ptr<ProgressWindow> fProgress::open() {
    auto window = std::make_unique<fProgress>();
    window->showCentred();
    return window;
}

// In the middle of the screen, where the configuration window opens too,
// rather than wherever the window system puts a window without a place.
void fProgress::showCentred() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void fProgress::DisplayStatus(const QString& text) {
    if (!isVisible())
        showCentred();
    Status->setText(text);
    // The user's input waits for the operation to end, not acted on in its middle.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
