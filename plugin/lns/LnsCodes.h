// SPDX-License-Identifier: Apache-2.0
#pragma once

namespace lns {

// LNS codes; a failure's number is Error::LnsErrorBase plus the code.
namespace Code {
constexpr int NotFound = 4;              // no item of that index or name
constexpr int NotOpen = 10;              // the object must be opened first
constexpr int AlreadyExists = 17;        // an item of that name exists
constexpr int InvalidArgument = 21;      // a value the operation cannot take
constexpr int DatabaseInvalid = 4006;    // a network database file that cannot be used
constexpr int ImportFailed = 4080;       // an external interface file that cannot be imported
constexpr int WriteFailed = 18034;       // "Failed to write data to the network variable object."
constexpr int FormatFailed = 18035;      // "An attempt to format the requested data has failed."
constexpr int DeviceUnreachable = 18200; // "Failed to communicate with target device."
} // namespace Code

} // namespace lns
