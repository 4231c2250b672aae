#pragma once
// A JPEG file decoded with libjpeg(-turbo) into a picture, as the slide show shows it: baseline or
// progressive, grey or colour (CMYK too). A file that is not a readable JPEG gives a null picture;
// a truncated one gives what was decoded, the rest grey, as the library leaves it.
#include <QImage>

#include <string>

QImage DecodeJpeg(const std::string& hostPath);
