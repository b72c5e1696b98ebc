#include "lns/sim/XifReader.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

namespace lns::sim::XifReader {

namespace {

constexpr qint64 MaximumSize = 4 * 1024 * 1024;
const QString Magic = QStringLiteral("XIF-TEXT 1");

class Parser {
public:
    Parser(QStringList lines, QString sourceName)
        : m_lines(std::move(lines)), m_source(std::move(sourceName)) {}

    XifDocument run() {
        if (m_lines.size() < 4)
            fail(m_lines.size(), QStringLiteral("the file ends before the program ID line"));
        if (m_lines[0].trimmed() != Magic)
            fail(1, QStringLiteral("the first line must read \"%1\"").arg(Magic));
        m_document.description = m_lines[1].trimmed();
        int programIdLine = 4;
        if (m_lines[3].trimmed().isEmpty())
            programIdLine = 5;
        if (programIdLine > m_lines.size())
            fail(programIdLine, QStringLiteral("the program ID line is missing"));
        m_document.programId = programId(programIdLine);
        for (int number = programIdLine + 1; number <= m_lines.size(); ++number)
            record(number);
        return m_document;
    }

private:
    [[noreturn]] void fail(qsizetype line, const QString& reason) const {
        throw Error::lns(Code::ImportFailed, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1: line %2: %3").arg(m_source).arg(line).arg(reason));
    }

    QString programId(int number) const {
        // Each group captured on its own: a separator outside the BMP takes two
        // code units, so fixed offsets would cut the groups apart.
        static const QRegularExpression pattern(
            QStringLiteral("^([0-9A-Fa-f]{2})") +
            QStringLiteral("[^0-9A-Fa-f\\s]([0-9A-Fa-f]{2})").repeated(7) +
            QStringLiteral("\\s*$"));
        const QRegularExpressionMatch match = pattern.match(m_lines[number - 1]);
        if (!match.hasMatch())
            fail(number, QStringLiteral("the program ID must be eight two-digit hexadecimal "
                                        "groups separated by one character"));
        QString digits;
        for (int group = 1; group <= 8; ++group)
            digits += match.captured(group);
        return digits.toUpper();
    }

    // Blank-separated words; a word in double quotes may hold blanks.
    QStringList words(int number) const {
        QStringList result;
        const QString line = m_lines[number - 1].trimmed();
        qsizetype position = 0;
        while (position < line.size()) {
            if (line[position].isSpace()) {
                ++position;
            } else if (line[position] == QLatin1Char('"')) {
                const qsizetype end = line.indexOf(QLatin1Char('"'), position + 1);
                if (end < 0)
                    fail(number, QStringLiteral("a quoted name is not closed"));
                result.append(line.mid(position + 1, end - position - 1));
                position = end + 1;
            } else {
                qsizetype end = position;
                while (end < line.size() && !line[end].isSpace())
                    ++end;
                result.append(line.mid(position, end - position));
                position = end;
            }
        }
        return result;
    }

    int number(int line, const QString& text, int min, int max, const char* what) const {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < min || value > max)
            fail(line, QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                           .arg(QLatin1String(what))
                           .arg(min)
                           .arg(max)
                           .arg(text));
        return value;
    }

    void record(int line) {
        const QString text = m_lines[line - 1].trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            return;
        const QStringList parts = words(line);
        const QString kind = parts.first();
        if (kind == QLatin1String("OBJECT"))
            objectRecord(line, parts);
        else if (kind == QLatin1String("NV"))
            networkVariableRecord(line, parts);
        else if (kind == QLatin1String("CP"))
            configPropertyRecord(line, parts);
        else
            fail(line, QStringLiteral("unknown record \"%1\"").arg(kind));
    }

    void expectWords(int line, const QStringList& parts, int count) const {
        if (parts.size() != count)
            fail(line, QStringLiteral("a %1 record has %2 words, not %3")
                           .arg(parts.first())
                           .arg(count)
                           .arg(parts.size()));
    }

    void objectRecord(int line, const QStringList& parts) {
        expectWords(line, parts, 5);
        auto object = std::make_shared<LonMarkObjectRecord>();
        object->index = number(line, parts[1], 0, 65535, "the object index");
        object->typeIndex = number(line, parts[2], 0, 65535, "the type index");
        object->scope = number(line, parts[3], 0, 15, "the scope");
        object->name = parts[4];
        if (findObject(object->index))
            fail(line, QStringLiteral("object %1 is declared twice").arg(object->index));
        m_document.interface->lonMarkObjects.push_back(object);
    }

