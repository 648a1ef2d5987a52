// Opening libraries at run time through the dynamic loader (dlopen), for the backends whose
// libraries a machine may lack.
#include "runtime/internal/shared_library.h"

#include <dlfcn.h>

namespace orvelt {

// Local binding keeps the library's symbols out of the program's own namespace; it is never closed,
// as neither SDL nor GTK can be unloaded safely.
void* OpenSharedLibrary(const char* soname) { return dlopen(soname, RTLD_NOW | RTLD_LOCAL); }

void* FindSharedFunction(void* library, const char* name) { return dlsym(library, name); }

}  // namespace orvelt
