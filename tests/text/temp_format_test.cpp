#include "text/temp_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TempFormat, MakesTheCalculationLineOptions) {
    EXPECT_STREQ(TempFormat("c %s %s", ",", "E=24 e=8"), "c , E=24 e=8");
    EXPECT_STREQ(TempFormat("c %s %s", "", "E=0 e=0"), "c  E=0 e=0");
}

TEST(TempFormat, ATextSurvivesTheNextThreeCalls) {
    const char* texts[4];
    for (int i = 0; i < 4; ++i) texts[i] = TempFormat("text %d", i);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(std::string(texts[i]), "text " + std::to_string(i));
    for (int i = 1; i < 4; ++i) EXPECT_NE(texts[i], texts[0]);
    const char* fifth = TempFormat("fifth");
    EXPECT_EQ(fifth, texts[0]);
    EXPECT_STREQ(texts[0], "fifth");
    EXPECT_STREQ(texts[1], "text 1");
}

TEST(TempFormat, CutsLongTextsToTheBuffer) {
    const std::string longText(3000, 'a');
    const char* text = TempFormat("%s!", longText.c_str());
    EXPECT_EQ(std::string(text), std::string(kTempFormatSize - 1, 'a'));
    const std::string fits(kTempFormatSize - 2, 'b');
    EXPECT_EQ(std::string(TempFormat("%s!", fits.c_str())), fits + "!");
}

TEST(TempFormat, FormatsNumbersAlikeOnEveryRuntime) {
    EXPECT_STREQ(TempFormat("%lf", -1.5), "-1.500000");
    EXPECT_STREQ(TempFormat("%lf", 2.0 / 3), "0.666667");
    EXPECT_STREQ(TempFormat("Min Value:%s", "-3.1416"), "Min Value:-3.1416");
    EXPECT_STREQ(TempFormat("%d points", -2147483647 - 1), "-2147483648 points");
}

} // namespace
