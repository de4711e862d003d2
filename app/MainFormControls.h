// A control of the main window that the class library lacks: the language choice, a drop-down list whose items show a
// flag before their text.
// Index: TLangComboBox.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"

class TLangComboBox : public TCustomComboBox {
  public:
    explicit TLangComboBox(TComponent* AOwner);
    void SetImages(TCustomImageList* images) { images_ = images; }
    void AddItem(const std::wstring& caption, int imageIndex);
    // The image index of the selected item, -1 when none.
    int SelectedImageIndex();
    // Selects the first item with that image index; false when there is none.
    bool SelectImageIndex(int imageIndex);

    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

  private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    TCustomImageList* images_ = nullptr;  // borrowed: the form owns it
    std::vector<int> imageIndexes_;
};

// Width of text in the font the control's window uses (or will use: the control's font, before the window exists).
int ControlTextWidth(TWinControl* control, const std::wstring& text);
