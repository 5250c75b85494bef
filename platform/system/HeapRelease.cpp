#include "platform/system/HeapRelease.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void HeapRelease::shareOneHeap() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}

void HeapRelease::trim() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
