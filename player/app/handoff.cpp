#include "handoff.h"

#include <cstring>

namespace zub {

namespace {
constexpr size_t kMaxPath = 260;  // including the terminating NUL
}

bool ShouldHandOff(const CommandLine& cl)
{
    return !cl.openPath.empty() && cl.captureFile.empty() && !cl.newPlaylist;
}

std::optional<std::string> ReadHandoff(uint32_t tag, const void* data, size_t size)
{
    if (tag != kHandoffTag || !data || size == 0 || size >= kMaxPath)
        return std::nullopt;
    const char* text = static_cast<const char*>(data);
    if (std::memchr(text, '\0', size))
        return std::nullopt;
    return std::string(text, size);
}

}  // namespace zub
