#include "gdi/scopes_gui.h"

#include <gtest/gtest.h>

using tamsolo::BrushScope;
using tamsolo::PenScope;
using tamsolo::TextScope;

namespace {

// Two device contexts, so that a scope restoring into the wrong one shows.
class ScopeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        first = CreateCompatibleDC(nullptr);
        second = CreateCompatibleDC(nullptr);
        pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
        brush = CreateSolidBrush(RGB(4, 5, 6));
        font = CreateFontA(-20, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        SelectObject(first, pen);
        SelectObject(first, brush);
        SelectObject(first, font);
        SetBkMode(first, OPAQUE);
        SetTextColor(first, RGB(7, 8, 9));
    }
    void TearDown() override {
        DeleteDC(first);
        DeleteDC(second);
        DeleteObject(pen);
        DeleteObject(brush);
        DeleteObject(font);
    }
    HDC first = nullptr, second = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
};

TEST_F(ScopeTest, PenScopeSelectsItsPenAndRestoresThePrevious) {
    HGDIOBJ created = nullptr;
    HGDIOBJ secondPen = GetCurrentObject(second, OBJ_PEN);
    {
        PenScope scope(first, RGB(0, 255, 0), 3);
        created = GetCurrentObject(first, OBJ_PEN);
        ASSERT_NE(created, pen);
        LOGPEN logical = {};
        ASSERT_EQ(GetObjectA(created, sizeof logical, &logical), static_cast<int>(sizeof logical));
        EXPECT_EQ(logical.lopnStyle, static_cast<UINT>(PS_SOLID));
        EXPECT_EQ(logical.lopnWidth.x, 3);
        EXPECT_EQ(logical.lopnColor, RGB(0, 255, 0));
    }
    EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(second, OBJ_PEN), secondPen);
    EXPECT_EQ(GetObjectType(created), 0u); // deleted
}

TEST_F(ScopeTest, BrushScopeSelectsItsBrushAndRestoresThePrevious) {
    HGDIOBJ created = nullptr;
    {
        BrushScope scope(first, RGB(10, 20, 30));
        created = GetCurrentObject(first, OBJ_BRUSH);
        LOGBRUSH logical = {};
        ASSERT_EQ(GetObjectA(created, sizeof logical, &logical), static_cast<int>(sizeof logical));
        EXPECT_EQ(logical.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(logical.lbColor, RGB(10, 20, 30));
    }
    EXPECT_EQ(GetCurrentObject(first, OBJ_BRUSH), brush);
    EXPECT_EQ(GetObjectType(created), 0u);
}

TEST_F(ScopeTest, NoColourSelectsTheStockNullObjectsAndKeepsThem) {
    {
        PenScope nullPen(first, NO_COLOR, 1);
        BrushScope nullBrush(first, NO_COLOR);
        EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), GetStockObject(NULL_PEN));
        EXPECT_EQ(GetCurrentObject(first, OBJ_BRUSH), GetStockObject(NULL_BRUSH));
    }
    EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(first, OBJ_BRUSH), brush);
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_PEN)), static_cast<DWORD>(OBJ_PEN));
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
    // Nested scopes unwind in order.
    {
        PenScope outer(first, RGB(1, 1, 1), 1);
        HGDIOBJ outerPen = GetCurrentObject(first, OBJ_PEN);
        { PenScope inner(first, NO_COLOR, 1); }
        EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), outerPen);
    }
    EXPECT_EQ(GetCurrentObject(first, OBJ_PEN), pen);
}

TEST_F(ScopeTest, TextScopeRestoresModeColourAndFont) {
    HFONT scoped = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    {
        TextScope scope(first, RGB(255, 255, 255), scoped, TRANSPARENT);
        EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), scoped);
        EXPECT_EQ(GetBkMode(first), TRANSPARENT);
        EXPECT_EQ(GetTextColor(first), RGB(255, 255, 255));
        EXPECT_NE(GetTextColor(second), RGB(255, 255, 255));
    }
    EXPECT_EQ(GetCurrentObject(first, OBJ_FONT), font);
    EXPECT_EQ(GetBkMode(first), OPAQUE);
    EXPECT_EQ(GetTextColor(first), RGB(7, 8, 9));
    EXPECT_EQ(GetObjectType(scoped), 0u);
    // The stock font survives its scope.
    {
        TextScope scope(first, RGB(0, 0, 0), static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)),
                        TRANSPARENT);
    }
    EXPECT_EQ(GetObjectType(GetStockObject(ANSI_VAR_FONT)), static_cast<DWORD>(OBJ_FONT));
}

} // namespace
