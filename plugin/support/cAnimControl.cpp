// SPDX-License-Identifier: Apache-2.0
#include "support/cAnimControl.h"

#include "platform/Error.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPixmap>
#include <QResource>
#include <algorithm>

namespace {

constexpr int DefaultFrameDelayMs = 100;

bool isOwnProgram(const QString& moduleFile) {
    if (moduleFile.isEmpty())
        return true;
    const QFileInfo module(Paths::toNative(moduleFile));
    return module.exists() &&
           module.canonicalFilePath() ==
               QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
}

// Each loaded resource file gets its own root, as each module has its own resources.
QString nextModuleRoot() {
    static int modules = 0;
    return QStringLiteral("/cAnimControl/module%1").arg(++modules);
}

} // namespace

cAnimControl::cAnimControl() {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &cAnimControl::nextFrame);
}

cAnimControl::~cAnimControl() {
    closeClip();
    destroyAnimationWindow();
}

void cAnimControl::raise(qint32 number, const QString& description) const {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    throw Error(number, program + QStringLiteral(".cAnimControl"), description);
}

void cAnimControl::StartPlay(int From, int To_, int Repeat) {
    if (!m_open || m_frames.isEmpty())
        return;
    // The frame numbers travel as 16-bit values; -1 names the last frame.
    const int last = static_cast<int>(m_frames.size()) - 1;
    const int to = static_cast<qint16>(To_);
    m_playFrom = std::clamp(static_cast<int>(static_cast<qint16>(From)), 0, last);
    m_playTo = to < 0 || to > last ? last : std::max(to, m_playFrom);
    m_repeatsLeft = Repeat;
    if (m_repeatsLeft == 0)
        return;
    showFrame(m_playFrom);
    m_timer.start(m_delays.at(m_frame));
}

void cAnimControl::StopPlay() {
    if (m_open)
        m_timer.stop();
}

void cAnimControl::nextFrame() {
    if (m_frame < m_playTo) {
        showFrame(m_frame + 1);
    } else {
        if (m_repeatsLeft > 0 && --m_repeatsLeft == 0)
            return;
        showFrame(m_playFrom);
    }
    m_timer.start(m_delays.at(m_frame));
}

void cAnimControl::showFrame(int index) {
    m_frame = index;
    if (!m_window)
        return;
    const QPixmap frame = QPixmap::fromImage(m_frames.at(index));
    m_window->setPixmap(m_centre ? frame : frame.scaled(m_window->size()));
}

void cAnimControl::setFilename(const QString& sFile) {
    closeClip();
    m_resourceId = 0;
    m_resourceFileName.clear();
    m_filename = sFile;
    openClip();
}

void cAnimControl::setResourceId(qint32 lId) {
    closeClip();
    m_filename.clear();
    m_resourceId = lId;
    openClip();
}

void cAnimControl::setResourceFileName(const QString& sFileName) {
    closeClip();
    m_filename.clear();
    m_resourceFileName = sFileName;
    openClip();
}

void cAnimControl::setOwner(QWidget* oFormOrControl) {
    if (!oFormOrControl)
        return;
    m_owner = oFormOrControl;
    createAnimationWindow();
    openClip();
}

void cAnimControl::setTransparent(bool bState) {
    setStyle(m_transparent, bState);
}
void cAnimControl::setCentre(bool bState) {
    setStyle(m_centre, bState);
}
void cAnimControl::setAutoPlay(bool bState) {
    setStyle(m_autoPlay, bState);
}

void cAnimControl::setStyle(bool& member, bool state) {
    if (member == state)
        return;
    member = state;
    if (!m_window)
        return;
    // A new window takes the new style; the clip that was shown comes back in it.
    const bool wasOpen = m_open;
    closeClip();
    createAnimationWindow();
    if (wasOpen)
        openClip();
}

QWidget* cAnimControl::hwnd() const {
    return m_window;
}

void cAnimControl::createAnimationWindow() {
    destroyAnimationWindow();
    if (!m_animationClassReady)
        m_animationClassReady = QMovie::supportedFormats().contains("gif");
    if (!m_animationClassReady || !m_owner)
        raise(ErrCreateFailed, QStringLiteral("Could not create Animation Control."));
    m_window = new QLabel(m_owner);
    m_window->setObjectName(QStringLiteral("SysAnimate32"));
    m_window->setAlignment(Qt::AlignCenter);
    // Transparent: the owner shows through the clip's background.
    m_window->setBackgroundRole(QPalette::Base);
    m_window->setAutoFillBackground(!m_transparent);
    m_window->setGeometry(m_owner->rect());
    m_window->hide();
}

void cAnimControl::destroyAnimationWindow() {
    m_timer.stop();
    delete m_window.data();
    m_window = nullptr;
}

void cAnimControl::openClip() {
    if (!m_window)
        return;
    if (m_resourceId != 0)
        loadFrames(clipResourcePath(),
                   QStringLiteral("Failed to open the AVI from the resource %1").arg(m_resourceId));
    else if (!m_filename.isEmpty())
        loadFrames(Paths::toNative(m_filename),
                   QStringLiteral("Failed to open the file '%1'").arg(m_filename));
    else
        return;
    m_window->show();
    m_shownRect = QRect(m_window->mapToGlobal(QPoint(0, 0)), m_window->size());
    m_window->setGeometry(m_owner->rect());
    m_open = true;
    showFrame(0);
    if (m_autoPlay)
        StartPlay(0, -1, -1);
}

QString cAnimControl::clipResourcePath() {
    QString root;
    if (!isOwnProgram(m_resourceFileName)) {
        const QString module = Paths::toNative(m_resourceFileName);
        const QString moduleRoot = nextModuleRoot();
        if (!QResource::registerResource(module, moduleRoot))
            raise(
                ErrLoadLibraryFailed,
                QStringLiteral("Failed to load the resource library '%1'").arg(m_resourceFileName));
        m_moduleFile = module;
        m_moduleRoot = moduleRoot;
        root = moduleRoot;
    }
    return QStringLiteral(":%1/avi/%2.gif").arg(root).arg(m_resourceId);
}

void cAnimControl::loadFrames(const QString& path, const QString& failure) {
    QImageReader reader(path);
    m_frames.clear();
    m_delays.clear();
    QImage frame;
    while (reader.read(&frame)) {
        m_frames.append(frame);
        const int delay = reader.nextImageDelay();
        m_delays.append(delay > 0 ? delay : DefaultFrameDelayMs);
    }
    if (m_frames.isEmpty()) {
        closeClip();
        raise(ErrOpenFailed, failure);
    }
}

void cAnimControl::closeClip() {
    if (m_window) {
        m_timer.stop();
        m_window->clear();
        m_window->hide();
    }
    m_frames.clear();
    m_delays.clear();
    if (!m_moduleFile.isEmpty()) {
        QResource::unregisterResource(m_moduleFile, m_moduleRoot);
        m_moduleFile.clear();
        m_moduleRoot.clear();
    }
    m_open = false;
}
