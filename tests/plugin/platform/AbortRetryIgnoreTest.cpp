// SPDX-License-Identifier: Apache-2.0
#include "platform/AbortRetryIgnore.h"

#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

// Three steps; the second fails the first `failures` times it runs.
struct Procedure {
    int failures;
    QStringList ran;
    std::vector<ProcedureStep> steps() {
        return {[this] { ran << QStringLiteral("one"); },
                [this] {
                    ran << QStringLiteral("two");
                    if (failures-- > 0)
                        throw Error(7, QStringLiteral("Step"), QStringLiteral("step two failed"));
                },
                [this] { ran << QStringLiteral("three"); }};
    }
};

StepFailureHandler answering(std::vector<StepFailureAnswer> answers) {
    return [answers, next = size_t{0}](const Error&) mutable { return answers.at(next++); };
}

TEST(AbortRetryIgnore, RetryRunsTheFailedStepAgain) {
    Procedure procedure{2, {}};
    EXPECT_TRUE(runSteps(procedure.steps(),
                         answering({StepFailureAnswer::Retry, StepFailureAnswer::Retry})));
    EXPECT_EQ(procedure.ran.join(QLatin1Char(' ')), QStringLiteral("one two two two three"));
}

TEST(AbortRetryIgnore, IgnoreGoesOnWithTheNextStep) {
    Procedure procedure{5, {}};
    EXPECT_TRUE(runSteps(procedure.steps(), answering({StepFailureAnswer::Ignore})));
    EXPECT_EQ(procedure.ran.join(QLatin1Char(' ')), QStringLiteral("one two three"));
}

TEST(AbortRetryIgnore, AbortEndsTheProcedureWithFailure) {
    Procedure procedure{5, {}};
    EXPECT_FALSE(runSteps(procedure.steps(),
                          answering({StepFailureAnswer::Retry, StepFailureAnswer::Abort})));
    EXPECT_EQ(procedure.ran.join(QLatin1Char(' ')), QStringLiteral("one two two"));
}

TEST(AbortRetryIgnore, TheBoxShowsTheFailureAndMapsTheAnswers) {
    ScriptedDialogs dialogs;
    dialogs.queueAnswer(DialogAnswer::Retry);
    dialogs.queueAnswer(DialogAnswer::Ignore);
    QStringList logged;
    Procedure procedure{5, {}};
    const bool completed = runSteps(
        procedure.steps(),
        askAbortRetryIgnore(dialogs, {QStringLiteral("fMain InitDevice"),
                                      DialogIcon::Critical,
                                      {},
                                      [&](const Error& e) { logged << e.description(); }}));
    EXPECT_TRUE(completed);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("step two failed"));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("fMain InitDevice"));
    EXPECT_EQ(dialogs.messages[0].buttons, DialogButtons::AbortRetryIgnore);
    EXPECT_EQ(logged.size(), 2);
}

TEST(AbortRetryIgnore, FailuresOtherThanErrorsReachTheHandler) {
    std::vector<ProcedureStep> steps = {[] { throw std::runtime_error("out of range"); }};
    QString seen;
    EXPECT_FALSE(runSteps(steps, [&](const Error& error) {
        seen = error.description();
        return StepFailureAnswer::Abort;
    }));
    EXPECT_EQ(seen, QStringLiteral("out of range"));
}

} // namespace
