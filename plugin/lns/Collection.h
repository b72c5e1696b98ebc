// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <memory>

namespace lns {

template <class T> using Ref = std::shared_ptr<T>;

// An LNS collection: counts from 1 and finds items by index or by name. A
// missing item fails with Error(LnsErrorBase + Code::NotFound).
template <class T> class Collection {
public:
    virtual ~Collection() = default;
    virtual int Count() const = 0;
    virtual Ref<T> Item(int index) const = 0;
    virtual Ref<T> Item(const QString& name) const = 0;
};

} // namespace lns
