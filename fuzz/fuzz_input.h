#pragma once
// What the fuzz targets share: a check that stops the run, and a reader that
// takes whole numbers and doubles from the input, giving 0 past its end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

inline void Check(bool condition) {
    if (!condition) std::abort();
}

struct FuzzInput {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    bool Done() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint32_t Bits32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return v;
    }
    // n bytes in the order they come (a double as the machine stores it).
    void Copy(void* to, size_t n) {
        uint8_t* bytes = static_cast<uint8_t*>(to);
        for (size_t i = 0; i < n; ++i) bytes[i] = Byte();
    }
    // Every byte not yet read, as text.
    std::string Rest() {
        const size_t from = at < size ? at : size;
        at = size;
        return std::string(reinterpret_cast<const char*>(data + from), size - from);
    }
    double Double() {
        const uint64_t bits = uint64_t{Bits32()} << 32 | Bits32();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
};
