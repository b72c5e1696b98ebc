// SPDX-License-Identifier: Apache-2.0
#pragma once

// The editing rules of the configuration window as plain functions, so the
// window's handlers stay thin and other front ends apply the same rules.

#include "model/DisplayUnits.h"
#include "model/HeldText.h"
#include "model/KeyRules.h"
#include "model/NumberText.h"
#include "model/RangeCheck.h"
#include "model/SetpointRules.h"
#include "model/ShownValue.h"
