// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/ProgressWindow.h"

#include <QWidget>
#include <memory>

class QLabel;
class cAnimControl;

// The progress window: the animation and one line of status while a long
// operation runs. Loading it shows the busy mouse pointer, unloading
// (destroying) it restores the normal one.
class fProgress : public QWidget, public ProgressWindow {
    Q_OBJECT

public:
    static constexpr qint32 AnimationResource = 201;

    explicit fProgress(QWidget* parent = nullptr);
    ~fProgress() override;

    // A loaded and shown progress window, as the plug-in object asks for one.
    static std::unique_ptr<ProgressWindow> open();

    // Shows the window if it is not visible and sets the status text.
    void DisplayStatus(const QString& text) override;

    // The progress window of the operation that runs now, if any: long steps
    // deep inside an operation report to it.
    static fProgress* current() { return s_current; }

    QLabel* picResAnim = nullptr;
    QLabel* Status = nullptr;
    const cAnimControl* animation() const { return m_animation.get(); }

private:
    void startAnimation();
    void showCentred();

    std::unique_ptr<cAnimControl> m_animation;
    fProgress* m_previous = nullptr;
    static inline fProgress* s_current = nullptr;
};
