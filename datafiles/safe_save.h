#pragma once
// Writing a file so that a failure never damages the one that was there: the
// bytes go to a new file in the same folder, which takes the target's place
// only once every byte is written. A full disk, a read-only or locked file,
// or any failed write leaves the old file exactly as it was.
#include <functional>

class FileHandle;

// Writes the content into a new file beside path and replaces path by it
// when write returns true. Returns 1 when the new file is in place, 0
// otherwise (path is then as it was, and no temporary file is left).
int SaveFileSafely(const char* path, const std::function<bool(FileHandle& file)>& write);
