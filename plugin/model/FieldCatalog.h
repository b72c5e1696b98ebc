// SPDX-License-Identifier: Apache-2.0
#pragma once

struct FieldControls;
struct Specific;

// Replaces NvCtrlTables with the 83 fields of the configuration window, each
// bound to its control and to its value in NvCpTables (built before).
// A value missing from NvCpTables fails with the collection's missing-key
// error and leaves NvCtrlTables as it was.
void BuildNvCtrlTables(Specific& specific, const FieldControls& controls);
