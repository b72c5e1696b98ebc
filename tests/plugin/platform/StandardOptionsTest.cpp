// SPDX-License-Identifier: Apache-2.0
// What every program answers to --help: wrapped for a terminal of 80 columns,
// ending with where to report problems.
#include "platform/StandardOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpText, LongLinesBreakAtBlanksUnderTheirDescriptionOrSubcommand) {
    const QString option = QStringLiteral(
        "  --jobs N          devices worked on at once, 1 to 64 (default 8); the output is the "
        "same as one at a time");
    EXPECT_EQ(StandardOptions::wrappedText(option),
              QStringLiteral("  --jobs N          devices worked on at once, 1 to 64 (default 8); "
                             "the output\n"
                             "                    is the same as one at a time"));
    const QString usage = QStringLiteral(
        "usage: lns-host browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] [--units US|SI]");
    EXPECT_EQ(StandardOptions::wrappedText(usage),
              QStringLiteral("usage: lns-host browse NETWORK [SUBSYSTEM/DEVICE | --template NAME] "
                             "[--units\n"
                             "                US|SI]"));
    // Short lines and blank lines stay as they are; a word longer than the
    // width is not cut.
    const QString kept = QStringLiteral("usage: x\n\n  y\n") + QString(90, u'z');
    EXPECT_EQ(StandardOptions::wrappedText(kept), kept);
    for (const QString& line : StandardOptions::wrappedText(option + u'\n' + usage).split(u'\n'))
        EXPECT_LE(line.size(), 80) << qPrintable(line);
}

TEST(HelpText, EndsWithWhereToReportProblems) {
    QString help;
    QTextStream out(&help);
    EXPECT_EQ(StandardOptions::answer({QStringLiteral("--help")}, QStringLiteral("tool"),
                                      QStringLiteral("usage: tool\n"), out),
              0);
    EXPECT_TRUE(help.startsWith(QStringLiteral("usage: tool\n")));
    EXPECT_TRUE(help.endsWith(StandardOptions::reportProblems()));
    EXPECT_TRUE(
        StandardOptions::reportProblems().startsWith(QStringLiteral("Report problems to ")));
}

} // namespace
