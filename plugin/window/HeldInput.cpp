// SPDX-License-Identifier: Apache-2.0
#include "window/HeldInput.h"

#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

namespace {

bool actsOnTheWindow(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

HeldInput::HeldInput(QWidget& window) : m_window(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

HeldInput::~HeldInput() {
    QCoreApplication::instance()->removeEventFilter(this);
    for (auto& [receiver, event] : m_held) {
        if (receiver)
            QCoreApplication::postEvent(receiver, event.release());
    }
}

bool HeldInput::eventFilter(QObject* receiver, QEvent* event) {
    if (!actsOnTheWindow(event->type()) || !isInWindow(receiver))
        return false;
    m_held.emplace_back(receiver, std::unique_ptr<QEvent>(event->clone()));
    return true;
}

// Message boxes asked meanwhile are windows of their own and take input.
bool HeldInput::isInWindow(QObject* receiver) const {
    if (receiver == m_window.windowHandle())
        return true;
    auto* widget = qobject_cast<QWidget*>(receiver);
    return widget && (widget == &m_window || m_window.isAncestorOf(widget));
}
