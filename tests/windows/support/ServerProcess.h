// The store's automation server as the tests drive it: registered in the
// test prefix's registry, started by COM, and killed on purpose.
#pragma once

#include <string>
#include <vector>

// olstore-server.exe beside the test program.
std::wstring ServerPath();

// Runs the server with these arguments and waits for it; its exit code, or
// -1 when it could not be started.
int RunServer(const std::vector<std::wstring>& args);

// Ends every running olstore-server.exe at once, as a crash would; how many.
int KillServers();

// Waits (at most a few seconds) until no olstore-server.exe runs; false when
// one still does.
bool WaitForNoServer();

// Reads and writes of HKEY_CLASSES_ROOT for arranging and checking
// registrations. ReadClassesValue answers false when the value is missing.
bool ReadClassesValue(const std::wstring& key, const wchar_t* name, std::wstring& value);
bool WriteClassesValue(const std::wstring& key, const wchar_t* name, const std::wstring& value);
void DeleteClassesKey(const std::wstring& key);
