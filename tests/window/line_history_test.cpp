#include "window/line_history.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Step {
    bool back; // Up, else Down
    bool moved;
    const char* shown; // what the line shows afterwards
};

void ExpectSteps(LineHistory& history, const std::string& typed, const Step* steps, size_t n) {
    std::string shown = typed;
    for (size_t i = 0; i < n; ++i) {
        const bool moved =
            steps[i].back ? history.StepBack(shown, &shown) : history.StepForward(&shown);
        EXPECT_EQ(moved, steps[i].moved) << "step " << i;
        EXPECT_EQ(shown, steps[i].shown) << "step " << i;
    }
}

TEST(LineHistory, UpAndDownStepThroughTheLinesNewestFirst) {
    LineHistory history;
    const Step none[] = {{true, false, "typed"}, {false, false, "typed"}};
    ExpectSteps(history, "typed", none, std::size(none));
    for (const char* line : {"1+1", "2*3", "", "x^2 {0,1}"}) history.Add(line);
    const Step steps[] = {
        {true, true, "x^2 {0,1}"}, {true, true, "2*3"},     {true, true, "1+1"},
        {true, false, "1+1"},      {false, true, "2*3"},    {false, true, "x^2 {0,1}"},
        {false, true, "typed"},    {false, false, "typed"}, {true, true, "x^2 {0,1}"},
    };
    ExpectSteps(history, "typed", steps, std::size(steps));
    // A new line ends the stepping: Down has nowhere to go, Up starts anew.
    history.Add("data*2");
    const Step after[] = {{false, false, "7"}, {true, true, "data*2"}, {true, true, "x^2 {0,1}"}};
    ExpectSteps(history, "7", after, std::size(after));
}

TEST(LineHistory, KeepsEachLineOnceAndTheNewestTwoHundred) {
    LineHistory history;
    for (const char* line : {"a", "b", "a", "a"}) history.Add(line);
    EXPECT_EQ(history.Size(), 2u);
    const Step steps[] = {{true, true, "a"}, {true, true, "b"}, {true, false, "b"}};
    ExpectSteps(history, "", steps, std::size(steps));

    history.Clear();
    for (int i = 0; i < 205; ++i) history.Add("line" + std::to_string(i));
    EXPECT_EQ(history.Size(), LineHistory::kMaxEntries);
    std::string shown;
    for (size_t i = 0; i < LineHistory::kMaxEntries; ++i) EXPECT_TRUE(history.StepBack("", &shown));
    EXPECT_EQ(shown, "line5");
    EXPECT_FALSE(history.StepBack("", &shown));
}

} // namespace
