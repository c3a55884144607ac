// A desktop's mimeapps.list as the installer reads and edits it: any bytes
// give a list whose keys can be read, set and removed, and whose text read
// back holds what was set. Nothing is written to the disk.
#include "setup/engine/MimeAppsList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    setup::MimeAppsList list(QStringLiteral("/nonexistent/mimeapps.list"), bytes);
    const QString type = QStringLiteral("application/x-fuzz-auto-file");
    (void)list.value(QStringLiteral("image/jpeg"));
    list.assign(type, QStringLiteral("fuzz_auto_file.desktop;"));
    const setup::MimeAppsList reread(QStringLiteral("/nonexistent/mimeapps.list"), list.text());
    if (reread.value(type) != QStringLiteral("fuzz_auto_file.desktop;"))
        std::abort();
    list.assign(type, QString());
    (void)list.text();
    return 0;
}
