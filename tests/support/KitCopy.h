// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

// Copies `relative` of the project's kit (a folder or a file) to `to`, for a
// test or benchmark that needs a LonWorks folder of its own.
inline void copyFromKit(const QString& relative, const QString& to) {
    const QString from =
        QStringLiteral(RM42_KIT_DIR) + (relative.isEmpty() ? QString() : u'/' + relative);
    auto copy = [](const QString& source, const QString& target) {
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target))
            throw std::runtime_error("cannot copy " + source.toStdString() + " from the kit");
    };
    if (QFileInfo(from).isFile()) {
        copy(from, to);
        return;
    }
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        copy(source, to + u'/' + QDir(from).relativeFilePath(source));
    }
}
