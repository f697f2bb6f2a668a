#pragma once
// A growable owned text: pointer and length, always NUL-terminated. Searches
// are case-sensitive unless named otherwise and count positions from 0; a
// position that is not found is kNotFound.
//
// Running out of memory never crashes: an operation that cannot get the room
// it needs leaves the text as it was and says so in its result (false, or
// kNotFound for ReplaceEvery); a copy that cannot be made is empty.
#include <cstddef>

class GrowableText {
  public:
    static constexpr size_t kNotFound = static_cast<size_t>(-1);

    GrowableText() = default;
    explicit GrowableText(const char* text);
    GrowableText(const char* text, size_t length);
    GrowableText(const GrowableText& other);
    GrowableText& operator=(const GrowableText& other);
    GrowableText(GrowableText&& other) noexcept;
    GrowableText& operator=(GrowableText&& other) noexcept;
    ~GrowableText();

    const char* Text() const { return data ? data : ""; }
    size_t Length() const { return length; }
    bool IsEmpty() const { return length == 0; }
    // The character at position, or '\0' at and beyond the end.
    char At(size_t position) const { return position < length ? data[position] : '\0'; }

    // A null text assigns the empty text. The source may lie inside this text.
    bool Assign(const char* text);
    bool Assign(const char* text, size_t length);

    // Position of the first occurrence of what at or after start. The empty
    // text is found at start (when start is not beyond the end); '\0' is never
    // found.
    size_t Find(const char* what, size_t start = 0) const;
    size_t Find(char what, size_t start = 0) const;
    // The same, folding only the letters a to z and A to Z.
    size_t FindNoCase(const char* what, size_t start = 0) const;
    bool Contains(const char* what) const { return Find(what) != kNotFound; }

    // Replaces every occurrence of from with to, from the start: after each
    // replacement the search goes on where to was inserted when to does not
    // contain from, or just after to when it does. Returns the number replaced
    // (0 for an empty from), or kNotFound, with the text unchanged, when
    // memory ran out.
    size_t ReplaceEvery(const char* from, const char* to);
    // Deletes every occurrence (replace-every with the empty text).
    size_t DeleteEvery(const char* what) { return ReplaceEvery(what, ""); }

    // Erases count characters at position (clipped to the text).
    void Erase(size_t position, size_t count);
    // Inserts text at position (clipped to the end); text may lie inside this
    // text.
    bool Insert(size_t position, const char* text);
    bool Append(const char* text) { return Insert(length, text); }

    // A copy of count characters from position (clipped to the text); empty
    // when memory ran out.
    GrowableText Substring(size_t position, size_t count) const;

    // Removes every leading / trailing character that is one of chars.
    void TrimStart(const char* chars);
    void TrimEnd(const char* chars);

    // Turns a to z into A to Z; nothing else changes.
    void UpperCase();

    // Where the storage comes from: realloc semantics (null on failure), the
    // blocks are released with free. Returns the previous one. Tests install
    // a failing one to check the out-of-memory paths.
    using Allocator = void* (*)(void* block, size_t size);
    static Allocator SetAllocator(Allocator allocator);

  private:
    bool Reserve(size_t neededLength);
    // Replaces count characters at position with insertLength characters of
    // insert, which must not lie inside this text.
    bool Splice(size_t position, size_t count, const char* insert, size_t insertLength);
    void Swap(GrowableText& other) noexcept;

    char* data = nullptr;
    size_t length = 0;
    size_t capacity = 0;
};
