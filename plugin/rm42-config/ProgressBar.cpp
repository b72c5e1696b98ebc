// SPDX-License-Identifier: Apache-2.0
#include "ProgressBar.h"

#include "platform/PrintableText.h"

#include <unistd.h>

namespace {

constexpr int BarWidth = 30;

} // namespace

ProgressBar::ProgressBar(QTextStream& err, int deviceCount)
    : m_err(err), m_deviceCount(deviceCount), m_shown(isatty(STDERR_FILENO) == 1) {}

void ProgressBar::show(int done, const QString& next) {
    if (!m_shown)
        return;
    const int filled = m_deviceCount == 0 ? BarWidth : done * BarWidth / m_deviceCount;
    m_err << "\r[" << QString(filled, u'#') << QString(BarWidth - filled, u' ') << "] " << done
          << '/' << m_deviceCount << " done, " << printable(next) << "\x1b[K";
    m_err.flush();
}

void ProgressBar::clear() {
    if (!m_shown)
        return;
    m_err << "\r\x1b[K";
    m_err.flush();
}
