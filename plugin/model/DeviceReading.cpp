// SPDX-License-Identifier: Apache-2.0
#include "model/DeviceReading.h"

QByteArray DeviceReading::element(const lns::ConfigProperty& property, int index) {
    const auto key = std::make_pair(&property, index);
    const auto found = m_fetched.find(key);
    if (found != m_fetched.end())
        return found->second;
    const QByteArray fetched = property.FetchElement(index);
    m_fetched.emplace(key, fetched);
    return fetched;
}
