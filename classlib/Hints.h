// Hints: the small window that shows a control's hint, and what the application's hint machinery hands around.
// Index: GetShortHint, GetLongHint, THintInfo, THintWindow, THintWindowClass.
//
// A control's Hint is "short|long": the short part appears in the hint window, the long part is for status
// lines (without "|" both are the whole text). The application (Forms.h) shows the hint of the control under the
// mouse after HintPause when the control's ShowHint is on (inherited from its parent while ParentShowHint), hides
// it after HintHidePause, on a click or key, or when the mouse leaves; OnShowHint may change or refuse it.
// Application->HintWindowClass makes the window, so a skinned hint replaces the class. GUI thread only.
#pragma once

#include <functional>
#include <string>

#include "classlib/Controls.h"

std::wstring GetShortHint(const std::wstring& Hint);
std::wstring GetLongHint(const std::wstring& Hint);

class THintWindow;
// Makes the hint window; the owner (the application) frees it.
using THintWindowClass = std::function<THintWindow*(TComponent* Owner)>;

struct THintInfo {
    TControl* HintControl = nullptr;  // the control under the mouse (borrowed)
    TPoint CursorPos{};               // screen
    TRect CursorRect{};               // screen: the hint stays while the mouse is inside
    TPoint HintPos{};                 // screen: the hint window's top-left
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    std::wstring HintStr;
    int HideTimeout = 0;  // milliseconds, 0 = until the mouse leaves
    THintWindowClass HintWindowClass;
    void* HintData = nullptr;
};

// A top-level, borderline window without activation that paints a hint text. Its window text is the hint.
class THintWindow : public TCustomControl {
  public:
    explicit THintWindow(TComponent* AOwner);
    // Shows AHint in Rect (screen; moved inside the work area) without taking the focus.
    virtual void ActivateHint(TRect Rect, const std::wstring& AHint);
    virtual void ActivateHintData(TRect Rect, const std::wstring& AHint, void* AData);
    // The size the hint needs (at the origin), at most MaxWidth wide.
    virtual TRect CalcHintRect(int MaxWidth, const std::wstring& AHint, void* AData);
    // Hides the window.
    virtual void ReleaseHandle();
    bool Active() const { return active_; }
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    // For windows that show themselves their own way: Active() then says a hint is up.
    void MarkActive(bool Value) { active_ = Value; }

  private:
    bool active_ = false;
};
