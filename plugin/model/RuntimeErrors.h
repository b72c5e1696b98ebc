// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Error.h"

// The runtime failures that the model raises itself, with the numbers and
// texts the host and the user know from the original runtime.
namespace RuntimeErrors {

constexpr qint32 OverflowNumber = 6;
constexpr qint32 TypeMismatchNumber = 13;
constexpr qint32 ObjectNotSetNumber = 91;

Error overflow(const QString& source);
Error typeMismatch(const QString& source);
Error objectNotSet(const QString& source);
Error subscriptOutOfRange(const QString& source);
Error keyNotFound(const QString& source);
Error duplicateKey(const QString& source);

} // namespace RuntimeErrors
