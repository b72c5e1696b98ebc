// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Dialogs.h"

#include <QString>

// Dialogs for a plug-in that runs where nobody can answer: every message is
// written to standard error and answered with its default button; file
// dialogs are cancelled. Chosen with RM42_UNATTENDED=1.
class UnattendedDialogs : public Dialogs {
public:
    DialogAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;

    static bool requested();
};
