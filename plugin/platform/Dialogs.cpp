// SPDX-License-Identifier: Apache-2.0
#include "platform/Dialogs.h"

#include <QList>

DialogAnswer defaultAnswerOf(const MessageRequest& request) {
    QList<DialogAnswer> answers;
    switch (request.buttons) {
    case DialogButtons::Ok:
        answers = {DialogAnswer::Ok};
        break;
    case DialogButtons::OkCancel:
        answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
        break;
    case DialogButtons::AbortRetryIgnore:
        answers = {DialogAnswer::Abort, DialogAnswer::Retry, DialogAnswer::Ignore};
        break;
    case DialogButtons::YesNoCancel:
        answers = {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel};
        break;
    case DialogButtons::YesNo:
        answers = {DialogAnswer::Yes, DialogAnswer::No};
        break;
    case DialogButtons::RetryCancel:
        answers = {DialogAnswer::Retry, DialogAnswer::Cancel};
        break;
    }
    return answers.value(request.defaultButton, answers.value(0, DialogAnswer::Ok));
}
