// Files as the kit's users read and write them: whole files, the scratch folder each run
// works in, and settings-file text as the profile calls write it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kit {

// A file's bytes ("" when it cannot be read), and a file written with exactly `bytes`.
std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& bytes);

// A new empty folder `name` below the system's temporary folder, and its removal.
std::string scratchFolder(const std::string& name);
void removeFolder(const std::string& folder);

// A settings file's section as the profile calls write it: "[section]", then "key=value"
// lines, each ended by "\r\n".
using Keys = std::vector<std::pair<std::string, std::string>>;
std::string settingsSection(const std::string& section, const Keys& keys);
// The section as the plug-in saves its three switches.
std::string savedSwitches(const std::string& section, bool plugin, bool startUp, bool autoOpen);

// "rchar" of a /proc/<pid>/io file: every byte the process has had read() return so far; -1
// where there is none (no such file, or not Linux).
long long bytesRead(const std::string& ioFile = "/proc/self/io");

}  // namespace kit
