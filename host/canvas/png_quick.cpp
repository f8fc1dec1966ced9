// png_quick.cpp - see png_quick.h.
#include "canvas/png_quick.h"

#include <zlib.h>

#include <cstring>
#include <new>

namespace {

void putBigEndian(std::vector<unsigned char> &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

// A chunk: its length, type and data, then the CRC of type and data.
void putChunk(std::vector<unsigned char> &out, const char *type, const unsigned char *data, size_t length) {
    putBigEndian(out, static_cast<uint32_t>(length));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (length > 0) out.insert(out.end(), data, data + length);
    putBigEndian(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(4 + length))));
}

} // namespace

bool png_QuickEncode(const unsigned char *pixels, int32_t width, int32_t height, size_t stride,
                     std::vector<unsigned char> &out) {
    if (width <= 0 || height <= 0) return false;
    const size_t before = out.size();
    try {
        static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        out.insert(out.end(), kSignature, kSignature + 8);
        unsigned char header[13] = {};
        for (int i = 0; i < 4; ++i) {
            header[i] = static_cast<unsigned char>(static_cast<uint32_t>(width) >> (24 - 8 * i));
            header[4 + i] = static_cast<unsigned char>(static_cast<uint32_t>(height) >> (24 - 8 * i));
        }
        header[8] = 8; // bits per channel
        header[9] = 2; // RGB
        putChunk(out, "IHDR", header, sizeof header);

        z_stream z{};
        if (deflateInit(&z, Z_BEST_SPEED) != Z_OK) throw std::bad_alloc();
        std::vector<unsigned char> row(1 + 3 * static_cast<size_t>(width)), deflated(1 << 16);
        bool ok = true;
        // Each row (filter byte 0, then R, G, B per pixel) goes through deflate as it is
        // made; each full buffer of output becomes an IDAT chunk.
        for (int32_t y = 0; ok && y <= height; ++y) {
            const bool last = y == height;
            if (!last) {
                const uint32_t *source = reinterpret_cast<const uint32_t *>(pixels + static_cast<size_t>(y) * stride);
                unsigned char *to = row.data() + 1;
                for (int32_t x = 0; x < width; ++x, to += 3) {
                    to[0] = static_cast<unsigned char>(source[x] >> 16);
                    to[1] = static_cast<unsigned char>(source[x] >> 8);
                    to[2] = static_cast<unsigned char>(source[x]);
                }
            }
            z.next_in = last ? nullptr : row.data();
            z.avail_in = last ? 0 : static_cast<uInt>(row.size());
            int status;
            do {
                z.next_out = deflated.data();
                z.avail_out = static_cast<uInt>(deflated.size());
                status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
                if (status == Z_STREAM_ERROR) ok = false;
                const size_t made = deflated.size() - z.avail_out;
                if (made > 0) putChunk(out, "IDAT", deflated.data(), made);
            } while (ok && (z.avail_out == 0 || (last && status != Z_STREAM_END)));
        }
        deflateEnd(&z);
        if (!ok) {
            out.resize(before);
            return false;
        }
        putChunk(out, "IEND", nullptr, 0);
        return true;
    } catch (const std::bad_alloc &) {
        out.resize(before);
        return false;
    }
}
