// The main window's controls as one table: name, kind, parent, bounds, input limit and the controls a field follows.
// Building the window walks the table; a skinned control replaces a class-library one by changing its kind's
// factory, and a test driver finds each windowed control by its name ("TrelmName" window property).
// Index: TCtlKind, TCtlSpec, kMainFormLayout, kMainFormFontName, kMainFormFontHeight, the window sizes, TBox,
// ReadingOrder.
#pragma once

#include <cstddef>
#include <vector>

enum class TCtlKind {
    Page,       // a page of PageControl
    Group,      // group box
    Label,      // text label (no window)
    Edit,       // one-line editor
    Password,   // editor showing masking symbols
    TimeEdit,   // masked "hh:nn" editor
    DateEdit,   // masked date editor
    Spin,       // skinned spin edit: a number editor with its own arrow buttons
    Check,      // check box, as wide as its text
    Combo,      // editable combo box
    LangCombo,  // drop-down list of the languages with their flags
    Button,     // push button with a caption
    Glyph,      // square push button with a 16x16 picture and a hint
    ListView,   // owner-data report view
};

struct TCtlSpec {
    const wchar_t* Name;
    TCtlKind Kind;
    const wchar_t* Parent;  // PageControl's page, a group, or "" for the form
    int Left, Top, Width, Height;
    // Spin: minimum and maximum. Edit, Password: the longest text kept (0: no limit). Glyph: picture index.
    int A = 0, B = 0;
    // Controls whose right edge (the widest of them, plus a gap) is this control's left edge once the texts are in;
    // its right edge stays where the table puts it unless KeepWidth.
    const wchar_t* After = nullptr;
    bool KeepWidth = false;
};

extern const std::vector<TCtlSpec> kMainFormLayout;

// The window's font; tests measure texts with the same face and height.
inline constexpr const wchar_t* kMainFormFontName = L"Tahoma";
inline constexpr int kMainFormFontHeight = -11;

// Window sizes, as a window with the system's single frame has them (the window keeps that client area under every
// skin's frame): narrow for the two settings pages, wide for the products page; short without the bottom lists, tall
// with them.
inline constexpr int kFormWidthNarrow = 535;
inline constexpr int kFormWidthWide = 1100;
inline constexpr int kFormHeightShort = 594;
inline constexpr int kFormHeightTall = 764;

// A control's place on its parent.
struct TBox {
    int Left, Top, Width, Height;
};

// The order a reader meets the boxes in: rows from the top (boxes whose middles lie within kRowSlack pixels of a
// row's first box share that row), each row from the left. Returns indexes into boxes.
inline constexpr int kRowSlack = 8;
std::vector<std::size_t> ReadingOrder(const std::vector<TBox>& boxes);
