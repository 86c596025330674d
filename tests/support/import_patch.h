// Redirects one of this executable's imports (an entry of its import address
// table) to another function for as long as the object lives. Code linked
// into the test executable then calls the replacement; the system's DLLs,
// which have tables of their own, are untouched.
#pragma once

#include <windows.h>

class ImportPatch {
  public:
    ImportPatch(const char* dll, const char* function, void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    // The function the entry held before.
    template <typename F>
    F original() const {
        return reinterpret_cast<F>(original_);
    }

  private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
