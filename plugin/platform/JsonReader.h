// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QString>
#include <optional>

// The one reader of every JSON file the programs take in: configuration
// files, site manifests, the kit's descriptions and catalogs. Qt's reader
// keeps the last of two members of one name without a word, and takes a
// number with more digits than a double holds as the nearest double; both
// would change silently what the file says, so a document is refused for
// either:
//   a syntax error:  "not a JSON document: ERROR at line L, column C"
//   a key twice:     "the key "K" is given twice in one object, on line L
//                     (first on line F)", at any depth
//   a number:        "line L: the number N cannot be held exactly as written"
// A number is held exactly when the nearest double reads back, in the
// fewest digits that name it, as the same decimal value: 0.1 and
// 5.000000000000001 are, 5.0000000000000001 and 1e400 are not.
std::optional<QJsonDocument> readJson(const QByteArray& text, QString& problem);

// A number that readJson took, in the fewest digits that name it and
// without an exponent: "5.000000000000001", "72.5", "100000000000000000000".
QString exactNumberText(double number);
