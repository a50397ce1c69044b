// Files and folders over the real file system, with the answers and error codes Windows
// gives: a missing file is ERROR_FILE_NOT_FOUND only when its folder exists, else
// ERROR_PATH_NOT_FOUND; a file without write permission for anyone carries the read-only
// attribute, which keeps it from being deleted even by root, as under Wine.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "model_state.h"

bool winmodel::folderOfExists(const std::string& path) {
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  struct stat info;
  return stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// Sets the error Windows reports for a path that could not be used, from the Linux one.
void failWith(int linuxError, const std::string& path) {
  DWORD error = ERROR_ACCESS_DENIED;
  if (linuxError == ENOENT) {
    error = winmodel::folderOfExists(path) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
  }
  if (linuxError == ENOTDIR || linuxError == ENAMETOOLONG) error = ERROR_PATH_NOT_FOUND;
  if (linuxError == EEXIST) error = ERROR_ALREADY_EXISTS;
  SetLastError(error);
}

// As Wine maps it: no write permission for anyone is the read-only attribute.
bool readOnly(const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DWORD attributesOf(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (readOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
}

// A Windows path on the host and what stat says of it; `found` false with Windows' error set.
struct Entry {
  std::string path;
  struct stat info;
  bool found;
};

Entry entryOf(LPCSTR windowsPath) {
  Entry entry;
  entry.path = winmodel::hostPath(windowsPath);
  entry.found = stat(entry.path.c_str(), &entry.info) == 0;
  if (!entry.found) failWith(errno, entry.path);
  return entry;
}

}  // namespace

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
  Entry entry = entryOf(fileName);
  return entry.found ? attributesOf(entry.info) : INVALID_FILE_ATTRIBUTES;
}

// The time as Wine converts a Linux one: seconds since 1970 moved to 1601, plus the
// nanoseconds in 100 ns steps.
BOOL WINAPI GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS, LPVOID information) {
  Entry entry = entryOf(fileName);
  if (!entry.found) return FALSE;
  const struct stat& info = entry.info;
  uint64_t size = S_ISDIR(info.st_mode) ? 0 : (uint64_t)info.st_size;
  uint64_t ticks = ((uint64_t)info.st_mtim.tv_sec + 11644473600ULL) * 10000000ULL +
                   (uint64_t)info.st_mtim.tv_nsec / 100;
  WIN32_FILE_ATTRIBUTE_DATA data = {
      attributesOf(info), {(DWORD)ticks, (DWORD)(ticks >> 32)}, (DWORD)(size >> 32), (DWORD)size};
  memcpy(information, &data, sizeof data);
  return TRUE;
}

// Only the read-only attribute has a meaning here: it takes every write permission away.
BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
  Entry entry = entryOf(fileName);
  if (!entry.found) return FALSE;
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0
                    ? entry.info.st_mode & ~(mode_t)(S_IWUSR | S_IWGRP | S_IWOTH)
                    : entry.info.st_mode | S_IWUSR;
  return chmod(entry.path.c_str(), mode & 07777) == 0 ? TRUE : FALSE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
  std::string path = winmodel::hostPath(pathName);
  if (mkdir(path.c_str(), 0777) == 0) return TRUE;
  failWith(errno, path);
  return FALSE;
}

// Folders are not files: Windows refuses them with access denied, as it does read-only files.
BOOL WINAPI DeleteFileA(LPCSTR fileName) {
  Entry entry = entryOf(fileName);
  if (!entry.found) return FALSE;
  if (S_ISDIR(entry.info.st_mode) || readOnly(entry.info)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlink(entry.path.c_str()) != 0) {
    failWith(errno, entry.path);
    return FALSE;
  }
  return TRUE;
}
