#include "lns/sim/XifReader.h"

#include "lns/LnsCodes.h"
#include "lns/sim/XifLines.h"
#include "lns/sim/XifProperties.h"
#include "platform/Error.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

namespace lns::sim::XifReader {

namespace {

constexpr int MaximumIndex = 65534; // 0xFFFF means "none"
constexpr int SupportedVersion = 4;

class Reader {
public:
    explicit Reader(const XifLines& lines) : m_lines(lines) {}

    XifDocument run() {
        header();
        nodeLines();
        nodeDocumentation();
        while (m_number <= m_lines.count())
            record();
        attachProperties();
        return m_document;
    }

private:
    struct NetworkVariableValue {
        int line;
        int index;
        QStringView hex;
    };

    [[noreturn]] void fail(int line, const QString& reason) const { m_lines.fail(line, reason); }

    int number(int line, QStringView text, int min, int max, const char* what) const {
        return xifNumber(m_lines, line, text, min, max, what);
    }

    QList<QStringView> nextWords() { return xifWords(m_lines.line(m_number)); }

    // The record begun on `start` needs one more line.
    void expectLine(int start, const char* kind, const char* what) const {
        if (m_number > m_lines.count())
            fail(m_lines.count(), QStringLiteral("the file ends inside the %1 record begun on "
                                                 "line %2; expected %3")
                                      .arg(QLatin1String(kind))
                                      .arg(start)
                                      .arg(QLatin1String(what)));
    }

