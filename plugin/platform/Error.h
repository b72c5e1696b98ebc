// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <exception>
#include <string>

// A failure as the host and the user see it: number, source and description.
// LNS failures carry LnsErrorBase plus the LNS code.
class Error : public std::exception {
public:
    static constexpr qint32 LnsErrorBase = static_cast<qint32>(0x80040000u);
    // Error numbers of the runtime that the system's procedures raise themselves.
    static constexpr qint32 SubscriptOutOfRange = 9;
    static constexpr qint32 KeyNotFound = 5;
    static constexpr qint32 DuplicateKey = 457;

    Error(qint32 number, QString source, QString description);

    static Error lns(int code, const QString& source, const QString& description);

    qint32 number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }

    // The LNS code when number - LnsErrorBase fits in 16 bits, otherwise -1.
    int lnsCode() const;

    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};
