// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: the header of any .XIF file found while searching folders.
#include "registration/DeviceFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QTemporaryDir folder;
    static const QString path = folder.filePath("fuzz.XIF");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    // Either no program ID or the 16 characters stored with a template.
    const QString id = DeviceFile::ProgramIdOfFile(path);
    if (!id.isEmpty() && id.size() != 16)
        __builtin_trap();
    return 0;
}
