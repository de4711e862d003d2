// The masked edit: an EDIT whose typing is held to an edit mask (see MaskUtils.h for the syntax).
// Index: EMaskError, TCustomMaskEdit, TMaskEdit.
//
// The window text is EditText: literals in place, empty positions shown as the blank character. Typing fills the
// editable positions in overwrite mode and steps over literals; a character that does not fit its position is
// refused with a beep. Backspace and Delete blank positions; pasting types the clipboard text. Text (hidden here
// from the base class: call it on a TCustomMaskEdit) converts to and from EditText. Without a mask the control is
// a plain edit. GUI thread only.
#pragma once

#include <string>

#include "classlib/MaskUtils.h"
#include "classlib/StdCtrls.h"
#include "classlib/SysUtils.h"

TRELM_DECLARE_EXCEPTION(EMaskError, Exception);

class TCustomMaskEdit : public TCustomEdit {
  public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    const std::wstring& EditMask() const { return editMask_; }
    void SetEditMask(const std::wstring& Value);
    std::wstring EditText() { return TCustomEdit::Text(); }
    void SetEditText(const std::wstring& Value);
    // The mask's Text (see MaskUtils.h); the plain text without a mask.
    std::wstring Text();
    void SetText(const std::wstring& Value);
    bool IsMasked() const { return !mask_.Empty(); }
    // EMaskError when a required position is empty (an edit left entirely blank passes); the edit takes the focus
    // back first with the caret on that position. Called when the focus leaves the edit.
    virtual void ValidateEdit();

    void WndProc(TMessage& Message) override;

  protected:
    void CreateWnd() override;

  private:
    // Types ch at the caret; false when refused.
    bool InputChar(wchar_t ch);
    // Blanks the editable positions in [from, to).
    void ClearRange(int from, int to);
    void PutEditText(const std::wstring& text, int caret);
    std::wstring editMask_;
    TEditMask mask_;
};

class TMaskEdit : public TCustomMaskEdit {
  public:
    using TCustomMaskEdit::TCustomMaskEdit;
};
