// The skinned scroll bars of a skinned MDI main form: linking this library gives the form its skinned scroll bars
// (the form's library cannot see the scroll bar class, which stands on it).
#include "skin/controls/SkinScrollBar.h"
#include "skin/form/SkinForm.h"

namespace {

class TbsMDIScrollBar : public IbsMDIScrollBar {
  public:
    // The bar is the skinned form's component: it goes with the form, never through this wrapper.
    TbsMDIScrollBar(TbsSkinForm* Form, bool Horizontal) : bar_(new TbsSkinScrollBar(Form)) {
        bar_->SetKind(Horizontal ? sbHorizontal : sbVertical);
        bar_->SetSkinDataName(Horizontal ? L"hscrollbar" : L"vscrollbar");
        bar_->SetSkinData(Form->SkinData());
        bar_->SetCanFocused(false);
        bar_->SetVisible(false);
        if (Horizontal)
            bar_->SetBounds(0, 0, 200, 17);
        else
            bar_->SetBounds(0, 0, 17, 200);
        bar_->SetParent(Form->Form());
        bar_->OnUpButtonClick = [this](TObject* s) { Raise(OnUpButtonClick, s); };
        bar_->OnDownButtonClick = [this](TObject* s) { Raise(OnDownButtonClick, s); };
        bar_->OnChange = [this](TObject* s) { Raise(OnChange, s); };
        bar_->OnLastChange = [this](TObject* s) { Raise(OnLastChange, s); };
        bar_->OnPageUp = [this](TObject* s) { Raise(OnLastChange, s); };
        bar_->OnPageDown = [this](TObject* s) { Raise(OnLastChange, s); };
    }
    TWinControl* Control() override { return bar_; }
    void SetRange(int Max, int PageSize, int Position) override {
        bar_->SetRange(0, Max, PageSize, Position);
        bar_->SetLargeChange(PageSize);
    }
    int Position() const override { return bar_->Position(); }
    void SetPosition(int Value) override { bar_->SimplySetPosition(Value); }
    void SetBoth(bool Value) override { bar_->SetBoth(Value); }

  private:
    static void Raise(const TNotifyEvent& E, TObject* S) {
        if (E)
            E(S);
    }
    TbsSkinScrollBar* bar_;
};

// Installed when the library is linked (it is an object library: nothing of it is left out).
const bool kInstalled = [] {
    SetMDIScrollBarMaker([](TbsSkinForm* Form, bool Horizontal) -> std::unique_ptr<IbsMDIScrollBar> {
        return std::make_unique<TbsMDIScrollBar>(Form, Horizontal);
    });
    return true;
}();

}  // namespace
