// SPDX-License-Identifier: Apache-2.0
#include "ConfigurationFile.h"

#include "ConfigurationFields.h"
#include "FieldTexts.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString FormatName = QStringLiteral("rm42-config");

// A JSON string for the text, quoted and escaped.
QString jsonText(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Written by hand, as JSON objects would sort their members: the header
// first, then the fields in the order a person finds them in the window.
class OrderedJson {
public:
    void member(const QString& name, const QString& jsonValue) {
        separate();
        m_text += indent() + jsonText(name) + QStringLiteral(": ") + jsonValue;
    }
    void open(const QString& name) {
        separate();
        m_text += indent() + jsonText(name) + QStringLiteral(": {");
        m_first = true;
        ++m_depth;
    }
    void close() {
        --m_depth;
        m_text += m_first ? QStringLiteral("}") : u'\n' + indent() + u'}';
        m_first = false;
    }
    QByteArray finished() { return (m_text + QStringLiteral("\n}\n")).toUtf8(); }

private:
    void separate() {
        m_text += m_first ? QStringLiteral("\n") : QStringLiteral(",\n");
        m_first = false;
    }
    QString indent() const { return QString(m_depth * 4, u' '); }

    QString m_text = QStringLiteral("{");
    bool m_first = true;
    int m_depth = 1;
};

} // namespace

QString unitsName(qint16 unitSystem) {
    return unitSystem == 0 ? QStringLiteral("SI") : QStringLiteral("US");
}

std::optional<qint16> unitSystemNamed(const QString& name) {
    if (name == u"US")
        return qint16(1);
    if (name == u"SI")
        return qint16(0);
    return std::nullopt;
}

QByteArray configurationJson(const ConfigurationFile& file) {
    OrderedJson json;
    json.member(QStringLiteral("format"), jsonText(FormatName));
    json.member(QStringLiteral("formatVersion"), QString::number(ConfigurationFile::FormatVersion));
    json.member(QStringLiteral("programId"), jsonText(file.programId));
    json.member(QStringLiteral("source"), QStringLiteral("{\"network\": %1, \"device\": %2}")
                                              .arg(jsonText(file.network), jsonText(file.device)));
    json.member(QStringLiteral("model"), QString::number(file.model));
    json.member(QStringLiteral("hvacType"), jsonText(file.hvacType));
    json.member(QStringLiteral("units"), jsonText(unitsName(file.unitSystem)));
    json.member(QStringLiteral("saved"), jsonText(file.saved.toUTC().toString(Qt::ISODate)));
    json.open(QStringLiteral("fields"));
    const ConfigurationFields catalog(file.unitSystem);
    const QStringList& tabs = tabCaptions();
    for (int tab = 0; tab < tabs.size(); ++tab) {
        bool opened = false;
        for (const PlacedField& placed : catalog.placed()) {
            const auto value = file.fields.constFind(placed.name());
            if (placed.placement.tab != tab || value == file.fields.constEnd())
                continue;
            if (!opened)
                json.open(tabs[tab]);
            opened = true;
            json.member(placed.name(), jsonText(fileText(placed, *value)));
        }
        if (opened)
            json.close();
    }
    json.close();
    json.open(QStringLiteral("readOnly"));
    for (auto it = file.readOnly.cbegin(); it != file.readOnly.cend(); ++it)
        json.member(it.key(), jsonText(it.value()));
    json.close();
    return json.finished();
}
