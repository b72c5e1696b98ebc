// SPDX-License-Identifier: Apache-2.0
#pragma once

// Qt reports a few conditions of the headless and minimal environments the
// programs run in that need nobody's attention. This handler drops exactly
// those messages and hands every other one to the handler it replaces, so a
// real problem still reaches standard error.
namespace PlatformNoiseFilter {

// Call once, before the application object is made.
void install();

} // namespace PlatformNoiseFilter
