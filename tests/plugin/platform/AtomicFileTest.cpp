// SPDX-License-Identifier: Apache-2.0
#include "platform/AtomicFile.h"

#include "Failures.h"
#include "lns/LnsCodes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

mode_t modeOf(const QString& file) {
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    return status.st_mode & 0777;
}

} // namespace

TEST(AtomicFile, ASavedFileHasTheModeOfTheUmaskAndNoCopyIsLeftBeside) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("RM42xx.XFB"));
    const mode_t previous = ::umask(022);
    AtomicFile::write(file, "first");
    ::umask(027);
    AtomicFile::write(file, "second");
    ::umask(previous);
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("second"));
    EXPECT_EQ(modeOf(file), 0640u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("RM42xx.XFB")});
}

TEST(AtomicFile, AFailedSaveNamesTheFileAndTheSystemsReason) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("missing/RM42xx.XFB"));
    const Error error = failureOf([&] { AtomicFile::write(file, "content"); });
    EXPECT_EQ(error.lnsCode(), lns::Code::DatabaseInvalid);
    EXPECT_EQ(error.description(),
              QStringLiteral("Cannot save %1: No such file or directory").arg(file));
}

TEST(AtomicFile, APathThatIsNoRegularFileIsRefusedAndLeftInPlace) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, folder.path()}) {
        const Error error = failureOf([&] { AtomicFile::write(path, "content"); });
        EXPECT_EQ(error.description(),
                  QStringLiteral("Cannot save %1: it is not a regular file").arg(path));
    }
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}
