// SPDX-License-Identifier: Apache-2.0
#include "model/RuntimeErrors.h"

namespace RuntimeErrors {

Error overflow(const QString& source) {
    return Error(OverflowNumber, source, QStringLiteral("Overflow"));
}

Error typeMismatch(const QString& source) {
    return Error(TypeMismatchNumber, source, QStringLiteral("Type mismatch"));
}

Error objectNotSet(const QString& source) {
    return Error(ObjectNotSetNumber, source,
                 QStringLiteral("Object variable or With block variable not set"));
}

Error subscriptOutOfRange(const QString& source) {
    return Error(Error::SubscriptOutOfRange, source, QStringLiteral("Subscript out of range"));
}

Error keyNotFound(const QString& source) {
    return Error(Error::KeyNotFound, source, QStringLiteral("Invalid procedure call or argument"));
}

Error duplicateKey(const QString& source) {
    return Error(
        Error::DuplicateKey, source,
        QStringLiteral("This key is already associated with an element of this collection"));
}

} // namespace RuntimeErrors
