#pragma once

#include <windows.h>

#include <memory>

// A kernel handle that is closed when it goes. Made through OwnHandle, so that null stands for
// "no handle" whichever of the two failure values the call that made it uses.
struct THandleCloser {
    void operator()(HANDLE Handle) const { CloseHandle(Handle); }
};
using THandle = std::unique_ptr<void, THandleCloser>;

inline THandle OwnHandle(HANDLE Handle) {
    return THandle(Handle == INVALID_HANDLE_VALUE ? nullptr : Handle);
}

// Memory the system gave with LocalAlloc, freed when it goes.
struct TLocalFree {
    void operator()(void* Memory) const { LocalFree(Memory); }
};
using TLocal = std::unique_ptr<void, TLocalFree>;
