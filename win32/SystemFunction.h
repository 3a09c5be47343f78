// Functions taken from libraries in the system folder at run time, for the
// libraries that are not on the system's list of known DLLs: a static import
// of one would take a file of that name lying beside the program (a download
// folder) before the system's own.
#pragma once

#include "win32/Win32.h"

namespace win32 {

// The library from the system folder only, never the program's folder or the
// current one; null when it is not there. It stays loaded for the life of
// the process.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <typename Signature>
class SystemFunction;

// One function of a system library, typed as the system declares it (for
// example SystemFunction<UINT()>{L"winmm.dll", "waveOutGetNumDevs"}); empty
// when the library or the function is missing.
template <typename Result, typename... Args>
class SystemFunction<Result(Args...)> {
public:
    SystemFunction(const wchar_t* library, const char* name) {
        if (HMODULE module = LoadSystemLibrary(library)) {
            function_ = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        }
    }
    explicit operator bool() const { return function_ != nullptr; }
    Result operator()(Args... args) const { return function_(args...); }

private:
    using Pointer = Result(WINAPI*)(Args...);
    Pointer function_ = nullptr;
};

}  // namespace win32
