#include "window/line_history.h"

#include <algorithm>

void LineHistory::Add(const std::string& line) {
    stepsBack = 0;
    if (line.empty()) return;
    entries.erase(std::remove(entries.begin(), entries.end(), line), entries.end());
    if (entries.size() >= kMaxEntries) entries.erase(entries.begin());
    entries.push_back(line);
}

bool LineHistory::StepBack(const std::string& typed, std::string* shown) {
    if (stepsBack >= entries.size()) return false;
    if (stepsBack == 0) typedLine = typed;
    ++stepsBack;
    *shown = entries[entries.size() - stepsBack];
    return true;
}

bool LineHistory::StepForward(std::string* shown) {
    if (stepsBack == 0) return false;
    --stepsBack;
    *shown = stepsBack == 0 ? typedLine : entries[entries.size() - stepsBack];
    return true;
}

void LineHistory::Clear() {
    entries.clear();
    stepsBack = 0;
    typedLine.clear();
}
