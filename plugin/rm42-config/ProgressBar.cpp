// SPDX-License-Identifier: Apache-2.0
#include "ProgressBar.h"

#include "platform/PrintableText.h"

#include <unistd.h>

namespace {

constexpr int BarWidth = 30;

} // namespace

ProgressBar::ProgressBar(QTextStream& err, int deviceCount)
    : m_err(err), m_deviceCount(deviceCount), m_shown(isatty(STDERR_FILENO) == 1) {}

void ProgressBar::starting(int position, const QString& device) {
    if (!m_shown)
        return;
    const int done = m_deviceCount == 0 ? BarWidth : position * BarWidth / m_deviceCount;
    m_err << "\r[" << QString(done, u'#') << QString(BarWidth - done, u' ') << "] " << position + 1
          << '/' << m_deviceCount << ' ' << printable(device) << "\x1b[K";
    m_err.flush();
}

void ProgressBar::clear() {
    if (!m_shown)
        return;
    m_err << "\r\x1b[K";
    m_err.flush();
}
