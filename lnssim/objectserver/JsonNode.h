// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <vector>

namespace lns::sim {

// One value of a database file, with the path that names it
// ("systems[0].subsystems[1].name"). Every read checks presence and type and
// throws Error(DatabaseInvalid) naming the file and the field, so a bad file
// is refused whole instead of half-loaded.
class JsonNode {
public:
    // Parses the file's content; bad JSON or a top level that is not an object fails.
    static JsonNode parseDocument(const QByteArray& content, const QString& file);

    JsonNode field(const char* key) const; // required
    bool has(const char* key) const;

    QString toString() const;
    int toInt(int min, int max) const;
    bool toBool() const;
    QByteArray toHex() const; // a string of hexadecimal digit pairs
    std::vector<JsonNode> elements() const;

    // Optional fields: the fallback when absent, checked when present.
    QString stringOr(const char* key, const QString& fallback) const;
    int intOr(const char* key, int min, int max, int fallback) const;
    bool boolOr(const char* key, bool fallback) const;

    [[noreturn]] void fail(const QString& problem) const;

private:
    JsonNode(QJsonValue value, QString path, QString file);
    QJsonObject object() const;

    QJsonValue m_value;
    QString m_path;
    QString m_file;
};

} // namespace lns::sim
