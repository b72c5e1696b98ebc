// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ProgressWindow.h"

#include <QWidget>
#include <memory>

class QLabel;
class cAnimControl;

// The progress window: the animation and one line of status while a long
// operation runs. The process builds it, with its animation's frames, once;
// each operation loads it (open()), which shows the busy mouse pointer and
// the first status, and unloading it (the operation's object going) hides it
// and restores the normal pointer, as if each had a window of its own.
class fProgress : public QWidget {
    Q_OBJECT

public:
    static constexpr qint32 AnimationResource = 201;
    static inline const QString FirstStatus = QStringLiteral("Initializating plug-in . . .");

    explicit fProgress(QWidget* parent = nullptr);
    ~fProgress() override;

    // The process's progress window loaded, as the plug-in object asks for one.
    static std::unique_ptr<ProgressWindow> open();

    // Shows the window if it is not visible and sets the status text.
    void DisplayStatus(const QString& text);

    // The progress window while an operation has it loaded: long steps deep
    // inside an operation report to it.
    static fProgress* current();

    QLabel* picResAnim = nullptr;
    QLabel* Status = nullptr;
    const cAnimControl* animation() const { return m_animation.get(); }

private:
    class Loaded;

    void startAnimation();
    void showCentred();
    void load();
    void unload();

    std::unique_ptr<cAnimControl> m_animation;
    int m_loads = 0; // operations that have it loaded, one inside another
};
