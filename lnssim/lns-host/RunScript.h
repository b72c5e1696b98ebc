// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QJsonArray>
#include <QString>
#include <variant>

// One line of an `lns-host run` script:
//   create                      create an object; it becomes the current one
//   release                     release the current object
//   get MEMBER                  read a property
//   set MEMBER VALUE            write a property
//   call MEMBER [ARGUMENT ...]  call a method
// Values: "text" (with \" and \\), true, false, whole numbers; any other
// word is text. Blank lines and lines starting with # are skipped.
struct ScriptLine {
    enum class Kind { Skip, Create, Release, Get, Set, Call };
    Kind kind = Kind::Skip;
    QString member;
    QJsonArray args;
};

// The line, or what is wrong with it.
std::variant<ScriptLine, QString> parseScriptLine(const QString& line);
