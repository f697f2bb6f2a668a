#pragma once
// The choices of the File Type dialog as plain rules: which element types a
// file can be read as or a data set saved as, and the code of a text choice.
#include <cstdint>

// The dialog's creation parameter for reading a file of size bytes. Sizes of
// 2 GiB or more do not fit the signed parameter (a negative value would mean
// saving), so they become the largest non-negative value with the same
// remainder modulo 8: every element type that divides the true size is
// offered, as for smaller files.
int32_t FileTypeParameterForSize(uint64_t size);

// Reading: a binary type is offered when the size is a multiple of its element
// size (0 enables every type); text and the byte types always.
bool ReadingTypeAllowed(uint32_t code, uint32_t size);

// Saving: an integer type is offered only when [dataMin, dataMax] lies in its
// range; text, floats and doubles always. NaN bounds allow no integer type.
bool SavingTypeAllowed(uint32_t code, double dataMin, double dataMax);

// The code of the "Text" choice with its two flags.
uint32_t TextTypeCode(bool multipliers, bool columnEquation);
