// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Dialogs.h"
#include "platform/Error.h"

#include <functional>
#include <vector>

// The system's procedures run their steps under one error handler: on a
// failure the user answers Abort (end the procedure with its failure result),
// Retry (run the failed step again) or Ignore (go on with the next step).
enum class StepFailureAnswer { Abort, Retry, Ignore };

using ProcedureStep = std::function<void()>;
using StepFailureHandler = std::function<StepFailureAnswer(const Error&)>;

// Runs the steps in order; false when the handler answered Abort. Failures
// other than Error reach the handler as an Error with the failure's text.
bool runSteps(const std::vector<ProcedureStep>& steps, const StepFailureHandler& handler);

struct AbortRetryIgnoreBox {
    QString title;
    DialogIcon icon = DialogIcon::Critical;
    // The message of the box; the error's description when not set.
    std::function<QString(const Error&)> text;
    // Runs before the box is shown, for example to log the failure.
    std::function<void(const Error&)> before;
};

// A handler that asks the user through an Abort/Retry/Ignore message box.
StepFailureHandler askAbortRetryIgnore(Dialogs& dialogs, AbortRetryIgnoreBox box);
