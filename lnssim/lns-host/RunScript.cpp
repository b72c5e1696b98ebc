// SPDX-License-Identifier: Apache-2.0
#include "RunScript.h"

#include <optional>

namespace {

struct Token {
    QString text;
    bool quoted = false;
};

// Splits at blanks; a quoted token may hold blanks and escaped quotes.
std::variant<QList<Token>, QString> tokens(const QString& line) {
    QList<Token> result;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line.at(i).isSpace()) {
            ++i;
            continue;
        }
        Token token;
        if (line.at(i) == QLatin1Char('"')) {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const QChar c = line.at(i++);
                if (c == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\\') && i < line.size())
                    token.text += line.at(i++);
                else
                    token.text += c;
            }
            if (!closed)
                return QStringLiteral("a quoted text has no closing quote");
        } else {
            while (i < line.size() && !line.at(i).isSpace())
                token.text += line.at(i++);
        }
        result.append(token);
    }
    return result;
}

QJsonValue value(const Token& token) {
    if (token.quoted)
        return token.text;
    if (token.text == QLatin1String("true"))
        return true;
    if (token.text == QLatin1String("false"))
        return false;
    bool whole = false;
    const qlonglong number = token.text.toLongLong(&whole);
    // JSON numbers are exact up to 2^53.
    if (whole && number >= -(1LL << 53) && number <= (1LL << 53))
        return static_cast<double>(number);
    return token.text;
}

struct Verb {
    const char* name;
    ScriptLine::Kind kind;
    bool takesMember;
    int arguments; // after the member; -1: any number
};

constexpr Verb Verbs[] = {
    {"create", ScriptLine::Kind::Create, false, 0},
    {"release", ScriptLine::Kind::Release, false, 0},
    {"get", ScriptLine::Kind::Get, true, 0},
    {"set", ScriptLine::Kind::Set, true, 1},
    {"call", ScriptLine::Kind::Call, true, -1},
};

std::optional<Verb> verb(const QString& name) {
    for (const Verb& candidate : Verbs) {
        if (name == QLatin1String(candidate.name))
            return candidate;
    }
    return std::nullopt;
}

} // namespace

std::variant<ScriptLine, QString> parseScriptLine(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
        return ScriptLine{};
    const auto split = tokens(trimmed);
    if (const auto* problem = std::get_if<QString>(&split))
        return *problem;
    const QList<Token>& words = std::get<QList<Token>>(split);
    const std::optional<Verb> found =
        words.first().quoted ? std::nullopt : verb(words.first().text);
    if (!found)
        return QStringLiteral("unknown verb \"%1\"; expected create, release, get, set or call")
            .arg(words.first().text);
    ScriptLine result;
    result.kind = found->kind;
    qsizetype next = 1;
    if (found->takesMember) {
        if (words.size() < 2)
            return QStringLiteral("%1 needs a member name").arg(QLatin1String(found->name));
        result.member = words.at(1).text;
        next = 2;
    }
    const qsizetype arguments = words.size() - next;
    if (found->arguments >= 0 && arguments != found->arguments)
        return QStringLiteral("%1 takes %2 value(s), not %3")
            .arg(QLatin1String(found->name))
            .arg(found->arguments)
            .arg(arguments);
    for (qsizetype i = next; i < words.size(); ++i)
        result.args.append(value(words.at(i)));
    return result;
}
