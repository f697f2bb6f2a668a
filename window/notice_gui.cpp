#include "window/notice_gui.h"

#include "graph/statusbar_gui.h"
#include "resources/resource_ids.h"

#include <commctrl.h>

namespace {

// Where the shown notice is: nowhere, in a balloon tip or in the bar (which
// bar, since a new main window makes a new one); and whether the bar was
// hidden before the notice showed it.
enum class NoticePlace { None, Balloon, StatisticsBar };
NoticePlace noticePlace = NoticePlace::None;
HWND noticeBar = nullptr;
bool barWasHidden = false;

bool ShowBalloon(HWND line, const char* text) {
    wchar_t wide[kNoticeTextSize];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kNoticeTextSize)) return false;
    wide[kNoticeTextSize - 1] = L'\0';
    EDITBALLOONTIP tip = {};
    tip.cbStruct = sizeof tip;
    tip.pszTitle = L"";
    tip.pszText = wide;
    tip.ttiIcon = TTI_NONE;
    return SendMessageW(line, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)) != 0;
}

bool ShowInStatisticsBar(const char* text) {
    HWND bar = statisticsBar.Window();
    if (!bar) return false;
    noticeBar = bar;
    // The bar's own state, whether or not its parent shows.
    barWasHidden = (GetWindowLongA(bar, GWL_STYLE) & WS_VISIBLE) == 0;
    SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
    if (barWasHidden) statisticsBar.SetVisible(1);
    return true;
}

} // namespace

void ShowNotice(HWND mainWindow, const char* text) {
    if (!text || !*text) return;
    HideNotice(mainWindow);
    if (ShowBalloon(GetDlgItem(mainWindow, IDC_CALC_LINE), text))
        noticePlace = NoticePlace::Balloon;
    else if (ShowInStatisticsBar(text))
        noticePlace = NoticePlace::StatisticsBar;
    else
        return;
    SetTimer(mainWindow, kNoticeTimer, kNoticeMilliseconds, nullptr);
}

void HideNotice(HWND mainWindow) {
    KillTimer(mainWindow, kNoticeTimer);
    if (noticePlace == NoticePlace::Balloon)
        SendMessageW(GetDlgItem(mainWindow, IDC_CALC_LINE), EM_HIDEBALLOONTIP, 0, 0);
    if (noticePlace == NoticePlace::StatisticsBar && noticeBar == statisticsBar.Window()) {
        SendMessageA(noticeBar, SB_SIMPLE, FALSE, 0);
        if (barWasHidden) statisticsBar.SetVisible(0);
    }
    noticePlace = NoticePlace::None;
}
