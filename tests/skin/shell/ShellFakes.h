// A scripted shell folder for the tests: it answers attribute, detail and rename questions as a test sets them and
// refuses everything else. It can also stand as its own IShellFolder2 and IShellDetails.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <map>
#include <string>

class TFakeShellFolder : public IShellFolder2, public IShellDetails {
  public:
    // GetAttributesOf: the result and the bits it leaves in the word (a failure may leave bits too).
    HRESULT attributesResult = S_OK;
    SFGAOF attributes = 0;
    // Offered through GetUIObjectOf (IShellFolder2) and BindToObject (IShellDetails).
    bool offerFolder2 = false;
    bool offerDetails = false;
    // Per column: the text GetDetailsOf gives (absent: it fails), the property id MapColumnToSCID gives (absent:
    // it fails) and the number GetDetailsEx gives.
    std::map<UINT, std::wstring> detailTexts;
    std::map<UINT, DWORD> columnPids;
    std::map<UINT, long long> detailNumbers;
    HRESULT setNameResult = E_FAIL;
    // What GetDisplayNameOf gives for any item (ASCII).
    std::string name = "fake";

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IShellFolder)
            *ppv = static_cast<IShellFolder*>(this);
        else if (riid == IID_IShellFolder2 && offerFolder2)
            *ppv = static_cast<IShellFolder2*>(this);
        else if (riid == IID_IShellDetails && offerDetails)
            *ppv = static_cast<IShellDetails*>(this);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }  // lives on the test's stack

    // IShellFolder
    STDMETHODIMP ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    STDMETHODIMP BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IShellDetails && offerDetails)
            return QueryInterface(riid, ppv);
        return E_NOTIMPL;
    }
    STDMETHODIMP BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_NOTIMPL; }
    STDMETHODIMP CreateViewObject(HWND, REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF* inOut) override {
        *inOut = attributes;
        return attributesResult;
    }
    STDMETHODIMP GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID riid, UINT*, void** ppv) override {
        *ppv = nullptr;
        if (riid == IID_IShellFolder2 && offerFolder2)
            return QueryInterface(riid, ppv);
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET* str) override {
        str->uType = STRRET_CSTR;
        lstrcpynA(str->cStr, name.c_str(), MAX_PATH);
        return S_OK;
    }
    STDMETHODIMP SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD* out) override {
        if (out)
            *out = nullptr;
        return setNameResult;
    }

    // IShellFolder2
    STDMETHODIMP GetDefaultSearchGUID(GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumSearches(IEnumExtraSearch**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultColumn(DWORD, ULONG*, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDefaultColumnState(UINT, SHCOLSTATEF*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDetailsEx(PCUITEMID_CHILD, const SHCOLUMNID* id, VARIANT* v) override {
        for (auto [column, pid] : columnPids)
            if (pid == id->pid && detailNumbers.count(column)) {
                v->vt = VT_I8;
                v->llVal = detailNumbers[column];
                return S_OK;
            }
        return E_FAIL;
    }
    // Both interfaces' GetDetailsOf.
    STDMETHODIMP GetDetailsOf(PCUITEMID_CHILD, UINT column, SHELLDETAILS* sd) override {
        auto it = detailTexts.find(column);
        if (it == detailTexts.end())
            return E_FAIL;
        sd->str.uType = STRRET_WSTR;
        size_t bytes = (it->second.size() + 1) * sizeof(wchar_t);
        sd->str.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
        memcpy(sd->str.pOleStr, it->second.c_str(), bytes);
        return S_OK;
    }
    STDMETHODIMP MapColumnToSCID(UINT column, SHCOLUMNID* id) override {
        auto it = columnPids.find(column);
        if (it == columnPids.end())
            return E_FAIL;
        id->fmtid = GUID{};
        id->pid = it->second;
        return S_OK;
    }

    // IShellDetails
    STDMETHODIMP ColumnClick(UINT) override { return E_NOTIMPL; }

    ULONG refs = 1;
};
