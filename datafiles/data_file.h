#pragma once
// Reading and writing the data set.
#include <cstdint>
#include <string>

// Why a read gave -1, for telling the user: the type was cancelled (0), the
// file cannot be opened, is empty, holds more values than the data set may
// (kMaxDataValues), the memory for its values cannot be had, or it could not
// be read.
enum class ReadFailure { None, Cancelled, CannotOpen, Empty, TooLarge, NoMemory, ReadError };

// Replaces the data set with the numbers of the file at path, read as typeCode.
// Returns the number of values now in the data set, or -1 when nothing was
// read and the data set was left as it was; failure (when not null) then
// receives why, and None otherwise.
int ReadDataFile(const char* path, uint32_t typeCode, const char* equation,
                 ReadFailure* failure = nullptr);

class FileHandle;
// The reader behind ReadDataFile, for a file already open.
// Setting the file's abortFlag while it reads stops the reading after the
// block in progress, and the values read so far become the data set.
int ReadDataFromFile(FileHandle& file, uint32_t typeCode, const char* equation,
                     ReadFailure* failure = nullptr);

// Writes the data set to path as typeCode. Returns 1 when every byte was
// written and the file is in place, 0 otherwise (the old file is left intact).
int SaveDataFile(const char* path, uint32_t typeCode);

// The writer behind SaveDataFile, for any array of values: writes count values
// through SaveFileSafely (safe_save.h), so path changes only when every byte
// was written. Returns 1 on success, 0 otherwise (path is then left as it was).
int WriteDataValues(const char* path, uint32_t typeCode, const double* values, int count);

// count values in the text form of WriteDataValues, exactly as a text file
// holds them: one line per value, each ended by CR LF.
std::string DataValuesAsText(const double* values, int count);
