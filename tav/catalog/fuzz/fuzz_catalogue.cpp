// Feeds arbitrary bytes to the catalogue reader, and writes back what it
// accepted, which must read again the same. Built in a clang build folder:
//   cmake --build <dir> --target fuzz_catalogue
//   bin/fuzz_catalogue -max_total_time=300 corpus/catalogue
#include "tav/catalog/CatalogueFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const CatalogueReadResult read = parseCatalogue(bytes);
    if (read.status == CatalogueReadStatus::Read) {
        const CatalogueReadResult again = parseCatalogue(serializeCatalogue(read.data));
        if (again.status != CatalogueReadStatus::Read || again.data.keys.size() != read.data.keys.size() ||
            again.data.thumbnails != read.data.thumbnails)
            std::abort();
    }
    return 0;
}
