#include "host/ObjectPath.h"

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

ObjectPath ObjectPath::split(const QString& objectName) {
    ObjectPath path;
    QString rest = objectName;
    while (!rest.isEmpty()) {
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        const QString element = slash < 0 ? rest : rest.left(slash);
        if (element.isEmpty())
            break;
        path.m_elements.append(element);
        rest = slash < 0 ? QString() : trimBlanks(rest.mid(slash + 1));
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
