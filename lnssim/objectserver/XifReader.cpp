// SPDX-License-Identifier: Apache-2.0
#include "objectserver/XifReader.h"

#include "lns/LnsCodes.h"
#include "objectserver/XifLines.h"
#include "objectserver/XifProperties.h"
#include "platform/Error.h"

#include <QFile>
#include <QRegularExpression>

namespace lns::sim::XifReader {

namespace {

constexpr int MaximumIndex = 65534; // 0xFFFF means "none"
constexpr int SupportedVersion = 4;
// The node line's field that counts the network variables, and the flags.
constexpr int VariableCountField = 3;
constexpr int DirectionFlag = 3;
constexpr int ConfigurationFlag = 12;
constexpr int MaximumTypeFields = 255;
constexpr int TypeFieldNumbers = 5;
constexpr int MaximumTypeSize = 65535;

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
    // A variable the NVVAL section gives values to, in file order.
    struct ConfigurationVariable {
        QString name;
        int elements;
        int typeSize;       // bytes of one element, 0 when the field lines do not say
        qsizetype property; // into m_document.properties, -1 when it is none
    };

    // A section of values: where it starts, and what it holds.
    struct Values {
        int line = 0; // 0 while the file has none
        QList<XifValue> values;
        QByteArray joined() const {
            QByteArray bytes;
            for (const XifValue& value : values)
                bytes += value.bytes;
            return bytes;
        }
    };

    [[noreturn]] void fail(int line, const QString& reason) const { m_lines.fail(line, reason); }

    int number(int line, QStringView text, int min, int max, const char* what) const {
        return xifNumber(m_lines, line, text, min, max, what);
    }

    QList<QStringView> nextWords() const { return xifWords(m_lines.line(m_number)); }

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

    // The node, buffer and channel lines hold numbers only, up to a "*" line.
    void nodeLines() {
        bool seenNodeLine = false; // the first one counts the variables
        for (; m_number <= m_lines.count(); ++m_number) {
            const QList<QStringView> words = nextWords();
            if (words.isEmpty())
                continue;
            if (words.first().startsWith(QLatin1Char('*'))) {
                ++m_number;
                return;
            }
            for (const QStringView word : words) {
                if (!xifIsInteger(word))
                    fail(m_number, QStringLiteral("expected a node or channel line of numbers, or "
                                                  "the \"*\" line that ends them, not \"%1\"")
                                       .arg(word.left(40)));
            }
            if (!seenNodeLine && words.size() > VariableCountField) {
                m_variableCountLine = m_number;
                m_variableCount = number(m_number, words[VariableCountField], 0, MaximumIndex + 1,
                                         "the count of network variables");
            }
            seenNodeLine = true;
        }
        fail(m_lines.count(), QStringLiteral("the file ends inside the node and channel lines; "
                                             "expected the \"*\" line that ends them"));
    }

    static bool isNone(QStringView line) { return line.trimmed() == QLatin1String("*"); }

    void skipBlankLines() {
        while (m_number <= m_lines.count() && m_lines.line(m_number).trimmed().isEmpty())
            ++m_number;
    }

    // "&3.4@0NodeObject,8500Thermostat;description": the blocks in index order.
    void nodeDocumentation() {
        skipBlankLines();
        if (m_number > m_lines.count())
            fail(m_lines.count(), QStringLiteral("the file ends before the node "
                                                 "self-documentation string or \"*\""));
        if (isNone(m_lines.line(m_number))) {
            ++m_number;
            return;
        }
        if (!m_lines.isStringLine(m_number))
            return; // a device without self-documentation has no blocks
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
            blocks(documentation.lineAt(offset), entry.trimmed());
            offset += entry.size() + 1;
        }
    }

