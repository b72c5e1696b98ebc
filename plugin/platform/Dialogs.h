// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Every message box, question and file dialog of the program goes through
// this interface, so that tests can answer them.
enum class DialogButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class DialogIcon { None, Critical, Question, Warning, Information };
enum class DialogAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

struct MessageRequest {
    QString text;
    QString title;
    DialogButtons buttons = DialogButtons::Ok;
    DialogIcon icon = DialogIcon::None;
    int defaultButton = 0; // position of the default button, 0 for the first
};

struct FileRequest {
    QString title;
    QString startFolder;
    QString filter; // the platform's form: "Description (*.EXT)|*.EXT|..."
    int filterIndex = 1;
    bool mustExist = false;
    bool hideReadOnly = true;
    QString fileName;      // proposed name for a save dialog
    QString defaultSuffix; // added to a saved name typed without one, e.g. "csv"
};

// The answer of the request's default button, as Enter would give it.
DialogAnswer defaultAnswerOf(const MessageRequest& request);

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogAnswer message(const MessageRequest& request) = 0;
    // The chosen path, or empty when cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;

    // Shorthand for a one-button message.
    void inform(const QString& text, const QString& title, DialogIcon icon) {
        message({text, title, DialogButtons::Ok, icon, 0});
    }
};
