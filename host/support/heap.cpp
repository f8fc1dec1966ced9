// The host heap: zero-filled blocks, as every record constructor of the library expects.
#include <cstdlib>

#include "vmodhost/omsc.h"

extern "C" {

void *omsc_HeapMalloc(size_t size) {
    // A zero-byte request still yields a distinct block, so callers can tell it from failure.
    return std::calloc(1, size == 0 ? 1 : size);
}

void omsc_HeapFree(void *block) { std::free(block); }

}
