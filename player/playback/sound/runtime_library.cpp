#include "runtime_library.h"

#include <cstdlib>
#include <dlfcn.h>

RuntimeLibrary::RuntimeLibrary(const char* soname, const char* overrideVariable, const char* purpose,
                               const char* package, std::vector<LibrarySymbol> symbols)
    : soname_(soname), overrideVariable_(overrideVariable), purpose_(purpose), package_(package),
      symbols_(std::move(symbols))
{
}

bool RuntimeLibrary::Load(std::string* problem)
{
    std::call_once(once_, [this] { loaded_ = Open(); });
    if (!loaded_)
        *problem = problem_;
    return loaded_;
}

bool RuntimeLibrary::Open()
{
    const char* chosen = overrideVariable_ ? std::getenv(overrideVariable_) : nullptr;
    const std::string file = chosen && *chosen ? chosen : soname_;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        // dlerror() starts with the file name, which the message gives first.
        std::string why = dlerror();
        if (why.compare(0, file.size() + 2, file + ": ") == 0)
            why.erase(0, file.size() + 2);
        problem_ = file + " could not be loaded (" + why + "): " + purpose_ + " needs it (Debian package " +
                   package_ + ")";
        return false;
    }
    for (const LibrarySymbol& symbol : symbols_) {
        *symbol.slot = dlsym(handle, symbol.name);
        if (!*symbol.slot) {
            problem_ = file + " has no function " + symbol.name + ": " + purpose_ + " needs a newer one (Debian package " +
                       package_ + ")";
            for (const LibrarySymbol& filled : symbols_)
                *filled.slot = nullptr;
            dlclose(handle);
            return false;
        }
    }
    return true;
}
