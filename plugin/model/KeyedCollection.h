// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/RuntimeErrors.h"

#include <QHash>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

// An ordered collection with unique keys (compared exactly), walked by
// position 1 to Count() in insertion order.
template <class T> class KeyedCollection {
public:
    explicit KeyedCollection(QString name) : m_name(std::move(name)) {}

    int Count() const { return static_cast<int>(m_items.size()); }

    void Add(const QString& key, std::shared_ptr<T> item) {
        if (m_positions.contains(key))
            throw RuntimeErrors::duplicateKey(m_name);
        m_positions.insert(key, Count());
        m_items.push_back(std::move(item));
    }

    const std::shared_ptr<T>& Item(const QString& key) const {
        const auto found = m_positions.constFind(key);
        if (found == m_positions.constEnd())
            throw RuntimeErrors::keyNotFound(m_name);
        return m_items[*found];
    }

    const std::shared_ptr<T>& Item(int position) const {
        if (position < 1 || position > Count())
            throw RuntimeErrors::subscriptOutOfRange(m_name);
        return m_items[position - 1];
    }

    bool Contains(const QString& key) const { return m_positions.contains(key); }

    void Clear() {
        m_items.clear();
        m_positions.clear();
    }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    QString m_name;
    std::vector<std::shared_ptr<T>> m_items;
    QHash<QString, int> m_positions;
};
