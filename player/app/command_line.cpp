#include "command_line.h"

#include <vector>

namespace zub {

namespace {

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at == text.size())
            break;
        std::string word;
        bool quoted = false;
        while (at < text.size() && (quoted || (text[at] != ' ' && text[at] != '\t'))) {
            if (text[at] == '"')
                quoted = !quoted;
            else
                word += text[at];
            ++at;
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

CommandLine ParseCommandLine(std::string_view text)
{
    CommandLine cl;
    cl.newPlaylist = text.find("/new") != std::string_view::npos;
    std::vector<std::string> words = SplitWords(text);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "/new")
            continue;
        if (w == "/capture") {
            if (i + 1 < words.size())
                cl.captureFile = words[++i];
            continue;
        }
        // Any other switch ("/NEW", "/x") is not a song: a Windows path
        // never begins with a slash.
        if (w[0] == '/')
            continue;
        if (!cl.openPath.empty())
            cl.openPath += ' ';
        cl.openPath += w;
    }
    return cl;
}

}  // namespace zub
