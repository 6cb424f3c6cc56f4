#include "menu_text.h"

namespace zub {

std::string CommandNameOfMenuText(std::string_view text)
{
    const size_t tab = text.find('\t');
    if (tab != std::string_view::npos)
        text = text.substr(0, tab);
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                name += text[++i];
            continue;
        }
        name += text[i];
    }
    if (name.size() >= 3 && name.compare(name.size() - 3, 3, "...") == 0)
        name.resize(name.size() - 3);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

}  // namespace zub
