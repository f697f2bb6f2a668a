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
    // for equal parts.
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
    HWND window = nullptr;
};

} // namespace tamsolo

extern tamsolo::StatusBar statisticsBar;

// Part widths of the statistics bar: 15 characters, then three equal shares.
constexpr int kStatisticsParts = 4;
extern const int kStatisticsWidths[kStatisticsParts];

// Shows the bar with the count, minimum, maximum and mean of the data set.
void ShowStatistics();
