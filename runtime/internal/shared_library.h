// Libraries opened at run time by their soname, the first time they are needed, with the functions
// a backend uses resolved into one table per library.
//
// Usage:
//   #define MY_FUNCTIONS(X) X(SDL_CreateWindow) X(SDL_PollEvent)
//   struct SdlTable { ORVELT_LIBRARY_TABLE(MY_FUNCTIONS) };
//   const SdlTable* sdl = LoadLibraryTable<SdlTable>("libSDL2-2.0.so.0");  // nullptr: missing
//   sdl->SDL_PollEvent(&event);
#pragma once
#include <cstring>

namespace orvelt {

// The library, or nullptr when it is not installed or cannot be loaded. It stays loaded.
void* OpenSharedLibrary(const char* soname);
// The address of the named function in the library or the libraries it depends on; nullptr when
// there is none.
void* FindSharedFunction(void* library, const char* name);

template <typename Function>
bool ResolveFunction(void* library, const char* name, Function*& slot) {
  void* address = FindSharedFunction(library, name);
  static_assert(sizeof slot == sizeof address);
  std::memcpy(&slot, &address, sizeof slot);
  return address != nullptr;
}

// The table of a library's functions, loaded once; nullptr when the library is missing or lacks
// one of them, so that the backend acts as on a machine without it.
template <typename Table>
const Table* LoadLibraryTable(const char* soname) {
  static const Table* const table = [soname]() -> const Table* {
    static Table loaded;
    void* library = OpenSharedLibrary(soname);
    return library && loaded.Load(library) ? &loaded : nullptr;
  }();
  return table;
}

}  // namespace orvelt

// One function pointer per listed function, typed by the library's own header, and Load(library).
#define ORVELT_LIBRARY_SLOT(name) decltype(&::name) name = nullptr;
#define ORVELT_LIBRARY_RESOLVE(name) &&::orvelt::ResolveFunction(library, #name, name)
#define ORVELT_LIBRARY_TABLE(FUNCTIONS)              \
  FUNCTIONS(ORVELT_LIBRARY_SLOT)                     \
  bool Load(void* library) { return true FUNCTIONS(ORVELT_LIBRARY_RESOLVE); }
