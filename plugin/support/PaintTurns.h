// SPDX-License-Identifier: Apache-2.0
#pragma once

// Long work on the main thread lets the windows paint and timers run between
// its steps, user input excepted (that waits for the work to end). It does so
// at most once a frame: painting more often than a screen shows frames is
// work nobody sees, and at zero latency the steps of one opening follow each
// other within a millisecond. What a skipped turn would have painted is
// painted by the next turn, or by the event loop once the work ends.
namespace PaintTurns {

void letWindowsPaint();
// Now, whenever the last turn was: for a window just shown, which has
// nothing on the screen yet.
void letWindowsPaintNow();

} // namespace PaintTurns
