#pragma once
// Disc images for the image reader's tests: an ISO 9660 image with Joliet names made with
// xorriso from a folder, its blocks as a raw CD track, damage done to its directories, and
// small images put together record by record.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Writes the folder as an ISO image (Joliet names and Rock Ridge names when asked) and returns
// its bytes' path.
std::string MakeIsoImage(const std::string& folder, const std::string& imagePath, bool joliet = true, bool rockRidge = true);
// The image's 2048-byte blocks as 2352-byte raw MODE1 sectors, as a ".bin" or ".mdf" holds them.
std::string RawTrack(const std::string& iso);
// Calls edit on every directory record of the root folders of every volume descriptor (the
// primary tree and the Joliet tree), "." and ".." left out; edit gets the record's bytes.
void EditRootRecords(std::string& iso, const std::function<void(char* record, bool directory)>& edit);
// Sets a record's extent or size, both byte orders.
void SetRecordField(char* record, int offset, uint32_t value);
std::string ReadBytes(const std::string& path);

// A directory record: identifier bytes as given, extent, size, flags (2 folder, 0x80 one part of
// several), then systemUse after the pad byte, and zeros up to length when that is longer.
std::string DirRecord(std::string_view id, uint32_t lsn, uint32_t size, uint8_t flags = 0, std::string_view systemUse = {},
                      size_t length = 0);
// A folder's "." and ".." records.
std::string Dots(uint32_t lsn, uint32_t size = 2048);
// A Joliet identifier: UCS-2, big-endian.
std::string Ucs2(std::u16string_view text);
// An image made by hand: a primary volume descriptor, and a Joliet one when asked, both naming
// the root folder at block kHandRoot with rootSize bytes; blocks[i] (up to 2048 bytes, padded)
// is block kHandRoot + i.
constexpr uint32_t kHandRoot = 20;
std::string HandImage(const std::vector<std::string>& blocks, uint32_t rootSize = 2048, bool joliet = false);
