/* The notifier of the end-to-end test's small payload: writes the folder it was started in to "stub-ran.txt" there.
   Built without the C runtime so that it takes a few blocks of the payload. */
#include <windows.h>

void __stdcall StubMain(void) {
    wchar_t folder[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, folder);
    HANDLE file = CreateFileW(L"stub-ran.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, folder, n * sizeof(wchar_t), &written, NULL);
        CloseHandle(file);
    }
    ExitProcess(0);
}
