#pragma once
// The program's code is one private shared library, libquillon-core.so, that
// the program and its modules link. It is built with hidden symbols
// (-fvisibility=hidden); QUILLON_EXPORT marks the declarations the program
// and the modules use of it, and nothing else leaves the library. In the
// subsystem libraries the tests link, it changes nothing.

// On Windows the core is quillon-core.dll, which exports what is marked.
#ifdef _WIN32
#define QUILLON_EXPORT __declspec(dllexport)
#else
#define QUILLON_EXPORT __attribute__((visibility("default")))
#endif
