// SPDX-License-Identifier: Apache-2.0
#include "support/ReadingWindowKeys.h"

#include <QKeySequence>
#include <QObject>
#include <QShortcut>
#include <QWidget>

void closeOnReadingKeys(QWidget* window, const std::function<void()>& close) {
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close),
                                    QKeySequence(Qt::CTRL | Qt::Key_W)})
        QObject::connect(new QShortcut(key, window), &QShortcut::activated, window, close);
}
