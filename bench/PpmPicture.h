// Reads a binary PPM (P6, 8 bits) into a packed 24-bit DIB block made by
// PcGetImageMem, so the benchmarks start from the corpus pictures.
#pragma once

#include <string>

// The block (free() it), or null when the file is not a readable P6 PPM.
void* loadPpmAsDib(const std::string& path);
