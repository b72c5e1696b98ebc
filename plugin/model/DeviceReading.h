// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"

#include <QByteArray>
#include <map>
#include <utility>

// One reading of a device's values: every property element is fetched from
// the device once, however many values show it (a value read again, or the
// same element in another format), since each fetch is a device transaction.
// A fetch that failed is tried again by the next value that needs it.
class DeviceReading {
public:
    // Element `index` of `property`: as fetched before in this reading, else
    // fetched now.
    QByteArray element(const lns::ConfigProperty& property, int index);

private:
    std::map<std::pair<const lns::ConfigProperty*, int>, QByteArray> m_fetched;
};
