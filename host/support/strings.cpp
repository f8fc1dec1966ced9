// String helpers of the host. Every string they make lives on the host heap.
#include <cstring>

#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"

namespace {

char *heapCopy(const char *text, size_t length) {
    char *copy = static_cast<char *>(omsc_HeapMalloc(length + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text, length);
        copy[length] = '\0';
    }
    return copy;
}

} // namespace

extern "C" {

char *ostr_Duplicate(const char *text) {
    if (text == nullptr) {
        return nullptr;
    }
    return heapCopy(text, std::strlen(text));
}

char *ostr_SubString(const char *text, const char *pattern) {
    if (text == nullptr || pattern == nullptr) {
        return nullptr;
    }
    return const_cast<char *>(std::strstr(text, pattern));
}

char *ostr_StringCat(char *buffer, const char *a, const char *b) {
    // a or b may be the buffer itself: build the result before releasing it.
    size_t lengthA = a != nullptr ? std::strlen(a) : 0;
    size_t lengthB = b != nullptr ? std::strlen(b) : 0;
    char *result = static_cast<char *>(omsc_HeapMalloc(lengthA + lengthB + 1));
    if (result == nullptr) {
        return buffer;
    }
    if (lengthA > 0) {
        std::memcpy(result, a, lengthA);
    }
    if (lengthB > 0) {
        std::memcpy(result + lengthA, b, lengthB);
    }
    omsc_HeapFree(buffer);
    return result;
}

char *ostr_GetExtPart(const char *path, char *buffer, size_t size) {
    if (buffer == nullptr || size == 0) {
        return buffer;
    }
    buffer[0] = '\0';
    if (path == nullptr) {
        return buffer;
    }
    // Only the file name counts: a dot in a directory name is no extension.
    const char *name = path;
    for (const char *p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') {
            name = p + 1;
        }
    }
    const char *dot = std::strrchr(name, '.');
    if (dot == nullptr) {
        return buffer;
    }
    size_t length = std::strlen(dot + 1);
    if (length > size - 1) {
        length = size - 1;
    }
    std::memcpy(buffer, dot + 1, length);
    buffer[length] = '\0';
    return buffer;
}

int32_t otxt_Text_strcmp(const char *a, const char *b) {
    if (a == nullptr || b == nullptr) {
        return a == b ? 0 : 1;
    }
    int result = std::strcmp(a, b);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

}
