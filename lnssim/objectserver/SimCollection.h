// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/Collection.h"
#include "lns/LnsCodes.h"
#include "objectserver/DatabaseRecords.h"
#include "objectserver/Journal.h"
#include "platform/Error.h"

#include <QString>

namespace lns::sim {

// A collection over records: counts from 1, finds by index or by name, and
// wraps the record it finds in the object callers see. `Base` is the
// collection interface (Collection<T> or one with more members).
template <class T, class Record, class Base = Collection<T>> class SimCollection : public Base {
public:
    int Count() const override {
        beginCall(m_label + QStringLiteral(".Count"));
        return static_cast<int>(records().size());
    }

    Ref<T> Item(int index) const override {
        beginCall(m_label + QStringLiteral(".Item %1").arg(index));
        const auto& all = records();
        if (index < 1 || index > static_cast<int>(all.size()))
            throw notFound(QString::number(index));
        return wrap(all[static_cast<size_t>(index - 1)]);
    }

    Ref<T> Item(const QString& name) const override {
        beginCall(m_label + QStringLiteral(".Item ") + Journal::quoted(name));
        for (const auto& record : records()) {
            if (matches(*record, name))
                return wrap(record);
        }
        throw notFound(Journal::quoted(name));
    }

protected:
    explicit SimCollection(QString label) : m_label(std::move(label)) {}

    // Journals the call and brings the records up to date.
    virtual void beginCall(const QString& line) const = 0;
    virtual const SharedList<Record>& records() const = 0;
    virtual Ref<T> wrap(const Shared<Record>& record) const = 0;
    virtual bool matches(const Record& record, const QString& name) const {
        if constexpr (requires { record.name == name; })
            return record.name == name;
        else
            return false;
    }

    Error notFound(const QString& what) const {
        return Error::lns(Code::NotFound, QStringLiteral("LNS Object Server"),
                          QStringLiteral("%1 has no item %2.").arg(m_label, what));
    }

    const QString& label() const { return m_label; }

private:
    QString m_label;
};

} // namespace lns::sim
