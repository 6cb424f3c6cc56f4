// The texts the player reads back from its settings and command line: the
// "Options" string, window-position values, folders, recent-menu texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "command_line.h"
#include "file_kind.h"
#include "recent_files.h"
#include "settings_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    zub::OptionArray options = zub::DefaultOptions();
    zub::ParseOptions(text, options);
    if (zub::FormatOptions(options).size() != zub::kOptionCount)
        __builtin_trap();
    if (auto pos = zub::ParseWindowPos(text)) {
        auto again = zub::ParseWindowPos(zub::FormatWindowPos(*pos));
        if (!again || !(*again == *pos))
            __builtin_trap();
    }
    zub::FolderOfPath(text);
    zub::FileTitleOf(text);
    zub::IsPlaylistTitle(text);
    zub::WithMidExtension(text);
    zub::RecentMenuText(1, text);
    zub::ParseCommandLine(text);
    return 0;
}