    void networkVariableRecord(int line, const QStringList& parts) {
        expectWords(line, parts, 3);
        auto nv = std::make_shared<NetworkVariableRecord>();
        nv->index = number(line, parts[1], 0, 65535, "the network variable index");
        nv->name = parts[2];
        if (findNetworkVariable(nv->index))
            fail(line, QStringLiteral("network variable %1 is declared twice").arg(nv->index));
        m_document.interface->networkVariables.push_back(nv);
    }

    void configPropertyRecord(int line, const QStringList& parts) {
        expectWords(line, parts, 9);
        auto cp = std::make_shared<ConfigPropertyRecord>();
        cp->scope = number(line, parts[2], 0, 15, "the scope");
        cp->typeIndex = number(line, parts[3], 0, 65535, "the type index");
        cp->flags = static_cast<qint16>(number(line, parts[4], -32768, 32767, "the flags"));
        cp->format = parts[5];
        cp->formatSpec = cp->format;
        const int count = number(line, parts[6], 1, 255, "the element count");
        cp->elements = elements(line, parts[7], count);
        cp->name = parts[8];
        owner(line, parts[1]).push_back(cp);
    }

    std::vector<QByteArray> elements(int line, const QString& hex, int count) const {
        static const QRegularExpression pairs(QStringLiteral("^(?:[0-9A-Fa-f]{2})+$"));
        if (!pairs.match(hex).hasMatch())
            fail(line, QStringLiteral("the default value must be hexadecimal digit pairs"));
        const QByteArray raw = QByteArray::fromHex(hex.toLatin1());
        if (raw.size() % count != 0)
            fail(line, QStringLiteral("%1 bytes do not split into %2 equal elements")
                           .arg(raw.size())
                           .arg(count));
        const qsizetype size = raw.size() / count;
        std::vector<QByteArray> result;
        for (int element = 0; element < count; ++element)
            result.push_back(raw.mid(element * size, size));
        return result;
    }

    SharedList<ConfigPropertyRecord>& owner(int line, const QString& text) {
        if (text == QLatin1String("DEVICE"))
            return m_document.interface->configProperties;
        const QString kind = text.section(QLatin1Char(':'), 0, 0);
        const QString index = text.section(QLatin1Char(':'), 1);
        if (kind == QLatin1String("OBJECT")) {
            if (auto object = findObject(number(line, index, 0, 65535, "the object index")))
                return object->configProperties;
        } else if (kind == QLatin1String("NV")) {
            if (auto nv = findNetworkVariable(number(line, index, 0, 65535, "the NV index")))
                return nv->configProperties;
        }
        fail(line, QStringLiteral("the owner \"%1\" is not DEVICE or a declared OBJECT:n or NV:n")
                       .arg(text));
    }

    Shared<LonMarkObjectRecord> findObject(int index) const {
        const auto& objects = m_document.interface->lonMarkObjects;
        const auto found = std::find_if(objects.begin(), objects.end(),
                                        [&](const auto& object) { return object->index == index; });
        return found == objects.end() ? nullptr : *found;
    }

    Shared<NetworkVariableRecord> findNetworkVariable(int index) const {
        const auto& nvs = m_document.interface->networkVariables;
        const auto found = std::find_if(nvs.begin(), nvs.end(),
                                        [&](const auto& nv) { return nv->index == index; });
        return found == nvs.end() ? nullptr : *found;
    }

    QStringList m_lines;
    QString m_source;
    XifDocument m_document;
};

} // namespace

XifDocument parse(const QByteArray& content, const QString& sourceName) {
    auto fail = [&](const QString& reason) {
        return Error::lns(Code::ImportFailed, QStringLiteral("LNS Object Server"),
                          QStringLiteral("%1: %2").arg(sourceName, reason));
    };
    if (content.isEmpty())
        throw fail(QStringLiteral("the file is empty"));
    if (content.size() > MaximumSize)
        throw fail(QStringLiteral("the file is larger than %1 bytes").arg(MaximumSize));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(content);
    if (decoder.hasError() || content.contains('\0'))
        throw fail(QStringLiteral("the file is not a text file"));
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return Parser(lines, sourceName).run();
}

XifDocument read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error::lns(Code::ImportFailed, QStringLiteral("LNS Object Server"),
                         QStringLiteral("%1: %2").arg(path, file.errorString()));
    return parse(file.read(MaximumSize + 1), path);
}

} // namespace lns::sim::XifReader
