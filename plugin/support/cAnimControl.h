// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>

class QLabel;
class QWidget;

// Plays a silent clip inside another widget, its owner. A clip comes from a
// file or from a module's resources, where clip N is "avi/N.gif"; the module
// is this program (an empty ResourceFileName, or the program's own file) or
// a compiled resource file (.rcc) named by ResourceFileName. Failures raise
// Error 45001 to 45003 with the source "<program>.cAnimControl".
class cAnimControl : public QObject {
    Q_OBJECT

public:
    static constexpr qint32 ErrCreateFailed = 45001;
    static constexpr qint32 ErrOpenFailed = 45002;
    static constexpr qint32 ErrLoadLibraryFailed = 45003;

    cAnimControl();
    ~cAnimControl() override;

    // Plays frames From to To_ (-1: the last), Repeat times (-1: for ever).
    void StartPlay(int From = 0, int To_ = -1, int Repeat = -1);
    void StopPlay();
    QString Filename() const { return m_filename; }
    void setFilename(const QString& sFile);
    qint32 ResourceId() const { return m_resourceId; }
    void setResourceId(qint32 lId);
    QString ResourceFileName() const { return m_resourceFileName; }
    void setResourceFileName(const QString& sFileName);
    QWidget* Owner() const { return m_owner; }
    void setOwner(QWidget* oFormOrControl);
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool bState);
    bool Centre() const { return m_centre; }
    void setCentre(bool bState);
    bool AutoPlay() const { return m_autoPlay; }
    void setAutoPlay(bool bState);
    // The animation window's rectangle as it was when the clip was shown:
    // it covers the owner's client area.
    qint32 Width() const { return m_shownRect.width(); }
    qint32 Height() const { return m_shownRect.height(); }
    // The animation window, or nullptr.
    QWidget* hwnd() const;

    bool isOpen() const { return m_open; }
    bool isPlaying() const { return m_timer.isActive(); }
    int currentFrame() const { return m_frame; }

private:
    void setStyle(bool& member, bool state);
    void createAnimationWindow();
    void destroyAnimationWindow();
    void openClip();
    void closeClip();
    QString clipResourcePath();
    void loadFrames(const QString& path, const QString& failure);
    void showFrame(int index);
    void nextFrame();
    [[noreturn]] void raise(qint32 number, const QString& description) const;

    QString m_filename;
    qint32 m_resourceId = 0;
    QString m_resourceFileName;
    QPointer<QWidget> m_owner;
    bool m_transparent = false;
    bool m_centre = false;
    bool m_autoPlay = false;

    QPointer<QLabel> m_window;
    QString m_moduleFile; // a registered resource file, unregistered on close
    QString m_moduleRoot;
    bool m_open = false;
    bool m_animationClassReady = false;
    QRect m_shownRect;

    QList<QImage> m_frames;
    QList<int> m_delays;
    QTimer m_timer;
    int m_frame = 0;
    int m_playFrom = 0;
    int m_playTo = 0;
    int m_repeatsLeft = 0;
};
