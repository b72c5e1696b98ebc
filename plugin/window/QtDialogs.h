// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Dialogs.h"

#include <QStringList>

class QWidget;

// The real dialogs: message boxes and file dialogs of Qt.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    DialogAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;

    // "Description (*.XIF)|*.XIF|..." as Qt's name filters.
    static QStringList nameFilters(const QString& platformFilter);

private:
    QWidget* m_parent;
};
