// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Error.h"

#include <functional>
#include <gtest/gtest.h>

// The Error that `operation` fails with; a test failure when it does not fail.
inline Error failureOf(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no failure";
    return Error(0, {}, {});
}
