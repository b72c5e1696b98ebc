// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ShownValues.h"
#include "SiteReport.h"

#include <QByteArray>

// The report as comma-separated values (RFC 4180: CRLF line ends, a cell
// holding a comma, a quote or a line end quoted, quotes doubled), in UTF-8
// with a byte order mark so that a spreadsheet takes the unit signs as
// written. Three header rows give each column's field name, description and
// unit; then one row per thermostat: device path, state, model, HVAC type,
// program ID, time read (UTC), why it was not read, and every field in the
// shown units (empty where its model has no such field). A text cell that a
// spreadsheet would take for a formula (=, +, -, @ first) starts with "'".
QByteArray csvReport(const SiteReport& report, ShownValues& shown);

// One CSV cell as RFC 4180 writes it.
QString csvCell(const QString& text);
