// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

// Words for LNS object class ids and plug-in command ids, used in progress texts.
QString ObjectClassWord(qint16 objectClassId);
QString CommandWord(qint32 commandId);
