// Writing goes to a new file in the same folder, which replaces the user's
// file only once every byte is written: a full disk, a read-only or locked
// file, or any failed write leaves the old file exactly as it was.
#include "datafiles/data_file.h"

#include "datafiles/element_codec.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace {

constexpr size_t kWriteBufferSize = 65536;
constexpr size_t kLineBufferSize = 128;
// Room for the longest "%.6f" text of a double (309 figures, sign, point, six
// decimals) with its line end.
constexpr size_t kLongLineSize = 400;
constexpr int kTempNameTries = 100;
constexpr char kLineEnd[] = "\r\n";

// Collects bytes and hands them to the file in large writes.
class BufferedWriter {
  public:
    explicit BufferedWriter(FileHandle& file)
        : file(file), buffer(new (std::nothrow) unsigned char[kWriteBufferSize]) {
        failed = !buffer;
    }
    void Put(const void* bytes, size_t size) {
        const unsigned char* from = static_cast<const unsigned char*>(bytes);
        while (size > 0 && !failed) {
            if (used == kWriteBufferSize) Flush();
            const size_t part = size < kWriteBufferSize - used ? size : kWriteBufferSize - used;
            std::memcpy(buffer.get() + used, from, part);
            used += part;
            from += part;
            size -= part;
        }
    }
    // False when any write so far moved fewer bytes than it was given.
    bool Flush() {
        if (!failed && used > 0)
            failed = file.Write(buffer.get(), static_cast<uint32_t>(used)) != used;
        used = 0;
        return !failed;
    }

  private:
    FileHandle& file;
    std::unique_ptr<unsigned char[]> buffer;
    size_t used = 0;
    bool failed = false;
};

// Collects text in memory, as BufferedWriter collects the bytes of a file.
struct TextCollector {
    void Put(const void* bytes, size_t size) { text.append(static_cast<const char*>(bytes), size); }
    std::string text;
};

// One line of the text format: "%.6f" and CR LF. Infinities and NaN are
// spelled the same on every platform (the C runtimes differ in the sign of NaN).
template <class Out>
void PutTextLine(Out& out, double value) {
    if (!std::isfinite(value)) {
        const char* word = std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
        out.Put(word, std::strlen(word));
        out.Put(kLineEnd, 2);
        return;
    }
    char line[kLineBufferSize];
    int length = std::snprintf(line, sizeof line, "%.6f%s", value, kLineEnd);
    if (length >= 0 && static_cast<size_t>(length) < sizeof line) {
        out.Put(line, static_cast<size_t>(length));
        return;
    }
    // Magnitudes from about 10^120 on: the whole text, from a larger buffer.
    char longLine[kLongLineSize];
    length = std::snprintf(longLine, sizeof longLine, "%.6f%s", value, kLineEnd);
    if (length > 0)
        out.Put(longLine, static_cast<size_t>(length) < sizeof longLine
                              ? static_cast<size_t>(length)
                              : sizeof longLine - 1);
}

bool PutValues(BufferedWriter& out, uint32_t typeCode, const double* values, int count) {
    const int width = BinaryElementSize(typeCode);
    for (int i = 0; i < count; ++i) {
        if (width == 0) {
            PutTextLine(out, values[i]);
        } else {
            unsigned char element[8];
            EncodeElement(typeCode, values[i], element);
            out.Put(element, static_cast<size_t>(width));
        }
    }
    return out.Flush();
}

// The folder part of path, with its separator ("" for a bare name).
std::string FolderOf(const char* path) {
    size_t end = 0;
    for (size_t i = 0; path[i]; ++i)
        if (path[i] == '/' || path[i] == '\\' || path[i] == ':') end = i + 1;
    return std::string(path, end);
}

// Creates a file of a new name in the folder of path; its name goes to tempPath.
bool CreateTempBeside(const char* path, FileHandle& temp, std::string& tempPath) {
    static unsigned serial = 0;
    const std::string folder = FolderOf(path);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "~tc%05u.tmp", serial++ % 100000u);
        tempPath = folder + name;
        if (!temp.Open(tempPath.c_str(), true)) return false; // the folder takes no files
        if (temp.WasCreated() && temp.IsWritable()) return true;
        temp.Close(); // someone else's file of that name: leave it alone
    }
    return false;
}

} // namespace

std::string DataValuesAsText(const double* values, int count) {
    TextCollector out;
    for (int i = 0; values && i < count; ++i) PutTextLine(out, values[i]);
    return out.text;
}

int WriteDataValues(const char* path, uint32_t typeCode, const double* values, int count) {
    if (typeCode == 0 || !path || !*path) return 0;
    if (!values) count = 0;
    bool hadOriginal;
    {
        // The file must be one that may be written: a folder, a locked file or
        // a read-only file is refused before anything is written.
        FileHandle target;
        if (!target.Open(path, true)) return 0;
        if (!target.IsWritable()) return 0;
        hadOriginal = !target.WasCreated();
    }
    if (!hadOriginal) DeleteFileAtPath(path); // made only to test the name

    FileHandle temp;
    std::string tempPath;
    if (!CreateTempBeside(path, temp, tempPath)) return 0;
    bool written;
    {
        BufferedWriter out(temp);
        written = PutValues(out, typeCode, values, count);
    }
    temp.Close();
    if (!written || !ReplaceFileByRenaming(path, tempPath.c_str(), hadOriginal)) {
        DeleteFileAtPath(tempPath.c_str());
        return 0;
    }
    return 1;
}
