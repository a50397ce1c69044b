// What the setup program's test needs around it: files and folders, registry values, the
// player's window, running a program to its end, and a small record of failed checks.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "kit/files.h"

namespace setuptest {

// --- checks: each failure is printed with the case it belongs to ---
void beginCase(const char* name);
bool endCase();  // true when the case had no failure
void fail(const char* file, int line, const std::string& what);

#define SETUP_CHECK(condition) \
  ((condition) ? (void)0 : ::setuptest::fail(__FILE__, __LINE__, #condition))
#define SETUP_CHECK_EQ(actual, expected)                                                 \
  (((actual) == (expected))                                                              \
       ? (void)0                                                                         \
       : ::setuptest::fail(__FILE__, __LINE__,                                           \
                           std::string(#actual) + " is \"" + ::setuptest::text(actual) + \
                               "\", expected \"" + ::setuptest::text(expected) + "\""))
inline std::string text(const std::string& value) { return value; }
inline std::string text(const char* value) { return value; }
template <typename Number>
std::string text(Number value) {
  return std::to_string(value);
}

// --- files ---
bool fileExists(const std::string& path);
using kit::readFile;
// kit::writeFile, in a folder made with every missing parent.
bool writeFile(const std::string& path, const std::string& content);
void removeTree(const std::string& path);
// Every file under folder, by path relative to it, with its content.
std::map<std::string, std::string> snapshot(const std::string& folder);
std::string tempFolder();     // with a trailing backslash
std::string appDataFolder();  // the user's roaming application data, no trailing backslash

// --- registry (the 32-bit view, as the player's own installer writes it) ---
bool readString(HKEY root, const std::string& key, const std::string& name, std::string* value);
bool readDword(HKEY root, const std::string& key, const std::string& name, DWORD* value);
bool writeString(HKEY root, const std::string& key, const std::string& name,
                 const std::string& value);
bool keyExists(HKEY root, const std::string& key);
void deleteKey(HKEY root, const std::string& key);  // a key without subkeys

// --- the player and the programs under test ---
// A window of the class the player's main window has, for as long as the object lives.
class PlayerWindow {
 public:
  PlayerWindow();
  ~PlayerWindow();
  bool open() const { return window != nullptr; }

 private:
  HWND window;
};
// Runs commandLine to its end, answering window messages meanwhile; its exit code, or -1
// when it could not start.
long runToEnd(const std::string& commandLine);

}  // namespace setuptest
