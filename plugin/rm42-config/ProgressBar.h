// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QTextStream>

// A progress bar over a run of devices on standard error while that is a
// terminal, counting the devices done and naming the next one to report,
// cleared before each line of output; nothing otherwise.
class ProgressBar {
public:
    ProgressBar(QTextStream& err, int deviceCount);

    void show(int done, const QString& next);
    void clear();

private:
    QTextStream& m_err;
    int m_deviceCount;
    bool m_shown;
};
