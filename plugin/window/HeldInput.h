// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

// While it lives, the user's keys and clicks meant for one window wait
// instead of acting in the middle of device I/O: the window system keeps its
// input queued (the event pumps between transactions exclude user input), and
// input that reaches the window anyway, sent or posted by the program, is held
// here and posted again, in its order, when the hold ends.
class HeldInput : public QObject {
public:
    explicit HeldInput(QWidget& window);
    ~HeldInput() override;
    HeldInput(const HeldInput&) = delete;
    HeldInput& operator=(const HeldInput&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    bool isInWindow(QObject* receiver) const;

    QWidget& m_window;
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_held;
};
