// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>
#include <QStringList>

// An object name sent by the host, such as "Net/Sys/Sub1/Dev1/Obj:3", split
// into its elements. Elements count from 1.
class ObjectPath {
public:
    ObjectPath() = default;

    // Takes the text before each "/" as the next element and trims the rest;
    // the first empty element ends the path.
    static ObjectPath split(const QString& objectName);

    int Count() const { return static_cast<int>(m_elements.size()); }
    // Element k, or empty when k is outside 1 to Count().
    QString Element(int k) const;
    // The name element k stands for: the text after its first ":" (trimmed)
    // when that is not empty, otherwise the whole element.
    QString ElementName(int k) const;

private:
    QStringList m_elements;
};
