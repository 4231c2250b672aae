#include "packs/Inflate.h"

#include <climits>
#include <zlib.h>

int InflateBuffer(uint8_t* destination, size_t* capacity, const uint8_t* source, size_t sourceLength) {
    // zlib counts in 32-bit units; the pack's sizes are 32-bit too.
    if (*capacity > UINT_MAX || sourceLength > UINT_MAX) return Z_BUF_ERROR;
    z_stream zs{};
    zs.next_in = const_cast<Bytef*>(source);
    zs.avail_in = static_cast<uInt>(sourceLength);
    zs.next_out = destination;
    zs.avail_out = static_cast<uInt>(*capacity);
    int rc = inflateInit(&zs);
    if (rc != Z_OK) return rc;
    rc = inflate(&zs, Z_FINISH);
    const size_t produced = zs.total_out;
    inflateEnd(&zs);
    if (rc == Z_STREAM_END) {
        *capacity = produced;
        return Z_OK;
    }
    return rc == Z_OK ? Z_BUF_ERROR : rc;
}
