// SPDX-License-Identifier: Apache-2.0
#include "objectserver/NetworkName.h"

#include "lns/LnsCodes.h"
#include "platform/Error.h"

#include <algorithm>

namespace lns::sim {

namespace {

bool isFolderName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control;
    });
}

} // namespace

void requireNetworkName(const QString& name) {
    if (!isFolderName(name))
        throw Error::lns(Code::InvalidArgument, QStringLiteral("LNS Object Server"),
                         QStringLiteral("\"%1\" is not a network name: a network is one folder "
                                        "of the Databases folder, named without \"/\" and "
                                        "\"\\\", and not \".\" or \"..\".")
                             .arg(name));
}

QString networkFolder(const QString& lonWorksFolder, const QString& name) {
    requireNetworkName(name);
    return lonWorksFolder + QStringLiteral("/Databases/") + name;
}

} // namespace lns::sim
