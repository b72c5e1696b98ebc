// SPDX-License-Identifier: Apache-2.0
#include "RegTool.h"

#include "platform/Error.h"
#include "platform/RegistryKeyName.h"
#include "platform/PrintableText.h"
#include "platform/SettingsStore.h"
#include "platform/StandardOptions.h"

#include <optional>

namespace {

constexpr int Success = 0;
constexpr int Missing = 1;
constexpr int Usage = 2;

const char* const UsageText =
    "usage:\n"
    "  lns-reg query KEY [/v NAME | /ve]\n"
    "  lns-reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_DWORD|REG_BINARY] [/d DATA] [/f]\n"
    "  lns-reg delete KEY [/v NAME | /ve] /f\n"
    "KEY starts with HKLM, HKCU, HKCR or the hive's full name.\n";

const QString Help = QLatin1String(UsageText) + QStringLiteral(
    "  lns-reg --help | --version\n"
    "\n"
    "Reads and writes the settings store of the simulated LonWorks platform\n"
    "($LNS_PLATFORM_ROOT/registry.sqlite3), in the style of the reg command.\n"
    "Exit status: 0 success, 1 missing key or value or unusable store, 2 usage error.\n"
    "See lns-reg(1).\n");

struct UsageError {
    QString reason;
};

struct Options {
    RegistryKeyName key;
    std::optional<QString> valueName; // set by /v NAME or /ve (empty name)
    std::optional<ValueType> type;
    std::optional<QString> data;
    bool force = false;
};

Options parseOptions(const QStringList& arguments) {
    if (arguments.size() < 2)
        throw UsageError{QStringLiteral("a key is needed")};
    const auto key = RegistryKeyName::parse(arguments.at(1));
    if (!key)
        throw UsageError{QStringLiteral("unknown hive in %1").arg(arguments.at(1))};
    Options options{*key, {}, {}, {}, false};
    auto next = [&](qsizetype& i) {
        if (i + 1 >= arguments.size())
            throw UsageError{QStringLiteral("%1 needs a value").arg(arguments.at(i))};
        return arguments.at(++i);
    };
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString option = arguments.at(i).toLower();
        if (option == QLatin1String("/v") || option == QLatin1String("/ve")) {
            if (options.valueName)
                throw UsageError{QStringLiteral("/v and /ve name one value")};
            options.valueName = option == QLatin1String("/ve") ? QString() : next(i);
        } else if (option == QLatin1String("/t")) {
            const QString type = next(i).toUpper();
            if (type == QLatin1String("REG_SZ"))
                options.type = ValueType::String;
            else if (type == QLatin1String("REG_DWORD"))
                options.type = ValueType::DWord;
            else if (type == QLatin1String("REG_BINARY"))
                options.type = ValueType::Binary;
            else
                throw UsageError{QStringLiteral("unknown type %1").arg(type)};
        } else if (option == QLatin1String("/d")) {
            options.data = next(i);
        } else if (option == QLatin1String("/f")) {
            options.force = true;
        } else {
            throw UsageError{QStringLiteral("unknown option %1").arg(arguments.at(i))};
        }
    }
    return options;
}

QString typeName(ValueType type) {
    switch (type) {
    case ValueType::String:
        return QStringLiteral("REG_SZ");
    case ValueType::DWord:
        return QStringLiteral("REG_DWORD");
    case ValueType::Binary:
        return QStringLiteral("REG_BINARY");
    }
    return QStringLiteral("REG_NONE");
}

QString valueLine(const RegistryValue& value) {
    QString data;
    switch (value.type) {
    case ValueType::String:
        data = value.text();
        break;
    case ValueType::DWord:
        data = QStringLiteral("0x") + QString::number(value.number(), 16);
        break;
    case ValueType::Binary:
        data = QString::fromLatin1(value.data.toHex().toUpper());
        break;
    }
    const QString name = value.name.isEmpty() ? QStringLiteral("(Default)") : value.name;
    return QStringLiteral("    %1    %2    %3").arg(printable(name), typeName(value.type), printable(data));
}

RegistryValue valueFromOptions(const Options& options) {
    const QString name = options.valueName.value_or(QString());
    const QString data = options.data.value_or(QString());
    switch (options.type.value_or(ValueType::String)) {
    case ValueType::String:
        return RegistryValue::string(name, data);
    case ValueType::DWord: {
        bool ok = false;
        const quint32 number = data.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                   ? data.mid(2).toUInt(&ok, 16)
                                   : data.toUInt(&ok, 10);
        if (!ok && !data.isEmpty())
            throw UsageError{QStringLiteral("REG_DWORD data must be a number: %1").arg(data)};
        return RegistryValue::dword(name, ok ? number : 0);
    }
    case ValueType::Binary: {
        const QByteArray hex = data.toLatin1();
        const bool isHex = hex.size() % 2 == 0 &&
                           std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
        if (!isHex)
            throw UsageError{QStringLiteral("REG_BINARY data must be pairs of hexadecimal digits: %1").arg(data)};
        return RegistryValue::binary(name, QByteArray::fromHex(hex));
    }
    }
    return RegistryValue::string(name, data);
}

