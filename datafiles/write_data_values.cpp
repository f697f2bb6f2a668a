// The data set's values as text lines or binary elements, collected in a
// buffer and written through the safe save in large writes.
#include "datafiles/data_file.h"

#include "datafiles/element_codec.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"
#include "datafiles/safe_save.h"
#include "graph/dataset.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr size_t kWriteBufferSize = 65536;
constexpr size_t kLineBufferSize = 128;
// Room for the longest "%.6f" text of a double (309 figures, sign, point, six
// decimals) with its line end.
constexpr size_t kLongLineSize = 400;
constexpr char kLineEnd[] = "\r\n";
constexpr double kSmallestFixed = 0.001; // smaller magnitudes are written with an exponent

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

// One line of the text format: "%.6f" and CR LF. A value other than 0 of
// magnitude below kSmallestFixed is written "%.6e" instead, with seven
// significant digits, since "%.6f" keeps three of them or fewer (none below
// 5e-7). Infinities and NaN are spelled the same on every platform (the C
// runtimes differ in the sign of NaN).
void PutTextLine(BufferedWriter& out, double value) {
    if (!std::isfinite(value)) {
        const char* word = std::isnan(value) ? "nan" : value > 0 ? "inf" : "-inf";
        out.Put(word, std::strlen(word));
        out.Put(kLineEnd, 2);
        return;
    }
    const bool small = value != 0 && std::fabs(value) < kSmallestFixed;
    char line[kLineBufferSize];
    int length = std::snprintf(line, sizeof line, small ? "%.6e%s" : "%.6f%s", value, kLineEnd);
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

} // namespace

int WriteDataValues(const char* path, uint32_t typeCode, const double* values, int count) {
    if (typeCode == 0) return 0;
    if (!values) count = 0;
    return SaveFileSafely(path, [&](FileHandle& file) {
        BufferedWriter out(file);
        return PutValues(out, typeCode, values, count);
    });
}

int SaveDataFile(const char* path, uint32_t typeCode) {
    return WriteDataValues(path, typeCode, dataSet.values, dataSet.count);
}
