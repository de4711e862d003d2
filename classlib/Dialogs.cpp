// Common dialogs: the open and save dialogs over GetOpenFileNameW / GetSaveFileNameW.
#include "classlib/Dialogs.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <vector>

#include "classlib/Forms.h"

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() {
    return DoExecute(false);
}

bool TSaveDialog::Execute() {
    return DoExecute(true);
}

bool TOpenDialog::DoExecute(bool save) {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    std::wstring filter = Filter;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    if (!filter.empty())
        filter.append(2, L'\0');
    // Room for many names when several may be chosen.
    std::vector<wchar_t> buffer(Options.Contains(ofAllowMultiSelect) ? 64 * 1024 : 4 * MAX_PATH, L'\0');
    if (FileName.size() < buffer.size())
        std::copy(FileName.begin(), FileName.end(), buffer.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    TCustomForm* form = Screen->ActiveForm();
    ofn.hwndOwner = form && form->HandleAllocated() ? form->Handle() : Application->Handle();
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER;
    struct Flag {
        TOpenOption option;
        DWORD flag;
    };
    static const Flag kFlags[] = {
        {ofReadOnly, OFN_READONLY},
        {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {ofPathMustExist, OFN_PATHMUSTEXIST},
        {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT},
        {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    for (const Flag& f : kFlags)
        if (Options.Contains(f.option))
            ofn.Flags |= f.flag;

    if (OnShow)
        OnShow(this);
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (OnClose)
        OnClose(this);
    files_->Clear();
    if (!ok) {
        if (const DWORD error = CommDlgExtendedError())
            throw EOSError(L"The file dialog failed (" + std::to_wstring(error) + L")", error);
        return false;
    }
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    // Several files: the folder, then the names, each ended by a NUL; one file: its full path.
    std::vector<std::wstring> parts;
    for (const wchar_t* p = buffer.data(); *p && p < buffer.data() + buffer.size(); p += wcslen(p) + 1)
        parts.emplace_back(p);
    if (parts.size() > 1) {
        std::wstring folder = parts[0];
        if (!folder.empty() && folder.back() != L'\\')
            folder += L'\\';
        for (size_t i = 1; i < parts.size(); ++i)
            files_->Add(folder + parts[i]);
    } else if (!parts.empty()) {
        files_->Add(parts[0]);
    }
    if (ofn.Flags & OFN_READONLY)
        Options.Include(ofReadOnly);
    else
        Options.Exclude(ofReadOnly);
    FileName = files_->Count() > 0 ? files_->Get(0) : std::wstring();
    return true;
}
