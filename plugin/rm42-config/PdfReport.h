// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "ReportSheets.h"

#include <QByteArray>

// The report as a PDF of A4 pages drawn with Qt's PDF writer: the summary
// first (on more pages when the site's list is longer than one), then one
// page per thermostat, its groups in two columns in a type size small
// enough to hold them. Needs a QGuiApplication for its fonts.
QByteArray pdfReport(const ReportSheets& sheets);
