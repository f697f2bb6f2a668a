#include "datafiles/file_type_choice.h"

#include "datafiles/file_types.h"

int32_t FileTypeParameterForSize(uint64_t size) {
    constexpr uint64_t kLargest = 0x7FFFFFFF;
    if (size <= kLargest) return static_cast<int32_t>(size);
    return static_cast<int32_t>((kLargest & ~uint64_t{7}) | (size & 7));
}

bool ReadingTypeAllowed(uint32_t code, uint32_t size) {
    const int elementSize = BinaryElementSize(code);
    return elementSize <= 1 || size % static_cast<uint32_t>(elementSize) == 0;
}

bool SavingTypeAllowed(uint32_t code, double dataMin, double dataMax) {
    struct Range {
        uint32_t code;
        double lowest;
        double limit; // values must stay below it
    };
    static constexpr Range kRanges[] = {
        {kTypeUnsignedBytes, 0, 256.0},        {kTypeSignedBytes, -128.0, 128.0},
        {kTypeUnsignedShorts, 0, 65536.0},     {kTypeSignedShorts, -32768.0, 32768.0},
        {kTypeUnsignedLongs, 0, 4294967296.0}, {kTypeSignedLongs, -2147483648.0, 2147483648.0},
    };
    for (const Range& range : kRanges)
        if (range.code == code) return dataMin >= range.lowest && dataMax < range.limit;
    return true;
}

uint32_t TextTypeCode(bool multipliers, bool columnEquation) {
    return kTypeText | (multipliers ? MultiplierFlag : 0) |
           (columnEquation ? ColumnEquationFlag : 0);
}
