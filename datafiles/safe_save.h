#pragma once
// Writing a file so that a failure never damages the one that was there: the
// bytes go to a new file of an unused name in the same folder, which is
// flushed to the disk and takes the target's place only once every byte is
// written, keeping the target's permissions or attributes. A full disk, a
// read-only or locked file, or any failed write leaves the old file exactly
// as it was. Every file the program writes is saved so.
#include <functional>

class FileHandle;

// Writes the content into a new file beside path and replaces path by it
// when write returns true. Returns 1 when the new file is in place, 0
// otherwise (path is then as it was, and no temporary file is left).
int SaveFileSafely(const char* path, const std::function<bool(FileHandle& file)>& write);
