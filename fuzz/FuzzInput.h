// FuzzInput: takes numbers and texts off the front of a fuzzer's input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_size == 0; }

    uint8_t Byte() {
        if (m_size == 0) return 0;
        --m_size;
        return *m_data++;
    }

    uint32_t Word() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
        return value;
    }

    // A text of up to maxLength bytes: a length byte, then the bytes.
    std::string Text(size_t maxLength = 255) {
        size_t n = Byte();
        if (n > maxLength) n = maxLength;
        return Bytes(n);
    }

    std::string Bytes(size_t n) {
        if (n > m_size) n = m_size;
        std::string out(reinterpret_cast<const char*>(m_data), n);
        m_data += n;
        m_size -= n;
        return out;
    }

    std::string Rest() { return Bytes(m_size); }

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Stops the fuzzer with a message when an expectation fails.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)
