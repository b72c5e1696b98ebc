// SPDX-License-Identifier: Apache-2.0
#include "platform/AbortRetryIgnore.h"

bool runSteps(const std::vector<ProcedureStep>& steps, const StepFailureHandler& handler) {
    for (const ProcedureStep& step : steps) {
        for (;;) {
            StepFailureAnswer answer;
            try {
                step();
                break;
            } catch (const Error& error) {
                answer = handler(error);
            } catch (const std::exception& failure) {
                answer = handler(Error(-1, QString(), QString::fromLocal8Bit(failure.what())));
            }
            if (answer == StepFailureAnswer::Abort)
                return false;
            if (answer == StepFailureAnswer::Ignore)
                break;
        }
    }
    return true;
}

StepFailureHandler askAbortRetryIgnore(Dialogs& dialogs, AbortRetryIgnoreBox box) {
    return [&dialogs, box = std::move(box)](const Error& error) {
        if (box.before)
            box.before(error);
        const QString text = box.text ? box.text(error) : error.description();
        switch (dialogs.message({text, box.title, DialogButtons::AbortRetryIgnore, box.icon, 0})) {
        case DialogAnswer::Retry:
            return StepFailureAnswer::Retry;
        case DialogAnswer::Ignore:
            return StepFailureAnswer::Ignore;
        default:
            return StepFailureAnswer::Abort;
        }
    };
}
