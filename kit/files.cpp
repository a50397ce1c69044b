#include "kit/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace kit {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), (std::streamsize)bytes.size());
  return (bool)out;
}

std::string scratchFolder(const std::string& name) {
  fs::path folder = fs::temp_directory_path() / name;
  removeFolder(folder.string());
  fs::create_directories(folder);
  return folder.string();
}

void removeFolder(const std::string& folder) {
  std::error_code ignored;
  fs::remove_all(folder, ignored);
}

std::string settingsSection(const std::string& section, const Keys& keys) {
  std::string text = "[" + section + "]\r\n";
  for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
  return text;
}

std::string savedSwitches(const std::string& section, bool plugin, bool startUp, bool autoOpen) {
  auto word = [](bool set) { return set ? "TRUE" : "FALSE"; };
  return settingsSection(section, {{"bDisabledPlugin", word(plugin)},
                                   {"bDisabledStartUp", word(startUp)},
                                   {"bDisabledAutoOpen", word(autoOpen)}});
}

long long bytesRead(const std::string& ioFile) {
  std::ifstream io(ioFile);
  std::string key;
  long long value = -1;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return -1;
}

}  // namespace kit
