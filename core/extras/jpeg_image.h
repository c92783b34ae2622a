#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace brevio {

// A decoded picture: rows of 8-bit red, green, blue triples, top row first.
struct RgbImage
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Decodes one JPEG held in memory. nullopt for data that is not a readable JPEG, or one too
// large to be a picture of ours; a broken image never ends the program.
std::optional<RgbImage> decodeJpeg(std::string_view bytes);

} // namespace brevio
