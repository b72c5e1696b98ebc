// SPDX-License-Identifier: Apache-2.0
#include "regwindows/fProgress.h"

#include "platform/Error.h"
#include "support/PaintTurns.h"
#include "support/PlugInIdentity.h"
#include "support/cAnimControl.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScreen>

namespace {

constexpr int AnimationSide = 48;

// The window every operation of the process loads; rebuilt only if something
// destroyed it.
QPointer<fProgress>& processWindow() {
    static QPointer<fProgress> window;
    return window;
}

} // namespace

// What an operation holds while it has the window loaded.
class fProgress::Loaded : public ProgressWindow {
public:
    explicit Loaded(fProgress& window) : m_window(&window) { window.load(); }
    ~Loaded() override {
        if (m_window)
            m_window->unload();
    }
    void DisplayStatus(const QString& text) override {
        if (m_window)
            m_window->DisplayStatus(text);
    }

private:
    QPointer<fProgress> m_window;
};

fProgress::fProgress(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("fProgress"));
    setWindowTitle(Identity().Name);
    // Closing the progress window must not end a plug-in whose other windows are hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    picResAnim = new QLabel(this);
    picResAnim->setObjectName(QStringLiteral("picResAnim"));
    picResAnim->setFixedSize(AnimationSide, AnimationSide);
    Status = new QLabel(FirstStatus, this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setMinimumWidth(260);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picResAnim);
    layout->addWidget(Status, 1);
    startAnimation();
}

fProgress::~fProgress() {
    for (; m_loads > 0; --m_loads)
        QApplication::restoreOverrideCursor();
}

fProgress* fProgress::current() {
    fProgress* window = processWindow();
    return window && window->m_loads > 0 ? window : nullptr;
}

// An operation inside another keeps what the outer one shows.
void fProgress::load() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_loads++ > 0)
        return;
    Status->setText(FirstStatus);
    if (m_animation && m_animation->isOpen())
        m_animation->StartPlay();
    showCentred();
}

void fProgress::unload() {
    QApplication::restoreOverrideCursor();
    if (--m_loads > 0)
        return;
    hide();
    if (m_animation && m_animation->isOpen())
        m_animation->StopPlay();
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
    QPointer<fProgress>& window = processWindow();
    if (!window)
        window = new fProgress();
    return std::make_unique<Loaded>(*window);
}

// In the middle of the screen, where the configuration window opens too,
// rather than wherever the window system puts a window without a place.
void fProgress::showCentred() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

// The status is on the screen before the step it names, which may wait long
// on a device; the rest of the windows' work waits for the next frame's turn.
void fProgress::DisplayStatus(const QString& text) {
    const bool appears = !isVisible();
    if (appears)
        showCentred();
    Status->setText(text);
    if (appears) {
        PaintTurns::letWindowsPaintNow();
        return;
    }
    Status->repaint();
    PaintTurns::letWindowsPaint();
}