    // One entry of the node's block list: [scope:]profile[[count[]]]name.
    void blocks(int line, QStringView entry) {
        qsizetype position = 0;
        auto digits = [&] {
            const qsizetype start = position;
            while (position < entry.size() && entry[position].isDigit())
                ++position;
            return entry.mid(start, position - start);
        };
        XifBlock block;
        block.index = static_cast<int>(m_document.interface->lonMarkObjects.size());
        QStringView profile = digits();
        if (position < entry.size() && entry[position] == QLatin1Char(':')) {
            block.scope = number(line, profile, 0, 15, "the functional block's scope");
            ++position;
            profile = digits();
        }
        block.profile = number(line, profile, 0, 65535, "the functional profile's type index");
        if (position < entry.size() && entry[position] == QLatin1Char('[')) {
            ++position;
            block.count =
                number(line, digits(), 1, MaximumIndex + 1, "the functional block array size");
            if (position < entry.size() && entry[position] == QLatin1Char(']'))
                ++position; // makers' tools leave it out
        }
        if (block.index + block.count > MaximumIndex + 1)
            fail(line, QStringLiteral("more LonMark objects than a device can hold (%1)")
                           .arg(MaximumIndex + 1));
        block.name = entry.mid(position).trimmed().toString();
        for (int element = 0; element < block.count; ++element) {
            auto object = std::make_shared<LonMarkObjectRecord>();
            object->index = block.index + element;
            object->typeIndex = block.profile;
            object->scope = block.scope;
            object->name = block.name.isEmpty()
                               ? QStringLiteral("LonMarkObject%1").arg(object->index)
                           : block.count > 1 ? QStringLiteral("%1[%2]").arg(block.name).arg(element)
                                             : block.name;
            m_document.interface->lonMarkObjects.push_back(object);
        }
        m_document.blocks.append(block);
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
            variableValues(words);
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

    // Each word after `first` is a number.
    void expectNumbers(const QList<QStringView>& words, qsizetype first, const char* what) const {
        for (const QStringView word : words.mid(first))
            number(m_number, word, -65535, 65535, what);
    }

    void variable(const QList<QStringView>& words) {
        const int start = m_number;
        expectWords(words, 6, 6, "\"VAR name index avgRate maxRate arraySize\"");
        XifVariable declared;
        declared.line = start;
        declared.name = words[1].toString();
        declared.index = number(start, words[2], 0, MaximumIndex, "the variable index");
        number(start, words[3], 0, 65535, "the average rate");
        number(start, words[4], 0, 65535, "the maximum rate");
        // 0 for a single variable; an array takes the indices from `index` on.
        declared.arraySize =
            number(start, words[5], 0, MaximumIndex + 1 - declared.index, "the array size");
        const int elements = std::max(declared.arraySize, 1);
        ++m_number;
        expectLine(start, "VAR", "the variable's flags line");
        const bool configuration = variableFlags(declared);
        ++m_number;
        expectLine(start, "VAR", "the variable's self-documentation string or \"*\"");
        const int documentationLine = m_number;
        XifString documentation;
        if (isNone(m_lines.line(m_number)))
            ++m_number;
        else if (m_lines.isStringLine(m_number))
            documentation = XifString::read(m_lines, m_number);
        else
            fail(m_number, QStringLiteral("expected the variable's self-documentation, a line "
                                          "beginning with a double quote, or \"*\""));
        expectLine(start, "VAR", "the variable's type line");
        int typeSize = 0;
        const QString typeName = typeLines(start, declared, typeSize);
        const QStringView text(documentation.text);
        qsizetype property = -1;
        if (text.startsWith(QLatin1Char('&'))) {
            property = m_document.properties.size();
            configurationVariable(documentationLine, text, declared.name, elements, typeName);
        } else if (text.startsWith(QLatin1Char('@'))) {
            declared.block = membership(documentationLine, text.mid(1));
        }
        if (configuration)
            m_configurationVariables.append({declared.name, elements, typeSize, property});
        for (int element = 0; element < elements; ++element)
            addVariable(start, declared.index + element,
                        elements > 1 ? QStringLiteral("%1[%2]").arg(declared.name).arg(element)
                                     : declared.name);
        m_document.variables.append(declared);
    }

    // "typeIndex typeName|* fieldCount" and that many lines of five numbers.
    // Returns the type name, empty for "*"; `size` becomes the bytes the fields
    // take where all of them say.
    QString typeLines(int start, XifVariable& declared, int& size) {
        const QList<QStringView> words = nextWords();
        if (words.size() < 3)
            fail(m_number,
                 QStringLiteral("expected the type line \"typeIndex typeName fieldCount\" "
                                "(typeName * for a standard type)"));
        declared.typeIndex = number(m_number, words[0], 0, 65535, "the type index");
        const int fields = number(m_number, words[2], 0, MaximumTypeFields, "the field count");
        expectNumbers(words, 3, "a type number");
        const QString name = words[1] == QLatin1String("*") ? QString() : words[1].toString();
        for (int field = 0; field < fields; ++field) {
            ++m_number;
            expectLine(start, "VAR", "a type field line");
            const QList<QStringView> fieldWords = nextWords();
            if (fieldWords.size() != TypeFieldNumbers)
                fail(m_number, QStringLiteral("expected field %1 of %2 of the type: a line of %3 "
                                              "numbers")
                                   .arg(field + 1)
                                   .arg(fields)
                                   .arg(TypeFieldNumbers));
            expectNumbers(fieldWords, 0, "a type field");
            const int bytes = fieldSize(fieldWords);
            size = bytes > 0 && (field == 0 || size > 0) && size + bytes <= MaximumTypeSize
                       ? size + bytes
                       : 0;
        }
        ++m_number;
        return name;
    }

    // "kind bitOffset bitSize signed arrayDimension": the bytes of one field,
    // 0 for a kind whose size is not certain (bit fields among them).
    static int fieldSize(const QList<QStringView>& words) {
        const int kind = words[0].toInt();
        const qint64 bytes = kind == 1 ? 1 : kind == 2 ? 2 : kind == 4 ? words[2].toInt() : 0;
        const qint64 total = std::max<qint64>(bytes, 0) * std::max(words[4].toInt(), 1);
        return total <= MaximumTypeSize ? static_cast<int>(total) : 0;
    }

    // Checks the flags line and keeps the direction; true for a configuration variable.
    bool variableFlags(XifVariable& declared) const {
        const QList<QStringView> words = nextWords();
        if (words.size() <= DirectionFlag)
            fail(m_number,
                 QStringLiteral("expected the variable's flags line: at least %1 numbers, "
                                "the direction the %1th")
                     .arg(DirectionFlag + 1));
        for (const QStringView word : words)
            number(m_number, word, 0, 65535, "a variable flag");
        declared.output =
            number(m_number, words[DirectionFlag], 0, 1, "the direction (0 input, 1 output)") == 1;
        return words.size() > ConfigurationFlag && words[ConfigurationFlag] == QLatin1String("1");
    }

    // "&appliesTo,select,scope<flags>,typeIndex[,size]": the variable is also a
    // property, one element per array element. Without a size, its value gives it.
    void configurationVariable(int line, QStringView text, const QString& name, int elements,
                               const QString& typeName) {
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
        m_document.properties.append(property);
    }

    // "@block|member", "@block#member": the block must be declared.
    int membership(int line, QStringView text) const {
        qsizetype end = 0;
        while (end < text.size() && text[end].isDigit())
            ++end;
        const int block = number(line, text.left(end), 0, MaximumIndex, "the LonMark object");
        if (!findObject(block))
            fail(line, QStringLiteral("the variable belongs to LonMark object %1, which the node "
                                      "self-documentation does not declare")
                           .arg(block));
        return block;
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
        expectNumbers(words, 3, "a tag field");
        ++m_number;
    }

    // A section's head line, then its values.
    Values values(const QList<QStringView>& words, qsizetype firstNumber, const char* what) {
        Values section;
        section.line = m_number;
        expectNumbers(words, firstNumber, what);
        ++m_number;
        section.values = xifValues(m_lines, m_number);
        return section;
    }

    void variableValues(const QList<QStringView>& words) {
        if (m_variableValues.line != 0)
            fail(m_number, QStringLiteral("a second NVVAL section; the first is on line %1")
                               .arg(m_variableValues.line));
        m_variableValues = values(words, 1, "a number after NVVAL");
    }

    // "FILE kind numbers": the template's string lines, its values, or a file
    // the template has no place for, skipped.
    void file(const QList<QStringView>& words) {
        const int start = m_number;
        if (words.size() < 2)
            fail(start, QStringLiteral("expected \"FILE template\", \"FILE value\" or another "
                                       "kind of file after FILE"));
        const QStringView kind = words[1];
        if (kind == QLatin1String("template"))
            return templateFile(words);
        Values* section = kind == QLatin1String("value")      ? &m_valueFile
                          : kind == QLatin1String("readOnly") ? &m_readOnlyFile
                                                              : nullptr;
        if (section && section->line != 0)
            fail(start, QStringLiteral("a second \"FILE %1\"; the first is on line %2")
                            .arg(kind)
                            .arg(section->line));
        if (section && m_templateLine == 0)
            fail(start,
                 QStringLiteral("the \"FILE %1\" values must follow the template file").arg(kind));
        if (!section && m_lines.isStringLine(start + 1)) {
            expectNumbers(words, 2, "a file number");
            m_number = start + 1;
            XifString::read(m_lines, m_number);
            return;
        }
        const Values read = values(words, 2, "a file number");
        if (section)
            *section = read;
    }

    void templateFile(const QList<QStringView>& words) {
        const int start = m_number;
        expectNumbers(words, 2, "a number after \"FILE template\"");
        if (m_templateLine != 0)
            fail(start, QStringLiteral("a second template file; the first is on line %1")
                            .arg(m_templateLine));
        m_templateLine = start;
        ++m_number;
        if (!m_lines.isStringLine(m_number))
            fail(std::min(m_number, m_lines.count()),
                 QStringLiteral("expected the template file's text as lines beginning with a "
                                "double quote after line %1")
                     .arg(start));
        const XifString content = XifString::read(m_lines, m_number);
        m_templateStart = m_document.properties.size();
        m_document.properties.append(XifProperties::templateFile(m_lines, content));
    }

    // Whatever the file declares but does not hold means it was cut short.
    void checkComplete() const {
        const int records = static_cast<int>(m_document.variables.size());
        const int elements = static_cast<int>(m_document.interface->networkVariables.size());
        if (m_variableCountLine != 0 && m_variableCount != records && m_variableCount != elements)
            fail(m_lines.count(), QStringLiteral("the file holds %1 network variables; line %2 "
                                                 "declares %3")
                                      .arg(elements)
                                      .arg(m_variableCountLine)
                                      .arg(m_variableCount));
    }

    // One NVVAL value per configuration variable, or per element of one.
    void assignVariableValues() {
        qsizetype elements = 0;
        for (const ConfigurationVariable& variable : std::as_const(m_configurationVariables))
            elements += variable.elements;
        const QList<XifValue>& values = m_variableValues.values;
        const bool perElement = values.size() == elements;
        if (!perElement && values.size() != m_configurationVariables.size())
            fail(m_variableValues.line != 0 ? m_variableValues.line : m_lines.count(),
                 QStringLiteral("expected an NVVAL section of %1 values, one for each element of "
                                "the %2 configuration variables; found %3")
                     .arg(elements)
                     .arg(m_configurationVariables.size())
                     .arg(values.size()));
        qsizetype next = 0;
        for (const ConfigurationVariable& variable : std::as_const(m_configurationVariables)) {
            const qsizetype taken = perElement ? variable.elements : 1;
            QByteArray bytes;
            for (qsizetype i = next; i < next + taken; ++i)
                bytes += values[i].bytes;
            const int line = values[next].line;
            if (variable.typeSize > 0 &&
                bytes.size() != qsizetype(variable.typeSize) * variable.elements)
                fail(line, QStringLiteral("the value of \"%1\" holds %2 bytes; its type takes %3")
                               .arg(variable.name)
                               .arg(bytes.size())
                               .arg(variable.typeSize * variable.elements));
            if (variable.property >= 0)
                setConfigurationValue(m_document.properties[variable.property], line, bytes);
            next += taken;
        }
    }

    // The value file holds the template's writable properties, the read-only
    // file the others; without a read-only file the value file may hold all.
    void assignFileValues() {
        if (m_templateLine == 0)
            return;
        QList<XifProperty> writable;
        QList<XifProperty> readOnly;
        for (const XifProperty& property : m_document.properties.mid(m_templateStart))
            (property.isReadOnly() ? readOnly : writable).append(property);
        const QByteArray values = m_valueFile.joined();
        const int valueLine = m_valueFile.line != 0 ? m_valueFile.line : m_lines.count();
        if (m_readOnlyFile.line == 0 && values.size() == XifProperties::byteCount(writable) +
                                                             XifProperties::byteCount(readOnly))
            writable.append(readOnly);
        else if (m_readOnlyFile.line != 0 || !readOnly.isEmpty())
            XifProperties::valueFile(m_lines,
                                     m_readOnlyFile.line != 0 ? m_readOnlyFile.line : valueLine,
                                     m_readOnlyFile.joined(), readOnly, "read-only file");
        XifProperties::valueFile(m_lines, valueLine, values, writable, "value file");
    }

    void attachProperties() {
        checkComplete();
        assignVariableValues();
        assignFileValues();
        for (XifProperty& property : m_document.properties) {
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
    void setConfigurationValue(XifProperty& property, int line, const QByteArray& bytes) const {
        if (property.elementSize == 0) {
            const qsizetype size = bytes.size() / property.elementCount;
            if (size < 1 || size > XifProperties::MaximumElementSize)
                fail(line, QStringLiteral("the value of \"%1\" must be 1 to %2 bytes per element")
                               .arg(property.record->name)
                               .arg(XifProperties::MaximumElementSize));
            property.elementSize = static_cast<int>(size);
        }
        property.setDefault(m_lines, line, bytes);
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
    int m_variableCountLine = 0; // the node line that counts the variables, 0 for none
    int m_variableCount = 0;
    std::vector<Shared<NetworkVariableRecord>> m_variables; // by index, null where none
    QList<ConfigurationVariable> m_configurationVariables;
    Values m_variableValues;
    int m_templateLine = 0;
    qsizetype m_templateStart = 0; // the template's first property
    Values m_valueFile;
    Values m_readOnlyFile;
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
