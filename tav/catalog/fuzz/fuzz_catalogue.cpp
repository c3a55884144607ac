// Feeds arbitrary bytes to the catalogue reader, and writes back what it
// accepted, which must read again the same. Built on its own, for example:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fPIC \
//     -I tav/catalog -I platform $(pkg-config --cflags Qt6Gui) \
//     tav/catalog/fuzz/fuzz_catalogue.cpp tav/catalog/CatalogueFile.cpp \
//     platform/Sjis.cpp platform/AtomicFile.cpp $(pkg-config --libs Qt6Gui) -o fuzz_catalogue
//   ./fuzz_catalogue -max_total_time=300 corpus/
#include "CatalogueFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const CatalogueReadResult read = parseCatalogue(bytes);
    if (read.status == CatalogueReadStatus::Read) {
        const CatalogueReadResult again = parseCatalogue(serializeCatalogue(read.data));
        if (again.status != CatalogueReadStatus::Read || again.data.keys.size() != read.data.keys.size())
            std::abort();
    }
    return 0;
}
