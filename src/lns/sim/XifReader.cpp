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
constexpr int MaximumBytes = XifLines::MaximumSize;

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
        QByteArray bytes;
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

    // The node, buffer and channel lines hold numbers only. They end at a line
    // starting with "*" (read with them), the node self-documentation or the first record.
    void nodeLines() {
        for (; m_number <= m_lines.count(); ++m_number) {
            const QList<QStringView> words = nextWords();
            if (words.isEmpty())
                continue;
            if (words.first().startsWith(QLatin1Char('*'))) {
                ++m_number;
                return;
            }
            if (m_lines.isStringLine(m_number) || isRecordKind(words.first()))
                return;
            for (const QStringView word : words) {
                if (!xifIsInteger(word))
                    fail(m_number, QStringLiteral("expected a node or channel line of numbers, "
                                                  "not \"%1\"")
                                       .arg(word.left(40)));
            }
        }
    }

    static bool isRecordKind(QStringView word) {
        return word == QLatin1String("VAR") || word == QLatin1String("TAG") ||
               word == QLatin1String("NVVAL") || word == QLatin1String("FILE");
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
        // 0 for a single variable; an array takes the indices from `index` on.
        const int arraySize =
            number(start, words[5], 0, MaximumIndex + 1 - index, "the array size");
        const int elements = std::max(arraySize, 1);
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
        const QString typeName = typeLines();
        const QStringView text(documentation.text);
        if (text.startsWith(QLatin1Char('&')))
            configurationVariable(documentationLine, text, name, index, elements, typeName);
        else if (text.startsWith(QLatin1Char('@')))
            membership(documentationLine, text.mid(1));
        for (int element = 0; element < elements; ++element)
            addVariable(start, index + element,
                        elements > 1 ? QStringLiteral("%1[%2]").arg(name).arg(element) : name);
    }

    // "typeIndex typeName|* numbers...", then any lines of numbers that describe
    // the type's fields. Returns the type name, empty for "*".
    QString typeLines() {
        const QList<QStringView> words = nextWords();
        if (words.size() < 2)
            fail(m_number, QStringLiteral("expected the type line \"typeIndex typeName\" (typeName "
                                          "* for a standard type) and its numbers"));
        number(m_number, words[0], 0, 65535, "the type index");
        for (const QStringView word : words.mid(2))
            number(m_number, word, 0, 65535, "a type field");
        const QString name = words[1] == QLatin1String("*") ? QString() : words[1].toString();
        for (++m_number; m_number <= m_lines.count(); ++m_number) {
            const QList<QStringView> fieldWords = nextWords();
            if (fieldWords.isEmpty() || !xifIsInteger(fieldWords.first()))
                break;
            for (const QStringView word : fieldWords)
                number(m_number, word, -65535, 65535, "a type field");
        }
        return name;
    }

    void variableFlags(const QList<QStringView>& words) const {
        if (words.size() < 2)
            fail(m_number, QStringLiteral("expected the variable's flags line: priority, "
                                          "direction and further numbers"));
        for (const QStringView word : words)
            number(m_number, word, 0, 65535, "a variable flag");
        number(m_number, words[1], 0, 1, "the direction (0 input, 1 output)");
    }

    // "&appliesTo,select,scope<flags>,typeIndex[,size]": the variable is also a
    // property, one element per array element. Without a size, its value gives it.
    void configurationVariable(int line, QStringView text, const QString& name, int index,
                               int elements, const QString& typeName) {
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
        QList<QStringView> fields;
        for (const QStringView field :
             text.mid(1, semicolon < 0 ? -1 : semicolon - 1).tokenize(QLatin1Char(',')))
            fields.append(field.trimmed());
        if (fields.size() < XifProperties::DeclarationFields ||
            fields.size() > XifProperties::DeclarationFields + 1)
            fail(line, QStringLiteral("expected the configuration declaration \"&appliesTo,select,"
                                      "scope<flags>,typeIndex[,size]\"; found %1 fields")
                           .arg(fields.size()));
        XifProperty property = XifProperties::declaration(m_lines, line, fields);
        if (elements > XifProperties::MaximumElementCount)
            fail(line, QStringLiteral("a configuration variable holds at most %1 elements")
                           .arg(XifProperties::MaximumElementCount));
        property.elementCount = elements;
        if (fields.size() > XifProperties::DeclarationFields)
            XifProperties::readSize(m_lines, line, fields.last(), property);
        property.record->name = name;
        property.record->format = typeName;
        property.record->formatSpec = typeName;
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

    // The numbers after a record's kind, up to the first byte or the line's end.
    qsizetype countNumbers(const QList<QStringView>& words, qsizetype first) const {
        qsizetype count = 0;
        while (first + count < words.size() && !xifIsByteStart(words[first + count])) {
            number(m_number, words[first + count], 0, MaximumBytes, "a record number");
            ++count;
        }
        return count;
    }

    // Bytes announced by the last of a record's numbers, from `words[first]` on.
    QByteArray announcedBytes(const QList<QStringView>& words, qsizetype first, const char* what) {
        const int start = m_number;
        const QStringView line = m_lines.line(start);
        const QStringView announced = words[first - 1];
        const QStringView rest =
            first < words.size() ? line.mid(words[first].data() - line.data()) : QStringView();
        const QByteArray bytes = xifBytes(m_lines, m_number, rest);
        if (bytes.size() != announced.toInt())
            fail(start, QStringLiteral("%1 announces %2 bytes but holds %3")
                            .arg(QLatin1String(what), announced)
                            .arg(bytes.size()));
        return bytes;
    }

    // "NVVAL index [numbers] byteCount" and the bytes, on the line or the next ones.
    void value(const QList<QStringView>& words) {
        const qsizetype numbers = countNumbers(words, 1);
        if (numbers < 2)
            fail(m_number, QStringLiteral("expected \"NVVAL index byteCount\" and the bytes; found "
                                          "%1 numbers")
                               .arg(numbers));
        const int line = m_number;
        const int index = number(line, words[1], 0, MaximumIndex, "the variable index");
        m_values.append({line, index, announcedBytes(words, 1 + numbers, "the value")});
    }

    // "FILE template numbers" then the template's string lines, or
    // "FILE value numbers byteCount" then the bytes.
    void file(const QList<QStringView>& words) {
        const int start = m_number;
        if (words.size() < 2 ||
            (words[1] != QLatin1String("template") && words[1] != QLatin1String("value")))
            fail(start, QStringLiteral("expected \"FILE template\" or \"FILE value\", not \"%1\"")
                            .arg(m_lines.line(start).trimmed().left(40)));
        const qsizetype numbers = countNumbers(words, 2);
        if (words[1] == QLatin1String("template"))
            templateFile(start, numbers + 2 == words.size());
        else
            valueFile(start, words, numbers);
    }

    void templateFile(int start, bool onlyNumbers) {
        if (!onlyNumbers)
            fail(start, QStringLiteral("expected only numbers after \"FILE template\""));
        if (m_templateStart >= 0)
            fail(start, QStringLiteral("a second template file"));
        ++m_number;
        if (!m_lines.isStringLine(m_number))
            fail(std::min(m_number, m_lines.count()),
                 QStringLiteral("expected the template file's text as lines beginning with a "
                                "double quote after line %1")
                     .arg(start));
        const XifString content = XifString::read(m_lines, m_number);
        m_templateStart = m_properties.size();
        m_properties.append(XifProperties::templateFile(m_lines, content));
    }

    void valueFile(int start, const QList<QStringView>& words, qsizetype numbers) {
        if (m_templateStart < 0 || m_hasValueFile)
            fail(start, QStringLiteral("a value file must follow the one template file"));
        if (numbers < 1)
            fail(start, QStringLiteral("expected \"FILE value\" with its numbers, the last one its "
                                       "size in bytes"));
        m_hasValueFile = true;
        const QByteArray bytes = announcedBytes(words, 2 + numbers, "the value file");
        QList<XifProperty> templated = m_properties.mid(m_templateStart);
        XifProperties::valueFile(m_lines, start, bytes, templated);
        // The copies share their records; the sizes the values checked stay the same.
    }

    void attachProperties() {
        for (const NetworkVariableValue& value : m_values) {
            if (m_configurationVariables.contains(value.index))
                setConfigurationValue(m_properties[m_configurationVariables.value(value.index)],
                                      value);
            else if (!findVariable(value.index))
                fail(value.line, QStringLiteral("a value for network variable %1, which no VAR "
                                                "record declares")
                                     .arg(value.index));
        }
        for (XifProperty& property : m_properties) {
            if (property.elementSize == 0)
                fail(property.line, QStringLiteral("the size of \"%1\" is unknown: expected it in "
                                                   "the declaration or an NVVAL value")
                                        .arg(property.record->name));
            if (property.record->elements.empty())
                property.setZeroDefault();
            attach(property);
        }
    }

    // A configuration variable without a declared size takes its value's.
    void setConfigurationValue(XifProperty& property, const NetworkVariableValue& value) const {
        if (property.elementSize == 0) {
            const qsizetype size = value.bytes.size() / property.elementCount;
            if (size < 1 || size > XifProperties::MaximumElementSize)
                fail(value.line, QStringLiteral("the value of \"%1\" must be 1 to %2 bytes per "
                                                "element")
                                     .arg(property.record->name)
                                     .arg(XifProperties::MaximumElementSize));
            property.elementSize = static_cast<int>(size);
        }
        property.setDefault(m_lines, value.line, value.bytes);
    }

    // One record joins every target it applies to.
    void attach(const XifProperty& property) {
        // `find` gives the object or variable of an index, null when undeclared.
        const auto attachToEach = [&](const char* kind, const auto& find) {
            for (const int select : property.selects) {
                const auto target = find(select);
                if (!target)
                    fail(property.line,
                         QStringLiteral("the property applies to %1 %2, which is not declared")
                             .arg(QLatin1String(kind))
                             .arg(select));
                target->configProperties.push_back(property.record);
            }
        };
        switch (property.target) {
        case XifProperty::Target::Device:
            m_document.interface->configProperties.push_back(property.record);
            return;
        case XifProperty::Target::LonMarkObject:
            attachToEach("LonMark object", [this](int index) { return findObject(index); });
            return;
        case XifProperty::Target::NetworkVariable:
            attachToEach("network variable", [this](int index) { return findVariable(index); });
            return;
        }
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
