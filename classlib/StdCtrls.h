// Standard controls over the system's own window classes, and the label drawn by its parent.
// Index: TAlignment, TTextLayout, TButton, TCustomEdit, TEdit, TCustomMemo, TMemo, TCustomLabel, TLabel, TGroupBox,
// TCheckBox, TRadioButton, TCustomListBox, TListBox, TCustomComboBox, TComboBox, TScrollBar.
//
// Every windowed control here superclasses a system class (BUTTON, EDIT, LISTBOX, COMBOBOX, SCROLLBAR), so other
// programs see real controls; the wrapper maps properties to the control's messages and turns the notifications
// its parent reflects (CN_COMMAND, CN_HSCROLL ...) into events. Properties set before the window exists are kept
// and given to the window when it is made. Colours and font reach the native control through the reflected
// WM_CTLCOLOR* answer and WM_SETFONT. GUI thread only.
//
// TButton: the button that is the dialog's default (Default) answers Enter and the cancel button (Cancel) answers
// Esc when the focus is on a control that does not want those keys itself; a focused button answers Enter
// itself. A button with a ModalResult closes its modal form with that result when clicked.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Controls.h"

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TControlBorderStyle { bsNoBorder, bsSingleBorder };

class TButton : public TWinControl {
  public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int Value) { modalResult_ = Value; }

    void Click() override;
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    void SetButtonStyle(bool ADefault);

    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;  // shows the default frame and answers Enter
    int modalResult_ = 0;
};

// ---- Edits ----------------------------------------------------------------------------------------------------------
// A single-line EDIT. OnChange follows every change of the text (typed or set).
class TCustomEdit : public TWinControl {
  public:
    explicit TCustomEdit(TComponent* AOwner);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);  // 0 = no limit
    wchar_t PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(wchar_t Value);  // 0 shows the text
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase Value);
    TControlBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TControlBorderStyle Value);
    bool AutoSelect = true;  // select all when focused by the keyboard
    // Off: the selection stays visible while another control has the focus.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool Modified();
    void SetModified(bool Value);
    // On (the default; memos turn it off): a bordered edit's height follows its font, set again whenever the font,
    // the border or AutoSize itself changes. Width and an explicitly set height are otherwise left alone.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);

    // Selection in characters; SelText replaces the selection.
    int SelStart();
    void SetSelStart(int Value);
    int SelLength();
    void SetSelLength(int Value);
    std::wstring SelText();
    void SetSelText(const std::wstring& Value);
    void SelectAll();
    void ClearSelection() { SetSelText(L""); }
    void Clear() { SetText(L""); }
    bool CanUndo();
    void Undo();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    void WndProc(TMessage& Message) override;
    TNotifyEvent OnChange;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Change();
    void DoEnter() override;
    // The height for the font: its line height plus the border and the edit's inner margins.
    void AdjustHeight();

  private:
    bool autoSize_ = true;
    int maxLength_ = 0;
    wchar_t passwordChar_ = 0;
    bool readOnly_ = false;
    TEditCharCase charCase_ = ecNormal;
    TControlBorderStyle borderStyle_ = bsSingleBorder;
    bool hideSelection_ = true;
};

class TEdit : public TCustomEdit {
  public:
    using TCustomEdit::TCustomEdit;
};