    void header() {
        static const QRegularExpression version(QStringLiteral("XIF Version\\s+(\\d+)"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = version.match(m_lines.line(1));
        if (match.hasMatch() && match.captured(1).toInt() != SupportedVersion)
            fail(1, QStringLiteral("expected an external interface file of version 4.x, not "
                                   "version %1")
                        .arg(match.captured(1)));
        int line = 4;
        if (m_lines.count() >= 4 && m_lines.line(4).trimmed().isEmpty())
            line = 5;
        if (line > m_lines.count())
            fail(m_lines.count(), QStringLiteral("the file ends before the program ID line"));
        m_document.programId = programId(line);
        m_number = line + 1;
    }

    QString programId(int line) const {
        // Each group captured on its own: a separator outside the BMP takes two
        // code units, so fixed offsets would cut the groups apart.
        static const QRegularExpression pattern(
            QStringLiteral("^([0-9A-Fa-f]{2})") +
            QStringLiteral("[^0-9A-Fa-f\\s]([0-9A-Fa-f]{2})").repeated(7) +
            QStringLiteral("\\s*$"));
        const QRegularExpressionMatch match = pattern.match(m_lines.line(line));
        if (!match.hasMatch())
            fail(line, QStringLiteral("expected the program ID: eight two-digit hexadecimal "
                                      "groups separated by one character"));
        QString digits;
        for (int group = 1; group <= 8; ++group)
            digits += match.captured(group);
        return digits.toUpper();
    }

    // The node and channel lines hold numbers only; the "*" line ends them.
    void nodeLines() {
        for (; m_number <= m_lines.count(); ++m_number) {
            const QList<QStringView> words = nextWords();
            if (!words.isEmpty() && words.first().startsWith(QLatin1Char('*'))) {
                ++m_number;
                return;
            }
            for (const QStringView word : words) {
                if (!xifIsInteger(word))
                    fail(m_number, QStringLiteral("expected a node or channel line of numbers or "
                                                  "the \"*\" line, not \"%1\"")
                                       .arg(word.left(40)));
            }
        }
        fail(m_lines.count(),
             QStringLiteral("the file ends before the \"*\" line after the node lines"));
    }

    void skipBlankLines() {
        while (m_number <= m_lines.count() && m_lines.line(m_number).trimmed().isEmpty())
            ++m_number;
    }

    // "&3.4@0NodeObject,8500Thermostat;description": the LonMark objects in index order.
    void nodeDocumentation() {
        skipBlankLines();
        if (!m_lines.isStringLine(m_number))
            return; // a device without self-documentation has no LonMark objects
        const int line = m_number;
        const XifString documentation = XifString::read(m_lines, m_number);
        const QStringView text(documentation.text);
        if (!text.startsWith(QLatin1Char('&')))
            fail(line, QStringLiteral("expected the node self-documentation to begin with \"&\" "
                                      "and the LonMark version, e.g. \"&3.4@0NodeObject\""));
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
        if (semicolon >= 0)
            m_document.description = text.mid(semicolon + 1).trimmed().toString();
        const QStringView head = semicolon >= 0 ? text.left(semicolon) : text;
        const qsizetype at = head.indexOf(QLatin1Char('@'));
        if (at < 0)
            return;
        qsizetype offset = at + 1;
        for (const QStringView entry : head.mid(at + 1).tokenize(QLatin1Char(','))) {
            lonMarkObjects(documentation.lineAt(offset), entry.trimmed());
            offset += entry.size() + 1;
        }
    }

    // One entry of the node's object list: [scope:]typeIndex[[count]]name.
    void lonMarkObjects(int line, QStringView entry) {
        qsizetype position = 0;
        auto digits = [&] {
            const qsizetype start = position;
            while (position < entry.size() && entry[position].isDigit())
                ++position;
            return entry.mid(start, position - start);
        };
        int scope = 0;
        QStringView typeIndex = digits();
        if (position < entry.size() && entry[position] == QLatin1Char(':')) {
            scope = number(line, typeIndex, 0, 15, "the LonMark object's scope");
            ++position;
            typeIndex = digits();
        }
        const int type = number(line, typeIndex, 0, 65535, "the LonMark object's type index");
        int count = 1;
        if (position < entry.size() && entry[position] == QLatin1Char('[')) {
            ++position;
            count = number(line, digits(), 1, MaximumIndex + 1, "the LonMark object array size");
            if (position >= entry.size() || entry[position] != QLatin1Char(']'))
                fail(line, QStringLiteral("expected \"]\" after the object array size"));
            ++position;
        }
        auto& objects = m_document.interface->lonMarkObjects;
        if (qsizetype(objects.size()) + count > MaximumIndex + 1)
            fail(line, QStringLiteral("more LonMark objects than a device can hold (%1)")
                           .arg(MaximumIndex + 1));
        const QString name = entry.mid(position).trimmed().toString();
        for (int element = 0; element < count; ++element) {
            auto object = std::make_shared<LonMarkObjectRecord>();
            object->index = static_cast<int>(objects.size());
            object->typeIndex = type;
            object->scope = scope;
            object->name = name.isEmpty() ? QStringLiteral("LonMarkObject%1").arg(object->index)
                           : count > 1    ? QStringLiteral("%1[%2]").arg(name).arg(element)
                                          : name;
            objects.push_back(object);
        }
    }

    void record() {
        skipBlankLines();
        if (m_number > m_lines.count())
            return;
        const QList<QStringView> words = nextWords();
        const QStringView kind = words.first();
        if (kind == QLatin1String("VAR"))
            variable(words);
        else if (kind == QLatin1String("TAG"))
            tag(words);
        else if (kind == QLatin1String("NVVAL"))
            value(words);
        else if (kind == QLatin1String("FILE"))
            file(words);
        else
            fail(m_number, QStringLiteral("expected a VAR, TAG, NVVAL or FILE record, not \"%1\"")
                               .arg(kind.left(40)));
    }

    void expectWords(const QList<QStringView>& words, qsizetype min, qsizetype max,
                     const char* form) const {
        if (words.size() < min || words.size() > max)
            fail(m_number, QStringLiteral("expected %1; found %2 fields")
                               .arg(QLatin1String(form))
                               .arg(words.size()));
    }

    void variable(const QList<QStringView>& words) {
        const int start = m_number;
        expectWords(words, 6, 6, "\"VAR name index avgRate maxRate arraySize\"");
        const QString name = words[1].toString();
        const int index = number(start, words[2], 0, MaximumIndex, "the variable index");
        number(start, words[3], 0, 65535, "the average rate");
        number(start, words[4], 0, 65535, "the maximum rate");
        const int arraySize =
            number(start, words[5], 1, MaximumIndex + 1 - index, "the array size");
        ++m_number;
        expectLine(start, "VAR", "the variable's flags line");
        variableFlags(nextWords());
        ++m_number;
        expectLine(start, "VAR", "the variable's self-documentation string");
        if (!m_lines.isStringLine(m_number))
            fail(m_number, QStringLiteral("expected the variable's self-documentation string, a "
                                          "line beginning with a double quote"));
        const int documentationLine = m_number;
        const XifString documentation = XifString::read(m_lines, m_number);
        expectLine(start, "VAR", "the variable's type line");
        const VariableType type = typeLine();
        const QStringView text(documentation.text);
        if (text.startsWith(QLatin1Char('&')))
            configurationVariable(documentationLine, text, name, index, arraySize, type);
        else if (text.startsWith(QLatin1Char('@')))
            membership(documentationLine, text.mid(1));
        for (int element = 0; element < arraySize; ++element)
            addVariable(start, index + element,
                        arraySize > 1 ? QStringLiteral("%1[%2]").arg(name).arg(element) : name);
    }

    struct VariableType {
        QString name; // empty when the file writes "*"
        int size;
    };

    VariableType typeLine() {
        const QList<QStringView> words = nextWords();
        expectWords(words, 3, 3, "the type line \"typeIndex typeName size\" (typeName * if none)");
        number(m_number, words[0], 0, 65535, "the type index");
        const int size =
            number(m_number, words[2], 1, XifProperties::MaximumElementSize, "the type size");
        ++m_number;
        return {words[1] == QLatin1String("*") ? QString() : words[1].toString(), size};
    }

    void variableFlags(const QList<QStringView>& words) const {
        if (words.size() < 2)
            fail(m_number, QStringLiteral("expected the variable's flags line: priority, "
                                          "direction and further numbers"));
        for (const QStringView word : words)
            number(m_number, word, 0, 65535, "a variable flag");
        number(m_number, words[1], 0, 1, "the direction (0 input, 1 output)");
    }

    // "&target,select,scope,flags,typeIndex": the variable is also a property,
    // one element per array element.
    void configurationVariable(int line, QStringView text, const QString& name, int index,
                               int arraySize, const VariableType& type) {
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
        QList<QStringView> fields;
        for (const QStringView field :
             text.mid(1, semicolon < 0 ? -1 : semicolon - 1).tokenize(QLatin1Char(',')))
            fields.append(field.trimmed());
        if (fields.size() != 5)
            fail(line, QStringLiteral("expected the configuration declaration \"&target,select,"
                                      "scope,flags,typeIndex\"; found %1 fields")
                           .arg(fields.size()));
        XifProperty property = XifProperties::declaration(m_lines, line, fields);
        property.elementSize = type.size;
        property.elementCount = arraySize;
        property.setZeroDefault();
        property.record->name = name;
        property.record->format = type.name;
        property.record->formatSpec = type.name;
        m_configurationVariables.insert(index, m_properties.size());
        m_properties.append(property);
    }

    // "@object|member" or "@object#member": the object must be declared.
    void membership(int line, QStringView text) const {
        qsizetype end = 0;
        while (end < text.size() && text[end].isDigit())
            ++end;
        const int object = number(line, text.left(end), 0, MaximumIndex, "the LonMark object");
        if (!findObject(object))
            fail(line, QStringLiteral("the variable belongs to LonMark object %1, which the node "
                                      "self-documentation does not declare")
                           .arg(object));
    }

    // LonMark objects are numbered by their place in the node's list.
    Shared<LonMarkObjectRecord> findObject(int index) const {
        const auto& objects = m_document.interface->lonMarkObjects;
        return size_t(index) < objects.size() ? objects[index] : nullptr;
    }

    Shared<NetworkVariableRecord> findVariable(int index) const {
        return size_t(index) < m_variables.size() ? m_variables[index] : nullptr;
    }

    void addVariable(int line, int index, const QString& name) {
        if (findVariable(index))
            fail(line, QStringLiteral("network variable %1 is declared twice").arg(index));
        auto variable = std::make_shared<NetworkVariableRecord>();
        variable->index = index;
        variable->name = name;
        if (m_variables.size() <= size_t(index))
            m_variables.resize(index + 1);
        m_variables[index] = variable;
        m_document.interface->networkVariables.push_back(variable);
    }

    void tag(const QList<QStringView>& words) {
        expectWords(words, 3, 16, "\"TAG name index\" and numbers");
        number(m_number, words[2], 0, MaximumIndex, "the tag index");
        for (const QStringView word : words.mid(3))
            number(m_number, word, 0, 65535, "a tag field");
        ++m_number;
    }

    void value(const QList<QStringView>& words) {
        expectWords(words, 3, 3, "\"NVVAL index hexValue\"");
        m_values.append({m_number,
                         number(m_number, words[1], 0, MaximumIndex, "the variable index"),
                         words[2]});
        ++m_number;
    }

    void file(const QList<QStringView>& words) {
        const int start = m_number;
        expectWords(words, 2, 2, "\"FILE template\" or \"FILE value\"");
        const bool isTemplate = words[1] == QLatin1String("template");
        if (!isTemplate && words[1] != QLatin1String("value"))
            fail(start,
                 QStringLiteral("expected \"FILE template\" or \"FILE value\", not \"FILE %1\"")
                     .arg(words[1].left(40)));
        ++m_number;
        if (!m_lines.isStringLine(m_number))
            fail(std::min(m_number, m_lines.count()),
                 QStringLiteral("expected the %1 file's text as lines beginning with a double "
                                "quote after line %2")
                     .arg(words[1])
                     .arg(start));
        const XifString content = XifString::read(m_lines, m_number);
        if (isTemplate) {
            if (m_templateStart >= 0)
                fail(start, QStringLiteral("a second template file"));
            m_templateStart = m_properties.size();
            m_properties.append(XifProperties::templateFile(m_lines, content));
        } else {
            if (m_templateStart < 0 || m_hasValueFile)
                fail(start, QStringLiteral("a value file must follow the one template file"));
            m_hasValueFile = true;
            QList<XifProperty> templated = m_properties.mid(m_templateStart);
            XifProperties::valueFile(m_lines, content, templated); // records are shared
        }
    }

    void attachProperties() {
        for (const NetworkVariableValue& value : m_values) {
            if (m_configurationVariables.contains(value.index))
                m_properties[m_configurationVariables.value(value.index)].setDefault(
                    m_lines, value.line, value.hex);
            else if (!findVariable(value.index))
                fail(value.line, QStringLiteral("a value for network variable %1, which no VAR "
                                                "record declares")
                                     .arg(value.index));
        }
        for (const XifProperty& property : std::as_const(m_properties))
            ownerOf(property).push_back(property.record);
    }

    SharedList<ConfigPropertyRecord>& ownerOf(const XifProperty& property) {
        switch (property.target) {
        case XifProperty::Target::Device:
            return m_document.interface->configProperties;
        case XifProperty::Target::LonMarkObject:
            if (const auto object = findObject(property.select))
                return object->configProperties;
            fail(property.line, QStringLiteral("the property applies to LonMark object %1, which "
                                               "is not declared")
                                    .arg(property.select));
        case XifProperty::Target::NetworkVariable:
            break;
        }
        if (const auto variable = findVariable(property.select))
            return variable->configProperties;
        fail(property.line, QStringLiteral("the property applies to network variable %1, which is "
                                           "not declared")
                                .arg(property.select));
    }

    const XifLines& m_lines;
    int m_number = 1;
    XifDocument m_document;
    std::vector<Shared<NetworkVariableRecord>> m_variables; // by index, null where none
    QList<XifProperty> m_properties;                        // in the order the file declares them
    QHash<int, qsizetype> m_configurationVariables;         // variable index -> m_properties index
    QList<NetworkVariableValue> m_values;
    qsizetype m_templateStart = -1;
    bool m_hasValueFile = false;
};

} // namespace

XifDocument parse(const QByteArray& content, const QString& sourceName) {
    const XifLines lines(content, sourceName);
    return Reader(lines).run();
}

XifDocument read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::lns(Code::ImportFailed, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1: %2").arg(path, file.errorString()));
    return parse(file.read(XifLines::MaximumSize + 1), path);
}

} // namespace lns::sim::XifReader
