#include "setup/engine/Script.h"

namespace setup {

QString Script::readKey(const QString& section, const QString& key, const QString& fallback) const
{
    return m_file.readValue(section, key).value_or(fallback);
}

QStringList Script::numbered(const QString& section, const QString& prefix) const
{
    QStringList values;
    for (int n = 1;; ++n) {
        const QString value = readKey(section, prefix + QString::number(n));
        if (value.isEmpty())
            return values;
        values << value;
    }
}

QStringList Script::numbered(const QString& section, const QString& prefix, int count) const
{
    QStringList values;
    for (int n = 1; n <= count; ++n)
        values << readKey(section, prefix + QString::number(n));
    return values;
}

}  // namespace setup
