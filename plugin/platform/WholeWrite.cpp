// SPDX-License-Identifier: Apache-2.0
#include "platform/WholeWrite.h"

bool writeWhole(QIODevice& device, const QByteArray& data) {
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 written = device.write(data.constData() + done, data.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}
