// Hosts whose narrow encoding is UTF-8: nothing to convert.
#include "text_codec.h"

namespace playlist {

std::string NarrowToUtf8(const std::string& text)
{
    return text;
}

std::string Utf8ToNarrow(const std::string& text)
{
    return text;
}

}  // namespace playlist
