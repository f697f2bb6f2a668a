#pragma once
// Drives modal dialogs from inside their own message loops: a thread timer
// looks for the enabled dialog of this thread whose title matches the next
// step and runs that step's action on it. Actions may open further modal
// dialogs (the timer keeps firing inside their loops). A step that finds no
// dialog within about five seconds cancels the open dialog, so that a test
// fails instead of hanging.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct DialogStep {
    std::string title; // a dialog whose title contains this text
    std::function<void(HWND)> action;
    DWORD delayMs = 0; // at least this long after the previous step
};

class DialogDriver {
  public:
    explicit DialogDriver(std::vector<DialogStep> steps);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Every step ran (none timed out).
    bool Finished() const { return next == steps.size() && !timedOut; }
    std::string Report() const;

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<DialogStep> steps;
    size_t next = 0;
    int idleTicks = 0;
    DWORD lastStepTime = 0;
    bool timedOut = false;
    UINT_PTR timer = 0;
};

// The enabled, visible dialog box of this thread whose title contains title.
HWND FindThreadDialog(const std::string& title);
// A top-level window with an edit control 1000, standing in for the main window.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND window = nullptr;
    HWND line = nullptr;
};
// Sends a click of button id of dialog as the user's click would arrive.
void ClickButton(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
// A step for the system's file dialog of that title: Down pressed downKeys
// times in its file type box, name put into its file name box, then OK.
DialogStep ChooseFileOfType(const std::string& title, int downKeys, const std::string& name);
