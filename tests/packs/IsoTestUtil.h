#pragma once
// Disc images for the image reader's tests: an ISO 9660 image with Joliet names made with
// xorriso from a folder, its blocks as a raw CD track, and damage done to its directories.
#include <cstdint>
#include <functional>
#include <string>

// Writes the folder as an ISO image (Joliet names when asked) and returns its bytes' path.
std::string MakeIsoImage(const std::string& folder, const std::string& imagePath, bool joliet = true);
// The image's 2048-byte blocks as 2352-byte raw MODE1 sectors, as a ".bin" or ".mdf" holds them.
std::string RawTrack(const std::string& iso);
// Calls edit on every directory record of the root folders of every volume descriptor (the
// primary tree and the Joliet tree), "." and ".." left out; edit gets the record's bytes.
void EditRootRecords(std::string& iso, const std::function<void(char* record, bool directory)>& edit);
// Sets a record's extent or size, both byte orders.
void SetRecordField(char* record, int offset, uint32_t value);
std::string ReadBytes(const std::string& path);