// One line on err in the style of every tool: "lns-reg: what failed: why".
int failure(QTextStream& err, const QString& what, const QString& why) {
    err << "lns-reg: " << what << ": " << why << Qt::endl;
    return Missing;
}

int query(SettingsStore& store, const Options& options, QTextStream& out, QTextStream& err) {
    const auto storedPath = store.storedPath(options.key.hive, options.key.path);
    if (!storedPath)
        return failure(err, QStringLiteral("query %1").arg(options.key.fullName()),
                       QStringLiteral("the key does not exist"));
    const QString keyName = RegistryKeyName{options.key.hive, *storedPath}.fullName();
    if (options.valueName) {
        const auto value = store.value(options.key.hive, options.key.path, *options.valueName);
        if (!value)
            return failure(err, QStringLiteral("query %1").arg(keyName),
                           QStringLiteral("the value %1 does not exist")
                               .arg(options.valueName->isEmpty() ? QStringLiteral("(Default)")
                                                                 : *options.valueName));
        out << printable(keyName) << '\n' << valueLine(*value) << '\n';
        return Success;
    }
    out << printable(keyName) << '\n';
    for (const RegistryValue& value : store.values(options.key.hive, options.key.path).value_or(QList<RegistryValue>()))
        out << valueLine(value) << '\n';
    for (const QString& child : store.subKeys(options.key.hive, options.key.path).value_or(QStringList()))
        out << printable(keyName) << '\\' << printable(child) << '\n';
    return Success;
}

int add(SettingsStore& store, const Options& options, QTextStream& err) {
    if (!options.valueName) {
        if (options.type || options.data)
            throw UsageError{QStringLiteral("/t and /d need /v NAME or /ve")};
        store.createKey(options.key.hive, options.key.path);
        return Success;
    }
    const RegistryValue value = valueFromOptions(options);
    if (options.force) {
        store.setValue(options.key.hive, options.key.path, value);
        return Success;
    }
    // Checked and written at once: of writers racing for a new value, one wins.
    if (!store.addValue(options.key.hive, options.key.path, value)) {
        return failure(err, QStringLiteral("add %1").arg(options.key.fullName()),
                       QStringLiteral("the value exists; give /f to overwrite it"));
    }
    return Success;
}

int remove(SettingsStore& store, const Options& options, QTextStream& err) {
    if (!options.force)
        throw UsageError{QStringLiteral("delete needs /f")};
    if (options.type || options.data)
        throw UsageError{QStringLiteral("delete takes no /t or /d")};
    if (options.valueName) {
        if (!store.deleteValue(options.key.hive, options.key.path, *options.valueName))
            return failure(err, QStringLiteral("delete %1").arg(options.key.fullName()),
                           QStringLiteral("the value does not exist"));
        return Success;
    }
    if (options.key.path.isEmpty())
        throw UsageError{QStringLiteral("a hive cannot be deleted")};
    if (!store.deleteTree(options.key.hive, options.key.path))
        return failure(err, QStringLiteral("delete %1").arg(options.key.fullName()),
                       QStringLiteral("the key does not exist"));
    return Success;
}

} // namespace

int runRegTool(const QStringList& arguments, const QString& storeFile, QTextStream& out, QTextStream& err) {
    if (const auto status = StandardOptions::answer(arguments, QStringLiteral("lns-reg"), Help, out))
        return *status;
    try {
        const QString verb = arguments.value(0).toLower();
        if (verb != QLatin1String("query") && verb != QLatin1String("add") && verb != QLatin1String("delete"))
            throw UsageError{arguments.isEmpty() ? QStringLiteral("a command is needed")
                                                 : QStringLiteral("unknown command %1").arg(arguments.at(0))};
        const Options options = parseOptions(arguments);
        SettingsStore store(storeFile);
        if (verb == QLatin1String("query"))
            return query(store, options, out, err);
        if (verb == QLatin1String("add"))
            return add(store, options, err);
        return remove(store, options, err);
    } catch (const UsageError& usage) {
        err << "lns-reg: " << usage.reason << '\n' << UsageText;
        err.flush();
        return Usage;
    } catch (const Error& error) {
        return failure(err, QStringLiteral("the settings store"), error.description());
    }
}
