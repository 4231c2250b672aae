#pragma once
// Disc images for the bookpack verbs: "disc" lists and extracts an image's files, and the pack
// verbs read the interface pack inside an image given in place of a pack file.
#include <memory>
#include <string>

class TIsoImage;

// Opens an image; Failure with the reader's reason when it cannot be read.
std::unique_ptr<TIsoImage> OpenDiscImage(const std::string& path);
// The file called name in the image's program folder (the one holding Zaz.dhl); Failure when
// the image lacks it.
std::string ReadFromImage(const std::string& imagePath, const std::string& name);
