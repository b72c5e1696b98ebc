// SPDX-License-Identifier: Apache-2.0
#include "automation/ObjectPath.h"

namespace {

// Blanks only: a tab or line break stays part of the name.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace

// One pass over the name: after each "/" the rest of the name is taken
// without its surrounding blanks, and an empty element ends the path.
ObjectPath ObjectPath::split(const QString& objectName) {
    ObjectPath path;
    qsizetype start = 0;
    qsizetype end = objectName.size();
    bool endTrimmed = false;
    while (start < end) {
        qsizetype slash = objectName.indexOf(QLatin1Char('/'), start);
        if (slash >= end)
            slash = -1;
        const qsizetype elementEnd = slash < 0 ? end : slash;
        if (elementEnd == start)
            break;
        path.m_elements.append(objectName.mid(start, elementEnd - start));
        if (slash < 0)
            break;
        start = slash + 1;
        while (start < end && objectName.at(start) == QLatin1Char(' '))
            ++start;
        // Trailing blanks belong to the name's end, trimmed once.
        while (!endTrimmed && end > start && objectName.at(end - 1) == QLatin1Char(' '))
            --end;
        endTrimmed = true;
    }
    return path;
}

QString ObjectPath::Element(int k) const {
    if (k < 1 || k > Count())
        return QString();
    return m_elements.at(k - 1);
}

QString ObjectPath::ElementName(int k) const {
    const QString element = Element(k);
    const qsizetype colon = element.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const QString afterColon = trimBlanks(element.mid(colon + 1));
        if (!afterColon.isEmpty())
            return afterColon;
    }
    return element;
}
