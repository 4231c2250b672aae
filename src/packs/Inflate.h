#pragma once
// One-call zlib inflation, the decompressor of the pack's entries and directory block.
#include <cstddef>
#include <cstdint>

// Inflates one zlib stream (RFC 1950, 32 KiB window, Adler-32 checked) from source into
// destination in a single call with the finish flag. On entry *capacity is the destination's
// size, on success it holds the produced length. Returns 0 on success or a zlib error code;
// a stream that stops without reaching its end reports the buffer error -5.
int InflateBuffer(uint8_t* destination, size_t* capacity, const uint8_t* source, size_t sourceLength);

