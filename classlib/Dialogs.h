// Common dialogs over the system's file dialog.
// Index: TOpenOption, TOpenOptions, TOpenDialog, TSaveDialog.
//
// Execute shows the modal dialog owned by the active form (or the application window) and returns true when the
// user chose a file; FileName (and Files with ofAllowMultiSelect) then hold the full paths. Filter is
// "Description|pattern;pattern|Description|pattern..."; FilterIndex counts from 1. The dialog's window text is
// Title (the system's default title when empty). GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "classlib/Classes.h"
#include "classlib/Component.h"
#include "classlib/Types.h"

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
  public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    std::wstring FileName;
    std::wstring Filter;
    int FilterIndex = 1;
    std::wstring InitialDir;
    std::wstring Title;
    std::wstring DefaultExt;  // without the dot
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};
    // The chosen files (one unless ofAllowMultiSelect).
    TStrings* Files() { return files_.get(); }

    virtual bool Execute();
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

  protected:
    // Runs GetOpenFileNameW or GetSaveFileNameW.
    bool DoExecute(bool save);

  private:
    std::unique_ptr<TStringList> files_;
};

class TSaveDialog : public TOpenDialog {
  public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override;
};
