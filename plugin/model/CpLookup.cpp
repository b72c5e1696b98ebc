// SPDX-License-Identifier: Apache-2.0
#include "model/CpLookup.h"

#include "model/RuntimeErrors.h"
#include "platform/AbortRetryIgnore.h"

namespace {

const QString Source = QStringLiteral("GetCpByTypeIndex");

struct Split {
    QString before;
    QString after;
};

// The text before the first separator as it is, the text after it trimmed.
Split splitAt(const QString& text, QChar separator) {
    const qsizetype at = text.indexOf(separator);
    if (at < 0)
        return {text, QString()};
    return {text.left(at), text.mid(at + 1).trimmed()};
}

int numberOf(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        throw RuntimeErrors::typeMismatch(Source);
    return number;
}

QString keyOf(const lns::ConfigProperty& property) {
    return QString::number(property.ResourceScope()) + u':' + QString::number(property.TypeIndex());
}

QString lookupMessage(const Error& error) {
    return error.description() + QStringLiteral("\n\nError ") + QString::number(error.number());
}

} // namespace

lns::Ref<lns::ConfigProperty> GetCpByTypeIndex(const QString& sPathHandle,
                                               const lns::Ref<lns::AppDevice>& device,
                                               const lns::Ref<lns::NetworkVariables>& deviceNvs,
                                               Dialogs& dialogs) {
    lns::Ref<lns::LonMarkObjects> lonMarkObjects;
    lns::Ref<lns::Interface> deviceInterface;
    lns::Ref<lns::ConfigProperties> candidates;
    lns::Ref<lns::ConfigProperty> found;
    Split path;

    // An ignored failure leaves the object its step should have taken
    // missing; a later step that needs it fails too, through the same box.
    const auto require = [](const auto& object) -> decltype(auto) {
        if (!object)
            throw RuntimeErrors::objectNotSet(Source);
        return *object;
    };
    const auto takeInterface = [&] {
        deviceInterface = require(device).Interface();
        lonMarkObjects = require(deviceInterface).LonMarkObjects();
    };
    const auto splitHead = [&] { path = splitAt(sPathHandle, u':'); };
    const auto takeCandidates = [&] {
        if (path.before == u"C") {
            candidates = require(deviceInterface).ConfigProperties();
        } else if (path.before == u"F") {
            const Split block = splitAt(path.after, u'/');
            candidates =
                require(lonMarkObjects).Item(numberOf(block.before) + 1)->ConfigProperties();
            path.after = splitAt(block.after, u':').after;
        } else if (path.before == u"N") {
            const Split nv = splitAt(path.after, u'/');
            candidates = require(deviceNvs).Item(numberOf(nv.before))->ConfigProperties();
            path.after = splitAt(nv.after, u':').after;
        }
    };
    // An ignored failure leaves no candidates: the result is then nothing.
    const auto findFirstMatch = [&] {
        if (!candidates)
            return;
        for (int i = 1; i <= candidates->Count() && !found; ++i) {
            lns::Ref<lns::ConfigProperty> candidate = candidates->Item(i);
            if (keyOf(*candidate) == path.after)
                found = std::move(candidate);
        }
    };

    AbortRetryIgnoreBox box{QStringLiteral("fMain ") + Source, DialogIcon::Critical, lookupMessage,
                            nullptr};
    if (!runSteps({takeInterface, splitHead, takeCandidates, findFirstMatch},
                  askAbortRetryIgnore(dialogs, std::move(box))))
        return nullptr;
    return found;
}
