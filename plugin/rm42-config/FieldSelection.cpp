// SPDX-License-Identifier: Apache-2.0
#include "FieldSelection.h"

#include "CheckedFile.h"
#include "EchoedText.h"
#include "NearestName.h"

bool keepOnlyFields(ConfigurationFile& file, const QString& list, QTextStream& err) {
    const QStringList known = configurableFieldNames();
    const QStringList names = list.split(u',', Qt::SkipEmptyParts);
    if (names.isEmpty()) {
        err << "rm42-config: --only needs FIELD,...\n";
        return false;
    }
    QMap<QString, QString> kept;
    for (const QString& name : names) {
        const QString field = name.trimmed();
        if (!known.contains(field)) {
            err << "rm42-config: --only: unknown field \"" << echoed(field) << '"'
                << didYouMean(field, known) << '\n';
            return false;
        }
        if (file.fields.contains(field))
            kept.insert(field, file.fields.value(field));
    }
    file.fields = kept;
    return true;
}