// A multi-line EDIT. Lines is the text as a list of lines (hard line breaks; word wrap does not split lines).
class TCustomMemo : public TCustomEdit {
  public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() { return lines_.get(); }
    void SetLines(TStrings* Value) { lines_->Assign(Value); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool WantReturns = true;
    bool WantTabs = false;
    // The first visible line and the line of the caret (text lines of the control, wrapped ones counted).
    int TopLine();
    int CaretLine();

    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;

  private:
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
};

class TMemo : public TCustomMemo {
  public:
    using TCustomMemo::TCustomMemo;
};

// ---- Labels ---------------------------------------------------------------------------------------------------------
// A label has no window: its parent paints it. DoDrawText is the one routine for painting and for measuring
// (with DT_CALCRECT), so a descendant that draws its text differently is measured the same way by AutoSize.
class TCustomLabel : public TGraphicControl {
  public:
    explicit TCustomLabel(TComponent* AOwner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // The control that gets the focus when the label's accelerator is pressed; borrowed, cleared when freed.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);

    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

  protected:
    void Paint() override;
    // Draws (or with DT_CALCRECT measures into R) the caption on Canvas() with Flags (DT_*), in Font.
    virtual void DoDrawText(TRect& R, UINT Flags);
    // Fits the bounds to the measured text when AutoSize is on; keeps the right edge for right alignment
    // and the centre for centred text.
    virtual void AdjustBounds();
    // The text DoDrawText draws: the caption, or a blank for an empty caption (so the label keeps a height).
    virtual std::wstring GetLabelText();
    // DT_* flags for the properties (alignment, word wrap, accelerator prefix).
    UINT DrawTextFlags() const;

  private:
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  public:
    using TCustomLabel::TCustomLabel;
};

// ---- Group box, check box, radio button --------------------------------------------------------------------------
// A BUTTON of the group-box style; children sit below its caption.
class TGroupBox : public TWinControl {
  public:
    explicit TGroupBox(TComponent* AOwner);
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A BUTTON check box. A click moves to the next state (unchecked, checked, and grayed when AllowGrayed) and
// raises OnClick; setting State or Checked raises OnClick too.
class TCheckBox : public TWinControl {
  public:
    explicit TCheckBox(TComponent* AOwner);
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState Value);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    bool AllowGrayed = false;
    TAlignment Alignment() const { return alignment_; }  // taRightJustify: box on the left (the default)
    void SetAlignment(TAlignment Value);
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Toggle();

  private:
    TCheckBoxState state_ = cbUnchecked;
    TAlignment alignment_ = taRightJustify;
};

// A BUTTON radio button. Checking one unchecks the other radio buttons of the same parent; a click checks it.
class TRadioButton : public TWinControl {
  public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    void WndProc(TMessage& Message) override;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

  private:
    bool checked_ = false;
};

// ---- List box and combo box
// ------------------------------------------------------------------------------------------
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent = std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;
TOwnerDrawState OwnerDrawStateOf(UINT itemState);

// A LISTBOX. Items live in the window (kept across a re-creation of it). OnClick follows a change of selection
// by the user.
class TCustomListBox : public TWinControl {
  public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    int Count() { return items_->Count(); }
    int ItemIndex();
    void SetItemIndex(int Value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    int SelCount();
    bool Selected(int Index);
    void SetSelected(int Index, bool Value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    int ItemHeight();
    void SetItemHeight(int Value);
    int TopIndex();
    void SetTopIndex(int Value);
    // The item at a client point (-1 when none; Existing false gives the nearest).
    int ItemAtPos(TPoint Pos, bool Existing);
    TRect ItemRect(int Index);
    void Clear() { items_->Clear(); }
    TCanvas* Canvas() { return canvas_.get(); }

    void WndProc(TMessage& Message) override;
    TDrawItemEvent OnDrawItem;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);

  private:
    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TCanvas> canvas_;
    bool multiSelect_ = false;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 16;
    int savedIndex_ = -1;
};

class TListBox : public TCustomListBox {
  public:
    using TCustomListBox::TCustomListBox;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A COMBOBOX, editable (csDropDown) or a drop-down list. OnChange follows typing and a change of selection;
// OnSelect a selection by the user; OnDropDown and OnCloseUp the list opening and closing (ItemIndex is the
// picked item at close-up).
class TCustomComboBox : public TWinControl {
  public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    int ItemIndex();
    void SetItemIndex(int Value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle Value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int Value);
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    int SelStart();
    int SelLength();
    void SelectAll();
    void Clear();

    // The height is that of the closed box; the list's height comes from DropDownCount.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();

  private:
    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    int savedIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
  public:
    using TCustomComboBox::TCustomComboBox;
};

// ---- Scroll bar -----------------------------------------------------------------------------------------------------
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A SCROLLBAR control. OnScroll sees each scroll action (and may change the new position); OnChange follows
// every change of Position.
class TScrollBar : public TWinControl {
  public:
    explicit TScrollBar(TComponent* AOwner);
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind Value);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    void SetParams(int APosition, int AMin, int AMax);
    void SetMin(int Value) { SetParams(position_, Value, max_); }
    void SetMax(int Value) { SetParams(position_, min_, Value); }
    void SetPosition(int Value) { SetParams(Value, min_, max_); }
    void SetPageSize(int Value);
    int SmallChange = 1;
    int LargeChange = 1;

    void WndProc(TMessage& Message) override;
    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

  protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

  private:
    void UpdateScrollInfo();
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
};
