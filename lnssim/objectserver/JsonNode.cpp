// SPDX-License-Identifier: Apache-2.0
#include "objectserver/JsonNode.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"
#include "platform/JsonReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace lns::sim {

JsonNode::JsonNode(QJsonValue value, QString path, QString file)
    : m_value(std::move(value)), m_path(std::move(path)), m_file(std::move(file)) {}

JsonNode JsonNode::parseDocument(const QByteArray& content, const QString& file) {
    QString problem;
    const std::optional<QJsonDocument> document = readJson(content, problem);
    if (!document)
        throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1: %2").arg(file, problem));
    JsonNode root(document->isObject() ? QJsonValue(document->object()) : QJsonValue(), QString(),
                  file);
    if (!document->isObject())
        root.fail(QStringLiteral("must be a JSON object"));
    return root;
}

void JsonNode::fail(const QString& problem) const {
    const QString subject = m_path.isEmpty() ? QStringLiteral("the top level")
                                             : QStringLiteral("field \"%1\"").arg(m_path);
    throw Error::lns(Code::DatabaseInvalid, QStringLiteral("LNS Object Server"),
                     QStringLiteral("%1: %2 %3").arg(m_file, subject, problem));
}

QJsonObject JsonNode::object() const {
    if (!m_value.isObject())
        fail(QStringLiteral("is not an object"));
    return m_value.toObject();
}

bool JsonNode::has(const char* key) const {
    return object().contains(QLatin1String(key));
}

JsonNode JsonNode::field(const char* key) const {
    const QJsonObject fields = object();
    const QString name = QLatin1String(key);
    const QString path = m_path.isEmpty() ? name : m_path + QLatin1Char('.') + name;
    JsonNode child(fields.value(name), path, m_file);
    if (!fields.contains(name))
        child.fail(QStringLiteral("is missing"));
    return child;
}

QString JsonNode::toString() const {
    if (!m_value.isString())
        fail(QStringLiteral("is not a string"));
    return m_value.toString();
}

int JsonNode::toInt(int min, int max) const {
    const double number = m_value.toDouble();
    if (!m_value.isDouble() || std::floor(number) != number)
        fail(QStringLiteral("is not a whole number"));
    if (number < min || number > max)
        fail(QStringLiteral("is outside %1 to %2").arg(min).arg(max));
    return static_cast<int>(number);
}

bool JsonNode::toBool() const {
    if (!m_value.isBool())
        fail(QStringLiteral("is not true or false"));
    return m_value.toBool();
}

QByteArray JsonNode::toHex() const {
    const QString text = toString();
    const bool pairs = text.size() % 2 == 0;
    const bool digits = std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    });
    if (!pairs || !digits)
        fail(QStringLiteral("is not hexadecimal digit pairs"));
    return QByteArray::fromHex(text.toLatin1());
}

std::vector<JsonNode> JsonNode::elements() const {
    if (!m_value.isArray())
        fail(QStringLiteral("is not an array"));
    const QJsonArray array = m_value.toArray();
    std::vector<JsonNode> result;
    result.reserve(static_cast<size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i)
        result.push_back(
            JsonNode(array.at(i), QStringLiteral("%1[%2]").arg(m_path).arg(i), m_file));
    return result;
}

QString JsonNode::stringOr(const char* key, const QString& fallback) const {
    return has(key) ? field(key).toString() : fallback;
}

int JsonNode::intOr(const char* key, int min, int max, int fallback) const {
    return has(key) ? field(key).toInt(min, max) : fallback;
}

bool JsonNode::boolOr(const char* key, bool fallback) const {
    return has(key) ? field(key).toBool() : fallback;
}

} // namespace lns::sim
