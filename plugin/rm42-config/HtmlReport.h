// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ReportSheets.h"

#include <QByteArray>

// The report as one self-contained HTML page (UTF-8), printed a sheet per
// page: the summary first, then each thermostat's values in two columns.
QByteArray htmlReport(const ReportSheets& sheets);
