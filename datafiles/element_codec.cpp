#include "datafiles/element_codec.h"

namespace {

template <typename Load>
void DecodeEach(const unsigned char* bytes, size_t count, size_t width, double* values, Load load) {
    for (size_t i = 0; i < count; ++i) values[i] = load(bytes + i * width);
}

} // namespace

void DecodeElements(uint32_t code, const unsigned char* bytes, size_t count, double* values) {
    switch (code) {
    case kTypeUnsignedBytes:
        DecodeEach(bytes, count, 1, values, [](const unsigned char* b) { return double(b[0]); });
        break;
    case kTypeSignedBytes:
        DecodeEach(bytes, count, 1, values,
                   [](const unsigned char* b) { return double(static_cast<int8_t>(b[0])); });
        break;
    case kTypeUnsignedShorts:
        DecodeEach(bytes, count, 2, values,
                   [](const unsigned char* b) { return double(LoadLittle16(b)); });
        break;
    case kTypeSignedShorts:
        DecodeEach(bytes, count, 2, values, [](const unsigned char* b) {
            return double(static_cast<int16_t>(LoadLittle16(b)));
        });
        break;
    case kTypeUnsignedLongs:
        DecodeEach(bytes, count, 4, values,
                   [](const unsigned char* b) { return double(LoadLittle32(b)); });
        break;
    case kTypeSignedLongs:
        DecodeEach(bytes, count, 4, values, [](const unsigned char* b) {
            return double(static_cast<int32_t>(LoadLittle32(b)));
        });
        break;
    case kTypeFloats:
        DecodeEach(bytes, count, 4, values, [](const unsigned char* b) {
            const uint32_t bits = LoadLittle32(b);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return double(value);
        });
        break;
    case kTypeDoubles:
        DecodeEach(bytes, count, 8, values, [](const unsigned char* b) {
            const uint64_t bits = LoadLittle64(b);
            double value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        });
        break;
    default: break;
    }
}

void EncodeElement(uint32_t code, double value, unsigned char* bytes) {
    switch (code) {
    case kTypeUnsignedBytes:
    case kTypeSignedBytes:
    case kTypeUnsignedShorts:
    case kTypeSignedShorts:
    case kTypeSignedLongs:
        // The low 8, 16 or 32 bits of the signed 32-bit truncation.
        StoreLittle(bytes, static_cast<uint32_t>(TruncateToInt32(value)), BinaryElementSize(code));
        break;
    case kTypeUnsignedLongs: StoreLittle(bytes, TruncateToUint32(value), 4); break;
    case kTypeFloats: {
        const float single = RoundToFloat(value);
        uint32_t bits;
        std::memcpy(&bits, &single, sizeof bits);
        StoreLittle(bytes, bits, 4);
        break;
    }
    case kTypeDoubles: {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        StoreLittle(bytes, bits, 8);
        break;
    }
    default: break;
    }
}
