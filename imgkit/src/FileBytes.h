// Whole-file reads and writes for the codecs, with Unicode paths.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace imgkit {

// A file's bytes, mapped or read; empty when the file cannot be read or is
// larger than the library accepts.
class FileBytes {
public:
    explicit FileBytes(const QString& path);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    bool ok() const { return m_data != nullptr; }
    const std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};

// Writes `size` bytes to `path`, replacing the file; false on any failure
// (a partly written file is removed).
bool writeFileBytes(const QString& path, const void* data, std::size_t size);

}  // namespace imgkit
