// What the edit tests share: the clipboard set and read as a user's program would, characters typed as WM_CHAR, and
// the context menu opened from the keyboard and checked.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "ControlTestSupport.h"
#include "skin/boxes/EditClipboard.h"
#include "skin/form/SkinForm.h"
#include "skin/form/SkinMenu.h"
#include "skin/form/SkinPopupMenu.h"

namespace boxtest {

inline void SetClipboardText(const std::wstring& Text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (Text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(mem), Text.c_str(), (Text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

inline std::wstring GetClipboardText() {
    return ReadClipboardText(nullptr);
}

inline void Type(HWND w, const std::wstring& Keys) {
    for (wchar_t c : Keys)
        SendMessageW(w, WM_CHAR, c, 1);
}

// Opens Field's context menu from the keyboard: it opens at the centre with the fixed captions, Undo, Cut, Copy,
// Paste, Delete and Select All enabled as Enabled says; Copy runs from it, message 1229 frees it.
template <class T>
void CheckKeyboardMenu(T* Field, const bool (&Enabled)[6], const std::wstring& Copied) {
    SendMessageW(Field->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Field->Handle()), MAKELPARAM(-1, -1));
    Pump(20);
    TbsSkinPopupMenu* m = Field->SysPopupMenu();
    ASSERT_NE(m, nullptr);
    const TPoint o = Field->ClientOrigin();
    EXPECT_EQ(m->PopupPoint(), (TPoint{o.X + Field->Width() / 2, o.Y + Field->Height() / 2}));
    const wchar_t* captions[] = {L"Undo", L"-", L"Cut", L"Copy", L"Paste", L"Delete", L"-", L"Select All"};
    const int state[] = {0, -1, 1, 2, 3, 4, -1, 5};
    ASSERT_EQ(m->Items()->Count(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(m->Items()->Items(i)->Caption(), captions[i]) << i;
        if (state[i] >= 0) {
            EXPECT_EQ(m->Items()->Items(i)->Enabled(), Enabled[state[i]]) << i;
        }
    }
    m->Items()->Items(3)->Click();
    EXPECT_EQ(GetClipboardText(), Copied);
    SendMessageW(Field->Handle(), WM_AFTERDISPATCH, 0, 0);
    EXPECT_EQ(Field->SysPopupMenu(), nullptr);
    ctltest::Host& h = ctltest::SharedHost();
    if (h.skinForm->SkinMenu()->Visible())
        h.skinForm->SkinMenuClose();
    Pump(20);
}

}  // namespace boxtest
