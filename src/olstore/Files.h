// What the store needs of the file system and the process, through the
// platform layer. File names are UTF-8 throughout the store, on both systems.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace olstore {

std::filesystem::path PathFromUtf8(std::string_view path);

enum class FileState { Missing, File, NotAFile, ReadOnlyFile, Unknown };

// Whether path names a writable file, a read-only one (no write permission at
// all, even for a user whom the system would let write anyway: a store marked
// read-only is meant to stay as it is), something else, or nothing.
FileState ProbeFile(const std::string& path);

// Gives the complete file temp the name path unless something is there
// already, which then stays as it is (and counts as success: another program
// made it meanwhile). temp is gone afterwards either way.
bool PublishNewFile(const std::string& temp, const std::string& path, std::string& error);

// Gives the complete file temp the name path, replacing what is there in one
// step: readers see the old content or the new one, never a half-written file.
bool ReplaceFileAtomically(const std::string& temp, const std::string& path, std::string& error);

void RemoveFile(const std::string& path);

int CurrentProcessId();

// An environment variable as UTF-8; empty when it is not set.
std::string EnvironmentText(const char* name);

// Where a user's programs keep their data: $XDG_DATA_HOME when absolute, else
// ~/.local/share; on Windows the user's local application data folder; "."
// when none is known.
std::string UserDataFolder();

}  // namespace olstore
