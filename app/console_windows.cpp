#include "console.h"

#include <windows.h>

namespace trelvane {

void tellOnConsole(const std::string &text, Answer kind)
{
    // A windowed program has no console of its own: it writes where its output was
    // redirected, else into the console of the program that started it.
    HANDLE out = GetStdHandle(kind == Answer::Error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE
        && WriteFile(out, text.data(), DWORD(text.size()), &written, nullptr))
        return;
    // Started from Explorer, a shortcut or the Run box: no console to write into.
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    MessageBoxW(nullptr, wide.c_str(), L"Trelvane",
                MB_OK | (kind == Answer::Error ? MB_ICONWARNING : MB_ICONINFORMATION));
}

} // namespace trelvane
