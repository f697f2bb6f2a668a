#include "text/growable_text.h"

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

void* SystemAllocate(void* block, size_t size) {
    return std::realloc(block, size);
}

GrowableText::Allocator allocate = SystemAllocate;

constexpr size_t kMinCapacity = 32;

char FoldLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool InCharSet(char c, const char* chars) {
    return c != '\0' && std::strchr(chars, c) != nullptr;
}

} // namespace

GrowableText::Allocator GrowableText::SetAllocator(Allocator allocator) {
    const Allocator previous = allocate;
    allocate = allocator ? allocator : SystemAllocate;
    return previous;
}

GrowableText::GrowableText(const char* text) {
    Assign(text);
}

GrowableText::GrowableText(const char* text, size_t length) {
    Assign(text, length);
}

GrowableText::GrowableText(const GrowableText& other) {
    Assign(other.data, other.length);
}

GrowableText& GrowableText::operator=(const GrowableText& other) {
    if (this != &other) Assign(other.data, other.length);
    return *this;
}

GrowableText::GrowableText(GrowableText&& other) noexcept {
    Swap(other);
}

GrowableText& GrowableText::operator=(GrowableText&& other) noexcept {
    if (this != &other) {
        GrowableText released(std::move(*this));
        Swap(other);
    }
    return *this;
}

GrowableText::~GrowableText() {
    std::free(data);
}

void GrowableText::Swap(GrowableText& other) noexcept {
    std::swap(data, other.data);
    std::swap(length, other.length);
    std::swap(capacity, other.capacity);
}

bool GrowableText::Reserve(size_t neededLength) {
    // An empty text needs no storage: Text() stands in for it.
    if (neededLength < capacity || neededLength == 0) return true;
    if (neededLength >= static_cast<size_t>(-1) / 2) return false;
    size_t newCapacity = capacity < kMinCapacity ? kMinCapacity : capacity;
    while (newCapacity <= neededLength) newCapacity *= 2;
    char* grown = static_cast<char*>(allocate(data, newCapacity));
    if (!grown) return false;
    if (!data) grown[0] = '\0';
    data = grown;
    capacity = newCapacity;
    return true;
}

bool GrowableText::Splice(size_t position, size_t count, const char* insert, size_t insertLength) {
    if (position > length) position = length;
    if (count > length - position) count = length - position;
    if (insertLength > count && insertLength - count > static_cast<size_t>(-1) / 2 - length)
        return false;
    const size_t newLength = length - count + insertLength;
    if (!Reserve(newLength)) return false;
    if (!data) return true; // nothing to do on an empty text without storage
    std::memmove(data + position + insertLength, data + position + count,
                 length - position - count);
    if (insertLength) std::memcpy(data + position, insert, insertLength);
    length = newLength;
    data[length] = '\0';
    return true;
}

bool GrowableText::Assign(const char* text) {
    return Assign(text, text ? std::strlen(text) : 0);
}

bool GrowableText::Assign(const char* text, size_t textLength) {
    if (!text) textLength = 0;
    const std::less<const char*> before;
    const bool inside = data && text && !before(text, data) && before(text, data + capacity);
    if (inside) {
        if (textLength > static_cast<size_t>(data + length - text))
            textLength = static_cast<size_t>(data + length - text);
        // A part of this very text: it only shrinks, so no storage moves.
        std::memmove(data, text, textLength);
        length = textLength;
        data[length] = '\0';
        return true;
    }
    if (!Reserve(textLength)) return false;
    if (!data) return true;
    if (textLength) std::memcpy(data, text, textLength);
    length = textLength;
    data[length] = '\0';
    return true;
}

size_t GrowableText::Find(const char* what, size_t start) const {
    if (!what || start > length) return kNotFound;
    const size_t whatLength = std::strlen(what);
    if (whatLength == 0) return start;
    if (whatLength > length - start) return kNotFound;
    for (size_t i = start; i + whatLength <= length; ++i)
        if (std::memcmp(data + i, what, whatLength) == 0) return i;
    return kNotFound;
}

size_t GrowableText::Find(char what, size_t start) const {
    if (what == '\0' || start >= length) return kNotFound;
    const void* found = std::memchr(data + start, what, length - start);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - data) : kNotFound;
}

size_t GrowableText::FindNoCase(const char* what, size_t start) const {
    if (!what || start > length) return kNotFound;
    const size_t whatLength = std::strlen(what);
    if (whatLength == 0) return start;
    if (whatLength > length - start) return kNotFound;
    for (size_t i = start; i + whatLength <= length; ++i) {
        size_t j = 0;
        while (j < whatLength && FoldLetter(data[i + j]) == FoldLetter(what[j])) ++j;
        if (j == whatLength) return i;
    }
    return kNotFound;
}

size_t GrowableText::ReplaceEvery(const char* from, const char* to) {
    if (!from || !*from) return 0;
    if (!to) to = "";
    size_t position = Find(from);
    if (position == kNotFound) return 0;

    // The work is done on a copy, so that running out of memory halfway leaves
    // this text whole, and from and to may point into it.
    const size_t fromLength = std::strlen(from);
    const size_t toLength = std::strlen(to);
    const bool toContainsFrom = std::strstr(to, from) != nullptr;
    GrowableText work;
    if (!work.Assign(data, length)) return kNotFound;
    size_t count = 0;
    while (position != kNotFound) {
        if (!work.Splice(position, fromLength, to, toLength)) return kNotFound;
        ++count;
        position = work.Find(from, toContainsFrom ? position + toLength : position);
    }
    Swap(work);
    return count;
}

void GrowableText::Erase(size_t position, size_t count) {
    if (position < length) Splice(position, count, nullptr, 0);
}

bool GrowableText::Insert(size_t position, const char* text) {
    if (!text || !*text) return true;
    const std::less<const char*> before;
    if (data && !before(text, data) && before(text, data + capacity)) {
        // Growing may move the storage the text lies in: insert a copy.
        const GrowableText copy(text);
        if (copy.IsEmpty()) return false;
        return Splice(position, 0, copy.data, copy.length);
    }
    return Splice(position, 0, text, std::strlen(text));
}

GrowableText GrowableText::Substring(size_t position, size_t count) const {
    if (position > length) position = length;
    if (count > length - position) count = length - position;
    return GrowableText(Text() + position, count);
}

void GrowableText::TrimStart(const char* chars) {
    if (!chars) return;
    size_t start = 0;
    while (start < length && InCharSet(data[start], chars)) ++start;
    Erase(0, start);
}

void GrowableText::TrimEnd(const char* chars) {
    if (!chars) return;
    size_t end = length;
    while (end > 0 && InCharSet(data[end - 1], chars)) --end;
    Erase(end, length - end);
}

void GrowableText::UpperCase() {
    for (size_t i = 0; i < length; ++i)
        if (data[i] >= 'a' && data[i] <= 'z') data[i] = static_cast<char>(data[i] - 'a' + 'A');
}
