#include "bench/PpmPicture.h"

#include "pelcalc/include/Pelcalc.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

bool readNumber(std::istream& in, int& value)
{
    in >> std::ws;
    while (in.peek() == '#') {
        std::string comment;
        std::getline(in, comment);
        in >> std::ws;
    }
    return static_cast<bool>(in >> value);
}

}  // namespace

void* loadPpmAsDib(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    if (!(in >> magic) || magic != "P6" || !readNumber(in, width) || !readNumber(in, height) ||
        !readNumber(in, maxValue) || maxValue != 255)
        return nullptr;
    in.get();  // the one whitespace byte before the pixels
    void* block = PcGetImageMem(width, height);
    if (block == nullptr)
        return nullptr;
    const std::size_t stride = ((width * 24 + 31) / 32) * 4;
    auto* pixels = static_cast<unsigned char*>(block) + 40;
    std::vector<unsigned char> row(3 * static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        if (!in.read(reinterpret_cast<char*>(row.data()), row.size())) {
            std::free(block);
            return nullptr;
        }
        // PPM rows run top-down in R G B; DIB rows bottom-up in B G R.
        unsigned char* out = pixels + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }
    return block;
}
