// png_quick.h - a PNG made for speed rather than size: rows of RGB bytes, no filters,
// deflated at zlib's fastest level. A picture that is shown once (the editor's view)
// costs a fraction of what a well-compressed PNG does to encode.
#ifndef VMODHOST_PNG_QUICK_H
#define VMODHOST_PNG_QUICK_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Appends to out the PNG of width by height pixels (0 < width, height < 2^31) read as
// 0x00RRGGBB words, the rows stride bytes apart. False (out as it was) when memory or
// zlib fails.
bool png_QuickEncode(const unsigned char *pixels, int32_t width, int32_t height, size_t stride,
                     std::vector<unsigned char> &out);

#endif
