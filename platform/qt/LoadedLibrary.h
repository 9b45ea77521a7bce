#pragma once

// Functions of a library loaded at first use (dlopen), so that the program
// does not map and bind it at every start.

#include <dlfcn.h>

namespace ralvo::platform {

// Sets `function` to the library's symbol `name`; whether it has one.
template<typename Function>
bool Resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

} // namespace ralvo::platform
