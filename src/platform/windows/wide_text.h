#pragma once
// The program's UTF-8 text and the wide (UTF-16) text of the Windows calls.
// Paths go to the system through widePath, which takes '/' as '\' and lets
// a path of any length through (the "\\?\" form past 259 characters).

#include <string>

namespace quillon::platform {

std::wstring wideText(const std::string& text);
std::string utf8Text(const std::wstring& text);
std::wstring widePath(const std::string& path);
// The system's words for an error code of GetLastError ("Access is denied.").
std::string systemMessage(unsigned long code);

}  // namespace quillon::platform
