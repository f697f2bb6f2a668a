#pragma once
// A growable owned text: pointer and length, always NUL-terminated. Searches
// are case-sensitive unless named otherwise and count positions from 0; a
// position that is not found is kNotFound.
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

    void Assign(const char* text);
    void Assign(const char* text, size_t length);

    // Position of the first occurrence of what at or after start.
    size_t Find(const char* what, size_t start = 0) const;
    size_t Find(char what, size_t start = 0) const;
    // The same, folding only the letters a to z and A to Z.
    size_t FindNoCase(const char* what, size_t start = 0) const;

    // Replaces every occurrence of from with to, from the start: after each
    // replacement the search goes on where to was inserted when to does not
    // contain from, or just after to when it does. Returns the number replaced.
    size_t ReplaceEvery(const char* from, const char* to);
    // Deletes every occurrence (replace-every with the empty text).
    size_t DeleteEvery(const char* what) { return ReplaceEvery(what, ""); }

    // Erases count characters at position (clipped to the text).
    void Erase(size_t position, size_t count);
    // Inserts text at position (clipped to the end).
    void Insert(size_t position, const char* text);
    void Append(const char* text) { Insert(length, text); }

    // Removes every leading / trailing character that is one of chars.
    void TrimStart(const char* chars);
    void TrimEnd(const char* chars);

    // Turns a to z into A to Z; nothing else changes.
    void UpperCase();

  private:
    bool Reserve(size_t capacity);
    char* data = nullptr;
    size_t length = 0;
    size_t capacity = 0;
};
