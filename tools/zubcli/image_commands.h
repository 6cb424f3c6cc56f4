// zubcli image: list, get, put, del, create and pack floppy images.
#ifndef ZUB_TOOLS_ZUBCLI_IMAGE_COMMANDS_H
#define ZUB_TOOLS_ZUBCLI_IMAGE_COMMANDS_H

#include <ostream>
#include <string>
#include <vector>

extern const char kImageUsage[];

// Exit status as RunZubcli: 0 success, 1 usage error, 2 a file problem
// (a damaged image, a missing name, a full disk).
int RunImageCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

#endif
