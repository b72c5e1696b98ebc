// SPDX-License-Identifier: Apache-2.0
#include "NearestName.h"

#include <algorithm>
#include <vector>

namespace {

// Edits between the two texts, a swap of neighbours counting as one.
qsizetype editDistance(const QString& a, const QString& b) {
    std::vector<std::vector<qsizetype>> d(a.size() + 1, std::vector<qsizetype>(b.size() + 1));
    for (qsizetype i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (qsizetype j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

} // namespace

QString nearestName(const QString& name, const QStringList& names) {
    // A third of the name may be mistyped, at least two letters.
    const qsizetype allowed = std::max<qsizetype>(2, name.size() / 3);
    const QString lower = name.toLower();
    QString nearest;
    qsizetype best = allowed + 1;
    for (const QString& candidate : names) {
        // Lengths further apart than that are further apart in edits too.
        if (qAbs(candidate.size() - name.size()) > allowed)
            continue;
        const qsizetype distance = editDistance(lower, candidate.toLower());
        if (distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

QString didYouMean(const QString& name, const QStringList& names) {
    const QString nearest = nearestName(name, names);
    return nearest.isEmpty() ? QString() : QStringLiteral(" (did you mean \"%1\"?)").arg(nearest);
}
