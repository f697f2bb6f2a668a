#pragma once
// Picks the numbers out of the text of a data file. Every byte that does not
// start a number separates numbers; a figure, a minus sign or a point starts
// one (see decimal_scan.h). With multipliers, an upper-case K, M, B or T right
// after a number multiplies it by 10^3, 10^6, 10^9 or 10^12. With a column
// equation, the numbers of each line are combined into one value.
#include <cstddef>
#include <cstdint>

// Combines the count numbers of one line (count >= 1) into one value.
using CombineLine = double (*)(const char* equation, const double* numbers, int count);
// Gives the values room for more: moves them to larger storage, updating
// values and capacity, and returns true; false when the storage cannot grow.
using GrowValues = bool (*)(void* context, double*& values, size_t& capacity);

class TextDataParser {
  public:
    // values has room for capacity doubles. When they are full, grow (with
    // its context) is asked for more room; without it, or when it gives none,
    // the numbers beyond are dropped and Overflowed says so. combine is used
    // only when equation is not null and not empty.
    TextDataParser(double* values, size_t capacity, bool multipliers, const char* equation,
                   CombineLine combine, GrowValues grow = nullptr, void* growContext = nullptr);

    // Parses text. Unless final, a number that runs into the end of text is
    // left for the next call, which must start with the bytes not consumed.
    // Returns the bytes consumed (all of them when final).
    size_t Parse(const char* text, size_t size, bool final);
    // Ends the text: a last line without a line feed is combined like the others.
    void Finish() { EndLine(); }
    // Values stored so far, and the room they have (grow may have added to it).
    size_t Count() const { return n; }
    size_t Capacity() const { return capacity; }
    // True once a number was dropped for want of room.
    bool Overflowed() const { return overflowed; }

  private:
    void Append(double value);
    void EndLine();

    double* values;
    size_t capacity;
    bool multipliers;
    const char* equation; // null when the numbers are kept as they are
    CombineLine combine;
    GrowValues grow;
    void* growContext;
    bool overflowed = false;
    size_t n = 0; // values stored
    size_t m = 0; // numbers read on the current line
};

// Bytes of a text file read at a time.
constexpr size_t kTextBlockSize = size_t{1} << 20;

// Reads up to count bytes into buffer; returns the bytes read, short at the end.
using ReadBytes = uint32_t (*)(void* context, char* buffer, uint32_t count);

// Feeds size bytes from read through a block of blockSize bytes (grown when a
// single number fills it) into parser, then finishes it. A short read ends the
// text. False when a block cannot be allocated.
bool ParseTextStream(ReadBytes read, void* context, uint64_t size, size_t blockSize,
                     TextDataParser& parser);
