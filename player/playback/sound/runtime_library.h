// A shared library opened by its soname when a command first needs it, not
// when the program starts: zubcli starts quickly and works on a machine
// without the sound libraries, and a sound command then says which one is
// missing. The functions used are a table of names and slots.
#ifndef ZUB_SOUND_RUNTIME_LIBRARY_H
#define ZUB_SOUND_RUNTIME_LIBRARY_H

#include <mutex>
#include <string>
#include <vector>

struct LibrarySymbol {
    const char* name;
    void** slot;  // a function pointer, filled by Load
};

// The slot of a function pointer, for a LibrarySymbol.
template <typename Function>
void** SymbolSlot(Function*& pointer)
{
    return reinterpret_cast<void**>(&pointer);
}

// {"name", slot of api.name}: each name written once.
#define ZUB_LIBRARY_SYMBOL(api, function) LibrarySymbol{#function, SymbolSlot((api).function)}

class RuntimeLibrary {
public:
    // `purpose` says what needs it ("the FluidSynth synthesizer") and
    // `package` which Debian package has it. When the environment variable
    // `overrideVariable` is set, its value is opened instead of `soname`
    // (another build of the library, or a missing one in tests).
    RuntimeLibrary(const char* soname, const char* overrideVariable, const char* purpose, const char* package,
                   std::vector<LibrarySymbol> symbols);

    // Opens the library the first time and fills every slot; later calls
    // give the first answer. False with `*problem`, one line naming the
    // library, when it cannot be opened or lacks a function. The library
    // stays loaded for the rest of the process.
    bool Load(std::string* problem);

private:
    bool Open();

    const char* soname_;
    const char* overrideVariable_;
    const char* purpose_;
    const char* package_;
    std::vector<LibrarySymbol> symbols_;
    std::once_flag once_;
    bool loaded_ = false;
    std::string problem_;
};

#endif
