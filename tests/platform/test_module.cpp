// A module for the loader's tests (module_loader_test.cpp), built three
// times: with this build's interface, with another version's, and with none.

#include "platform/module_loader.h"

#if defined(QUILLON_TEST_MODULE_VERSION)
extern "C" QUILLON_EXPORT const char quillonModuleInterface[] = QUILLON_TEST_MODULE_VERSION;
#elif !defined(QUILLON_TEST_MODULE_UNVERSIONED)
QUILLON_MODULE_INTERFACE;
#endif

extern "C" QUILLON_EXPORT int quillonTestModuleEntry() { return 42; }
