#pragma once
// The lines evaluated in this run, newest first, for stepping back through
// them with Up and Down as a shell does. Kept in memory only.
#include <string>
#include <vector>

class LineHistory {
  public:
    static constexpr size_t kMaxEntries = 200;

    // Adds an evaluated line as the newest entry; an equal older entry is
    // dropped, so that a line is kept once, and past kMaxEntries the oldest
    // goes. Ends any stepping. An empty line is not kept.
    void Add(const std::string& line);
    // Up: the next older entry, remembering typed (the line as it stands)
    // when stepping starts; false when there is no older entry.
    bool StepBack(const std::string& typed, std::string* shown);
    // Down: the next newer entry, or past the newest the typed line again;
    // false when not stepping.
    bool StepForward(std::string* shown);
    void Clear();
    size_t Size() const { return entries.size(); }

  private:
    std::vector<std::string> entries; // oldest first
    size_t stepsBack = 0;             // 0: not stepping; k: showing the k-th newest
    std::string typedLine;
};
