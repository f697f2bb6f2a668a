// The new values are read into storage of their own and installed only at the
// end, so that a file that cannot be opened, more values than the data set
// may hold (kMaxDataValues), or storage that cannot be allocated leaves the
// data set and the graph scale exactly as they were (result -1). A binary
// file's count is known from its size; text grows its storage as its values
// arrive, so that a large file with few numbers needs little memory.
#include "datafiles/data_file.h"

#include "datafiles/element_codec.h"
#include "datafiles/file_handle.h"
#include "datafiles/file_types.h"
#include "datafiles/text_data_parser.h"
#include "expr/evaluate.h"
#include "graph/dataset.h"
#include "graph/graph_scale.h"

#include <memory>
#include <new>

namespace {

constexpr int kScaleDivisions = 8;
constexpr int kEquationBase = 10; // numbers of a column equation are decimal
// Elements read at a time: a whole number of every element width.
constexpr size_t kBinaryBlockBytes = size_t{1} << 20;
// Values that the storage of a text file starts with (fewer for a small
// file); it doubles whenever it is full, so each value is moved at most about
// once on average, up to kMaxDataValues.
constexpr size_t kFirstTextValues = size_t{1} << 20;

// Working storage from AllocateDataValues, released unless it was installed.
class ValueStorage {
  public:
    explicit ValueStorage(size_t capacity) : values(AllocateDataValues(capacity)) {}
    ~ValueStorage() { FreeDataValues(values); }
    ValueStorage(const ValueStorage&) = delete;
    ValueStorage& operator=(const ValueStorage&) = delete;
    double* Get() const { return values; }
    // Moves the values to storage of count doubles; false (nothing changed)
    // when it cannot be had.
    bool Resize(size_t count) {
        double* moved = ReallocateDataValues(values, count);
        ranOut = !moved;
        if (!moved) return false;
        values = moved;
        return true;
    }
    // Whether the last Resize failed for want of memory.
    bool RanOut() const { return ranOut; }
    double* Release() {
        double* taken = values;
        values = nullptr;
        return taken;
    }

  private:
    double* values;
    bool ranOut = false;
};

// Reads whole elements of the binary code into values until the end of the
// file, a short read, or the abort flag; a trailing partial element is never
// asked for. False when the read block cannot be allocated.
bool ReadBinaryValues(FileHandle& file, uint32_t code, double* values, size_t capacity, size_t& n) {
    const size_t width = static_cast<size_t>(BinaryElementSize(code));
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kBinaryBlockBytes]);
    if (!block) return false;
    const size_t perBlock = kBinaryBlockBytes / width;
    n = 0;
    while (n < capacity && !file.abortFlag) {
        const size_t wanted = capacity - n < perBlock ? capacity - n : perBlock;
        const uint32_t bytes = static_cast<uint32_t>(wanted * width);
        const uint32_t got = file.Transfer(block.get(), bytes, 'r');
        const size_t whole = got / width;
        DecodeElements(code, block.get(), whole, values + n);
        n += whole;
        if (got < bytes) break;
    }
    return true;
}

double CombineWithEquation(const char* equation, const double* numbers, int count) {
    return EvaluateExpression(equation, numbers, count, kEquationBase);
}

// Doubles the storage of a text file's values, up to kMaxDataValues.
bool GrowStorage(void* context, double*& values, size_t& capacity) {
    ValueStorage& storage = *static_cast<ValueStorage*>(context);
    if (capacity >= kMaxDataValues) return false;
    const size_t larger = capacity > kMaxDataValues / 2 ? kMaxDataValues : 2 * capacity;
    if (!storage.Resize(larger)) return false;
    values = storage.Get();
    capacity = larger;
    return true;
}

uint32_t ReadFromHandle(void* context, char* buffer, uint32_t count) {
    FileHandle& file = *static_cast<FileHandle*>(context);
    return file.abortFlag ? 0 : file.Transfer(buffer, count, 'r');
}

// Installs the first n values of storage (capacity values) as the data set,
// the storage cut to n values when it holds more. False when that fails;
// nothing is changed then.
bool InstallValues(ValueStorage& storage, size_t n, size_t capacity) {
    if (n > 0 && n < capacity && !storage.Resize(n)) return false;
    InstallDataSet(n > 0 ? storage.Release() : nullptr, static_cast<int>(n));
    return true;
}

// A read that gave nothing: -1, and why into failure (when not null).
int Fail(ReadFailure* failure, ReadFailure why) {
    if (failure) *failure = why;
    return -1;
}

void ResetDataSet() {
    InstallDataSet(nullptr, 0);
    graphScale.SetData(dataSet.values, dataSet.count, kScaleDivisions);
}

} // namespace

int ReadDataFile(const char* path, uint32_t typeCode, const char* equation, ReadFailure* failure) {
    if (failure) *failure = ReadFailure::None;
    if (typeCode == 0 || !path) return Fail(failure, ReadFailure::Cancelled);
    FileHandle file;
    if (!file.Open(path, false)) return Fail(failure, ReadFailure::CannotOpen);
    return ReadDataFromFile(file, typeCode, equation, failure);
}

int ReadDataFromFile(FileHandle& file, uint32_t typeCode, const char* equation,
                     ReadFailure* failure) {
    if (failure) *failure = ReadFailure::None;
    if (typeCode == 0) return Fail(failure, ReadFailure::Cancelled);
    const uint64_t size = file.GetSize();
    if (size == 0) return Fail(failure, ReadFailure::Empty);
    if (size == FileHandle::kFailure) return Fail(failure, ReadFailure::ReadError);

    const int width = BinaryElementSize(typeCode);
    // A binary file's count uses the whole 64-bit size; a file whose values no
    // data set may hold is refused rather than read in part.
    uint64_t capacity = width ? size / static_cast<uint64_t>(width) : size / 2 + 4;
    if (width && capacity > kMaxDataValues) return Fail(failure, ReadFailure::TooLarge);
    if (!width && capacity > kFirstTextValues) capacity = kFirstTextValues;
    if (capacity == 0) { // a binary file shorter than one element
        ResetDataSet();
        return 0;
    }
    ValueStorage storage(static_cast<size_t>(capacity));
    if (!storage.Get()) return Fail(failure, ReadFailure::NoMemory);

    size_t n = 0;
    if (width) {
        if (!ReadBinaryValues(file, typeCode, storage.Get(), static_cast<size_t>(capacity), n))
            return Fail(failure, ReadFailure::NoMemory);
    } else {
        const bool useEquation = HasColumnEquationFlag(typeCode) && equation && *equation;
        TextDataParser parser(storage.Get(), static_cast<size_t>(capacity),
                              HasMultiplierFlag(typeCode), useEquation ? equation : nullptr,
                              CombineWithEquation, GrowStorage, &storage);
        if (!ParseTextStream(ReadFromHandle, &file, size, kTextBlockSize, parser))
            return Fail(failure, ReadFailure::NoMemory);
        if (parser.Overflowed())
            return Fail(failure, storage.RanOut() ? ReadFailure::NoMemory : ReadFailure::TooLarge);
        n = parser.Count();
        capacity = parser.Capacity();
    }
    file.Close();
    if (!InstallValues(storage, n, static_cast<size_t>(capacity)))
        return Fail(failure, ReadFailure::NoMemory);
    graphScale.SetData(dataSet.values, dataSet.count, kScaleDivisions);
    return static_cast<int>(n);
}
