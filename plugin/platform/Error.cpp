// SPDX-License-Identifier: Apache-2.0
#include "platform/Error.h"

Error::Error(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what(
          QStringLiteral("%1 (%2): %3").arg(m_number).arg(m_source, m_description).toStdString()) {}

Error Error::lns(int code, const QString& source, const QString& description) {
    return Error(
        static_cast<qint32>(static_cast<quint32>(LnsErrorBase) + static_cast<quint32>(code)),
        source, description);
}

int Error::lnsCode() const {
    const qint64 difference = static_cast<qint64>(m_number) - static_cast<qint64>(LnsErrorBase);
    if (difference < 0 || difference > 0xFFFF)
        return -1;
    return static_cast<int>(difference);
}
