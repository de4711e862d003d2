// The open dialogs' window-free rules: joining a folder and a typed name, the extension a typed name gets, the
// save mode's extension swap when the filter changes, and the names of folders made in the dialog.
// Index: JoinDialogPath, HasFileExtension, MaskExtension, DialogDefaultExt, SwapSaveExtension, NewFolderName.
#pragma once

#include <string>

// Folder and Name with exactly one "\" between them (a drive root "C:\" or a folder given with its "\" keeps it).
std::wstring JoinDialogPath(const std::wstring& Folder, const std::wstring& Name);
// The name part (after the last "\" or "/") has a "." that is not its last character.
bool HasFileExtension(const std::wstring& Name);
// The extension a filter mask gives a name without one: none when the mask holds ".*"; else the extension of its
// first pattern (the part before the first ";"). "*.lng;*.txt" gives ".lng".
std::wstring MaskExtension(const std::wstring& Mask);
// "." + DefaultExt when that is set, else MaskExtension(Mask).
std::wstring DialogDefaultExt(const std::wstring& DefaultExt, const std::wstring& Mask);
// The save mode's answer to a new filter: a trailing extension of Text is replaced by Ext, a Text without one
// gets Ext appended; an empty Text or Ext leaves Text as it is. Only the end changes: "a.wav.bak" -> "a.wav.mp3".
std::wstring SwapSaveExtension(const std::wstring& Text, const std::wstring& Ext);
// The Count-th folder made in one dialog: Base, then Base(2), Base(3) ... (no blank before the bracket).
std::wstring NewFolderName(const std::wstring& Base, int Count);
