// A block of bytes received over DDE: one malloc() allocation and its length,
// with one owner. release() hands the allocation to code that frees it with
// free() (the imaging library's ImgKitMemFree does).
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace platform {

class DdeBlock {
public:
    DdeBlock() = default;
    ~DdeBlock() { std::free(m_data); }
    DdeBlock(const DdeBlock&) = delete;
    DdeBlock& operator=(const DdeBlock&) = delete;
    DdeBlock(DdeBlock&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
    {}
    DdeBlock& operator=(DdeBlock&& other) noexcept
    {
        if (this != &other) {
            std::free(m_data);
            m_data = std::exchange(other.m_data, nullptr);
            m_size = std::exchange(other.m_size, 0);
        }
        return *this;
    }

    // A block of `size` bytes, uninitialised; empty when the allocation
    // fails. Large blocks sit on huge pages, so that filling a picture of
    // many megabytes does not fault its pages in 4 KB at a time.
    static DdeBlock allocate(std::size_t size);

    void* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }
    [[nodiscard]] void* release()
    {
        m_size = 0;
        return std::exchange(m_data, nullptr);
    }

private:
    void* m_data = nullptr;
    std::size_t m_size = 0;
};

}  // namespace platform
