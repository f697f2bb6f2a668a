#pragma once
// Reading and writing the data set.
#include <cstdint>

// Replaces the data set with the numbers of the file at path, read as typeCode.
// Returns the number of values now in the data set, or -1 when nothing was
// read and the data set was left as it was.
int ReadDataFile(const char* path, uint32_t typeCode, const char* equation);

class FileHandle;
// The reader behind ReadDataFile, for a file already open.
// Setting the file's abortFlag while it reads stops the reading after the
// block in progress, and the values read so far become the data set.
int ReadDataFromFile(FileHandle& file, uint32_t typeCode, const char* equation);

// Writes the data set to path as typeCode. Returns 1 when every byte was
// written and the file is in place, 0 otherwise (the old file is left intact).
int SaveDataFile(const char* path, uint32_t typeCode);

// The writer behind SaveDataFile, for any array of values: writes count values
// through SaveFileSafely (safe_save.h), so path changes only when every byte
// was written. Returns 1 on success, 0 otherwise (path is then left as it was).
int WriteDataValues(const char* path, uint32_t typeCode, const double* values, int count);
