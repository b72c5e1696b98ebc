// SPDX-License-Identifier: Apache-2.0
#include "model/LnsErrorText.h"

#include "lns/LnsCodes.h"

QString LnsErrorText(qint16 code) {
    switch (code) {
    case lns::Code::DeviceUnreachable:
        return QStringLiteral("Failed to communicate with target device.");
    case lns::Code::WriteFailed:
        return QStringLiteral("Failed to write data to the network variable object.");
    case lns::Code::FormatFailed:
        return QStringLiteral("An attempt to format the requested data has failed.");
    default:
        return QString();
    }
}
