// Handing a file to the player that is already running: opening a song or
// playlist from the file manager while the player runs gives it to that
// player, as a drop, instead of starting a second player beside it.
#ifndef ZUB_PLAYER_APP_HANDOFF_H
#define ZUB_PLAYER_APP_HANDOFF_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "command_line.h"

namespace zub {

// The tag of the message that carries the path ("ZUB1").
constexpr uint32_t kHandoffTag = 0x5A554231;

// A start that opens a file hands it over; "/capture" (its own output) and
// "/new" (its own playlist) ask for an instance of their own.
bool ShouldHandOff(const CommandLine& cl);

// The path that a handoff message carries, or nothing when the message is
// not one of ours or could not be opened (empty, longer than a path may be,
// or holding a NUL).
std::optional<std::string> ReadHandoff(uint32_t tag, const void* data, size_t size);

}  // namespace zub

#endif
