// The About box built from its in-memory template, driven while it runs.
#include "about/about_box_gui.h"
#include "about/about_paint_gui.h"

#include <gtest/gtest.h>

#include <string>

#include "about/about_layout.h"
#include "dialog_driver.h"
#include "gdi/dpi_gui.h"

namespace {

RECT ItemRect(HWND dialog, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

COLORREF LogoPixel(HWND dialog, int x, int y) {
    HWND logo = GetDlgItem(dialog, kAboutLogoId);
    HDC dc = GetDC(logo);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(logo, dc);
    return color;
}

TEST(AboutBox, ShowsTextsLayoutAndTurningLogoThenCloses) {
    OwnerWindow owner;
    const int startAngle = logoAngle;
    int angleBeforeRepaint = 0;
    std::string failures;
    DialogDriver driver({
        {"TamsoloCalc",
         [&](HWND dialog) {
             char title[64] = {};
             GetWindowTextA(dialog, title, sizeof title);
             EXPECT_STREQ(title, "TamsoloCalc");
             EXPECT_EQ(ItemText(dialog, kAboutCloseId), "Close");
             EXPECT_EQ(ItemText(dialog, kAboutLinkId), "tamsolo-tools.example/");
             const std::string info = ItemText(dialog, kAboutTextId);
             EXPECT_EQ(info,
                       std::string("TamsoloCalc\r\nVersion 1, built ") + __DATE__ + "\r\nFreeware");
             // Every item where the layout puts it, in this dialog's own units.
             const LONG units = GetDialogBaseUnits();
             const AboutLayout layout =
                 ComputeAboutLayout(DefaultLogoSize(LOWORD(units), HIWORD(units), ScreenDpi()),
                                    LOWORD(units), HIWORD(units));
             for (const AboutItem& item : layout.items) {
                 // Position and size are converted to pixels each on its own.
                 RECT units = {item.x, item.y, item.cx, item.cy};
                 MapDialogRect(dialog, &units);
                 const RECT expected = {units.left, units.top, units.left + units.right,
                                        units.top + units.bottom};
                 HWND control = nullptr;
                 for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                     if (GetDlgCtrlID(c) == static_cast<int>(item.id) ||
                         (item.id == -1 && GetDlgCtrlID(c) == 0xFFFF))
                         control = c;
                 ASSERT_NE(control, nullptr) << item.id;
                 EXPECT_EQ(Text(ItemRect(dialog, GetDlgCtrlID(control))), Text(expected))
                     << item.id;
             }
             EXPECT_EQ(GetFocus(), GetDlgItem(dialog, kAboutLogoId));
         }},
        {"TamsoloCalc",
         [&](HWND dialog) {
             // Timer 1 turns the logo one degree every 100 ms.
             EXPECT_LE(logoAngle, startAngle - 2);
             EXPECT_GE(logoAngle, startAngle - 8);
             KillTimer(dialog, 1);
             angleBeforeRepaint = logoAngle;
             HWND logo = GetDlgItem(dialog, kAboutLogoId);
             HDC dc = GetDC(logo);
             const RECT all = {0, 0, 4, 4};
             FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
             ReleaseDC(logo, dc);
             EXPECT_EQ(LogoPixel(dialog, 1, 1), RGB(0, 0, 0));
             InvalidateRect(dialog, nullptr, TRUE);
         },
         400},
        {"TamsoloCalc",
         [&](HWND dialog) {
             // The repaint drew the logo again without turning it.
             EXPECT_EQ(logoAngle, angleBeforeRepaint);
             // Against a frame drawn off screen at the same angle (the corner is
             // glow, which has no sparkle).
             HWND logo = GetDlgItem(dialog, kAboutLogoId);
             RECT client = {};
             GetClientRect(logo, &client);
             HDC screen = GetDC(logo);
             HDC dc = CreateCompatibleDC(screen);
             HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
             ReleaseDC(logo, screen);
             HGDIOBJ previous = SelectObject(dc, bitmap);
             PaintLogo(logo, dc, angleBeforeRepaint, 0, &client);
             const COLORREF expected = GetPixel(dc, 1, 1);
             SelectObject(dc, previous);
             DeleteObject(bitmap);
             DeleteDC(dc);
             EXPECT_NE(expected, RGB(0, 0, 0));
             EXPECT_EQ(LogoPixel(dialog, 1, 1), expected);
             SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); // Escape
         },
         200},
    });
    EXPECT_EQ(ShowAboutBox(owner.window, "TamsoloCalc", 1, nullptr, nullptr, 0), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
}

TEST(AboutBox, GivenLogoSizeSetsTheBoxSizeAndAnIconIsRestored) {
    OwnerWindow owner;
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    SIZE logo = {256, 128};
    HICON during = nullptr;
    RECT client = {}, size = {};
    std::string info;
    const LONG units = GetDialogBaseUnits();
    const AboutLayout layout = ComputeAboutLayout({256, 128}, LOWORD(units), HIWORD(units));
    DialogDriver driver({{"Name", [&](HWND dialog) {
                              during =
                                  reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON));
                              GetClientRect(dialog, &client);
                              size = {0, 0, layout.w, layout.h};
                              MapDialogRect(dialog, &size);
                              info = ItemText(dialog, kAboutTextId);
                              ClickButton(dialog, kAboutCloseId);
                          }}});
    HWND probe =
        CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const HICON before = reinterpret_cast<HICON>(GetClassLongPtrA(probe, GCLP_HICON));
    EXPECT_EQ(ShowAboutBox(owner.window, "Name", 7, icon, &logo, 99), 0);
    EXPECT_TRUE(driver.Finished()) << driver.Report();
    EXPECT_EQ(during, icon);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(probe, GCLP_HICON)), before);
    DestroyWindow(probe);
    // The template's size is the client area, from the given logo size.
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_EQ(info.substr(0, 16), "Name\r\nVersion 7,");
}

TEST(PaintLogo, DrawsBackgroundGlowAndFacesInsideItsRectangle) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 500, 80);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const RECT rect = {10, 5, 490, 65}; // 480 x 60, the default logo band
    for (int angle = 0; angle > -30; --angle) PaintLogo(nullptr, dc, angle, 0, &rect);
    // Outside the rectangle nothing was drawn; inside, the top-right corner,
    // far from the glow and the name, is the background.
    EXPECT_EQ(GetPixel(dc, 5, 2), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 490, 5), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 489, 5), RGB(180, 150, 240));
    // The top-left corner lies in the second glow layer of 16 (widest first).
    EXPECT_EQ(GetPixel(dc, 10, 5), RGB(189, 163, 242));
    // The glow's last layer is white; the faces are shades with full blue.
    int white = 0, faceShades = 0;
    for (int y = 5; y < 65; ++y)
        for (int x = 10; x < 490; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c == RGB(255, 255, 255)) ++white;
            if (GetBValue(c) == 255 && GetRValue(c) <= 215 && GetRValue(c) >= 176 &&
                GetGValue(c) == GetRValue(c) + 40)
                ++faceShades;
        }
    EXPECT_GT(white, 100);
    EXPECT_GT(faceShades, 100);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace
