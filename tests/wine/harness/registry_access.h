// Reading and writing single registry values, for the tests and the
// benchmarks that drive the program from outside.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace korbela::wine {

std::optional<DWORD> ReadDword(HKEY root, const char* path, const char* name);
std::optional<std::string> ReadString(HKEY root, const char* path, const char* name);
void WriteDword(HKEY root, const char* path, const char* name, DWORD value);
// A value of any type, as another program or an old version may have left it.
void WriteValue(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size);

}  // namespace korbela::wine
