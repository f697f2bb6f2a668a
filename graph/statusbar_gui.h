#pragma once
// The statistics bar along the bottom of the main window: a common-controls
// status bar with the count, minimum, maximum and mean of the data set.
#include <windows.h>

namespace tamsolo {

class StatusBar {
  public:
    StatusBar() = default;
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // Replaces any bar with a new, hidden one in parent, then sets its parts
    // and shows it when show is 1.
    void Create(HWND parent, int parts, const int* widths, int show);
    // widths: n entries (characters, or negative to share the rest) or null
    // for equal parts; a part whose present text needs more room is widened to it.
    void SetParts(int n, const int* widths);
    void SetText(const char* text, int part);
    // 1 shows, 0 hides, a negative value toggles.
    void SetVisible(int show);
    // The bar's height; 0 when there is no bar, or when it is hidden and
    // evenWhenHidden is false.
    int GetHeight(bool evenWhenHidden) const;
    // Fits the bar to its parent; extendLastPart makes the last part reach the
    // right border.
    void FitToParent(bool extendLastPart);
    void Destroy();
    HWND Window() const { return window; }

  private:
    // Clears the handle when the bar's window goes, also when its parent takes
    // it along, so that no later call acts on a handle that may by then name
    // another window.
    static LRESULT CALLBACK ForgetWhenDestroyed(HWND window, UINT message, WPARAM first,
                                                LPARAM second, UINT_PTR id, DWORD_PTR owner);

    HWND window = nullptr;
};

} // namespace tamsolo

extern tamsolo::StatusBar statisticsBar;

// Part widths of the statistics bar: 15 characters, then three equal shares.
constexpr int kStatisticsParts = 4;
extern const int kStatisticsWidths[kStatisticsParts];

// Writes the count, minimum, maximum and mean of the data set into the bar and
// fits its parts to them; whether the bar shows is left to the window layout.
void ShowStatistics();
