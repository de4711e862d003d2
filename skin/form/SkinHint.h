// The skinned hint: TbsSkinHint makes the application create every hint in a TbsSkinHintWindow, which draws the text
// on the skin's nine-part hint picture (shaped by its mask) in the skin's hint font, optionally translucent with a
// fade-in, and breaks the text into lines at the LineSeparator. The component also shows hints on request: at once at
// a point, or after the application's hint pause below the cursor or beside a rectangle, hidden after the hide pause.
//
// Index: IbsHintExtras, TbsSkinHintWindow, TbsSkinHint.
//
// Ownership: the component owns its window, its default font and its timer; the skin container and the image list
// are borrowed (cleared by notification). The application owns the windows its hint machinery makes. The timer of a
// timed hint is one object restarted for each request, so a request made from inside its own tick is safe. GUI
// thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Hints.h"
#include "classlib/ImgList.h"
#include "skin/core/AlphaFade.h"
#include "skin/core/SkinData.h"

class TbsSkinHint;

// What a skinned control adds to its hint: a bold title line and an image (shown when the list is set and the index
// inside it). Controls implement it; the hint component reads it as the control's hint is about to be shown.
class IbsHintExtras {
  public:
    virtual ~IbsHintExtras() = default;
    virtual std::wstring HintTitle() const = 0;
    virtual int HintImageIndex() const = 0;
    virtual TCustomImageList* HintImageList() const = 0;
};

class TbsSkinHintWindow : public THintWindow {
  public:
    explicit TbsSkinHintWindow(TComponent* AOwner);
    ~TbsSkinHintWindow() override;

    void ActivateHint(TRect Rect, const std::wstring& AHint) override;
    void ActivateHintEx(TRect Rect,
                        const std::wstring& AHintTitle,
                        const std::wstring& AHint,
                        int AImageIndex,
                        TCustomImageList* AImageList);
    void ActivateHintFromRect(const TRect& ARect, const std::wstring& AHint, bool ATop);
    TRect CalcHintRect(int MaxWidth, const std::wstring& AHint, void* AData) override;

    // Window size for S (and the target geometry of the skin picture).
    void CalcHintSize(TCanvas* Canvas, const std::wstring& S, int& W, int& H);
    void CalcHintSizeEx(TCanvas* Canvas, const std::wstring& S, int& W, int& H);
    // Separators to line breaks.
    void CheckText(std::wstring& S) const;
    // The component in charge: the main form's first active one, else the first active one alive.
    static TbsSkinHint* FindHintComponent();

    TRect NewClRect{};
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    bool FOldAlphaBlend = false;
    bool AExtendedStyle = false;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void WndProc(TMessage& Message) override;

  private:
    enum class Place { AtRect, FromRect };
    void Activate(TRect Rect, const std::wstring& AHint, Place How, const TRect& From, bool ATop);
    void PrepareFont(TCanvas* C);
    void SetHintWindowRegion();
    void PaintBackground(TCanvas* C, int W, int H);
    bool HasRegion_ = false;
    std::wstring title_;
    int imageIndex_ = -1;
    TCustomImageList* imageList_ = nullptr;
};

class TbsSkinHint : public TComponent {
  public:
    explicit TbsSkinHint(TComponent* AOwner);
    ~TbsSkinHint() override;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TFont* DefaultFont() { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    const std::wstring& LineSeparator() const { return FLineSeparator; }
    void SetLineSeparator(const std::wstring& Value) { FLineSeparator = Value; }

    bool AlphaBlend = false;
    BYTE AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    bool UseSkinFont = true;
    // The clock and the wait the hint's fade-in is timed by; replaceable in tests.
    TFadeClock FadeClock = SystemFadeClock();
    TApplication::TShowHintEvent OnShowHint;

    void ActivateHint(TPoint P, const std::wstring& AHint);
    void ActivateTntHint(TPoint P, const std::wstring& AHint) { ActivateHint(P, AHint); }
    void ActivateHint2(const std::wstring& AHint);
    void ActivateTntHint2(const std::wstring& AHint) { ActivateHint2(AHint); }
    void ActivateHint3(const TRect& AFromRect, const std::wstring& AHint, bool ATop);
    void ActivateHintEx(TPoint P,
                        const std::wstring& AHintTitle,
                        const std::wstring& AHint,
                        int AImageIndex,
                        TCustomImageList* AImageList);
    void ActivateHintEx2(const std::wstring& AHintTitle,
                         const std::wstring& AHint,
                         int AImageIndex,
                         TCustomImageList* AImageList);
    bool IsVisible() const;
    void HideHint();
    static int GetCursorHeightMargin();
    void SelfOnShowHint(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo);

    TbsSkinHintWindow* Window() const { return HW; }
    // Title and image of the hint about to be shown.
    std::wstring FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;

  protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

  private:
    friend class TbsSkinHintWindow;
    enum class Pending { None, Cursor, CursorEx, FromRect };
    void StartTimer(Pending Kind);
    void TimerTick();

    bool FActive = true;
    TbsSkinData* FSD = nullptr;
    TbsSkinHintWindow* HW = nullptr;  // owned as a component
    std::unique_ptr<TFont> FDefaultFont;
    std::unique_ptr<TTimer> HintTimer;
    bool timerShowing_ = false;  // the timer's next tick hides the shown hint
    Pending pending_ = Pending::None;
    std::wstring HintText;
    std::wstring FLineSeparator = L"@";
    TRect FromRect{};
    bool Top = false;
};
