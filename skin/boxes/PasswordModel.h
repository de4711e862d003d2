// The password edit's state without a window: the text, the caret, the signed selection, the first visible cell, the
// length limit and the character case, with the editing, keyboard and mouse rules on them. The view (SkinPasswordEdit)
// supplies the text area and the clipboard, and repaints and moves the system caret when told. No windows.h here.
//
// Selection: FSelLength is signed. SelStart is FSelStart when FSelLength > 0, FSelStart + FSelLength when it is
// negative, the caret when it is 0; extending keeps FSelStart at the caret, so FSelStart + FSelLength is the anchor.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "classlib/Types.h"

enum TbsModelCharCase { mcNormal, mcUpper, mcLower };
enum TbsModelAlignment { maLeft, maRight, maCenter };

// Keys the model acts on (the system's virtual-key codes).
namespace pwkey {
constexpr int Back = 0x08, End = 0x23, Home = 0x24, Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Insert = 0x2D,
              Delete = 0x2E, V = 0x56;
}

class TbsPasswordModel {
  public:
    // The text area (its height fixes the cell width).
    TRect EditRect{0, 0, 0, 0};
    int MaxLength = 0;  // 0: no limit; applied on insertion only
    bool ReadOnly = false;
    TbsModelAlignment Alignment = maLeft;

    std::function<void()> OnChange;        // after every change of the text
    std::function<void()> OnInvalidate;    // the look changed
    std::function<void()> OnCaretMoved;    // the caret position changed
    std::function<std::wstring()> ClipboardText;

    const std::wstring& Text() const { return FText; }
    // Stores Value in the character case in force (MaxLength is not applied); OnChange when the text differs.
    void SetText(const std::wstring& Value);
    // Replaces the text without OnChange, clearing the selection length (a change of the window text).
    void AssignText(const std::wstring& Value);
    TbsModelCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TbsModelCharCase Value);

    int CaretPosition() const { return FCaretPosition; }
    void SetCaretPosition(int P);
    int SelStart() const;
    int SelLength() const;
    std::wstring SelText() const;
    void SetSelStart(int Value);
    void SetSelLength(int Value);
    int RawSelStart() const { return FSelStart; }
    int RawSelLength() const { return FSelLength; }
    int FirstVisibleChar() const { return FFVChar; }

    void InsertText(const std::wstring& AText);
    void InsertChar(wchar_t Ch) { InsertText(std::wstring(1, Ch)); }
    void ClearSelection();
    void SelectAll();
    void InsertAfter(int Position, const std::wstring& S, bool Selected);
    void DeleteFrom(int Position, int Length, bool MoveCaret);
    void PasteFromClipboard();
    void SelectWord();

    // Keys: Shift, Ctrl as held.
    void KeyDown(int Key, bool Shift, bool Ctrl);
    void KeyPress(wchar_t Ch);
    void MouseDown(bool LeftButton, int X);
    void MouseMove(int X);
    void MouseUp() { FLMouseSelecting = false; }
    void DblClick();
    bool MouseSelecting() const { return FLMouseSelecting; }

    // Metrics.
    int CharWidth() const { return EditRect.Height() / 2 + 3; }
    int GetCharX(int P) const;
    int GetCharPosAt(int X) const;
    int GetPrevWordPos(int P) const;
    int GetNextWordPos(int P) const;
    void ScrollToCaret();
    // The selection's rectangle inside the text area (empty without a selection).
    TRect SelectionRect() const;
    // The glyph cells from the first visible character on that end inside the text area; Index is the character.
    struct TCell {
        TRect R;
        int Index;
    };
    std::vector<TCell> VisibleCells() const;

  private:
    int AlignShift() const;
    int Length() const { return static_cast<int>(FText.size()); }
    // Moves the caret to P, extending the selection (Shift) or dropping it.
    void MoveCaret(int P, bool Extend);
    void Invalidate() {
        if (OnInvalidate)
            OnInvalidate();
    }

    std::wstring FText;
    int FCaretPosition = 0;
    int FSelStart = 0;
    int FSelLength = 0;
    int FFVChar = 1;
    TbsModelCharCase FCharCase = mcNormal;
    bool FLMouseSelecting = false;
};
