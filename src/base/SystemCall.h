// A function of a system DLL looked up at its first use instead of imported: a program that needs
// the shell's or the common dialogs' DLLs only now and then does not load them, and the DLLs they
// pull in, at its start.
#pragma once

#include <windows.h>

namespace ox {

// The function `name` of the system DLL `dll` as a pointer of type Fn; null when it cannot be had.
// The DLL stays loaded for the life of the process (the pointer is kept). System DLLs are known
// to the loader by name, so no folder of the search path can stand in for them.
template <typename Fn>
Fn SystemCall(const char* dll, const char* name) {
  HMODULE module = LoadLibraryA(dll);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace ox
