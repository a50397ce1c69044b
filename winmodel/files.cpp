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

namespace {

bool folderExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string parentOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Sets the error Windows reports for a path that could not be used, from the Linux one.
void failWith(int linuxError, const std::string& path) {
  if (linuxError == ENOENT) {
    SetLastError(folderExists(parentOf(path)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
  } else if (linuxError == ENOTDIR || linuxError == ENAMETOOLONG) {
    SetLastError(ERROR_PATH_NOT_FOUND);
  } else {
    SetLastError(ERROR_ACCESS_DENIED);
  }
}

// As Wine maps it: no write permission for anyone is the read-only attribute.
bool readOnly(const struct stat& info) {
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

DWORD attributesOf(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  return FILE_ATTRIBUTE_ARCHIVE | (readOnly(info) ? FILE_ATTRIBUTE_READONLY : 0);
}

// As Wine converts a Linux time: seconds since 1970 moved to 1601, plus the nanoseconds in
// 100 ns steps.
FILETIME fileTimeOf(const struct timespec& time) {
  const uint64_t SECONDS_1601_TO_1970 = 11644473600ULL;
  uint64_t ticks =
      ((uint64_t)time.tv_sec + SECONDS_1601_TO_1970) * 10000000ULL + (uint64_t)time.tv_nsec / 100;
  return FILETIME{(DWORD)ticks, (DWORD)(ticks >> 32)};
}

// The host path of a Windows one and what stat says of it; false with Windows' error set.
bool statOf(LPCSTR windowsPath, std::string* path, struct stat* info) {
  *path = winmodel::hostPath(windowsPath);
  if (stat(path->c_str(), info) == 0) return true;
  failWith(errno, *path);
  return false;
}

}  // namespace

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
  std::string path;
  struct stat info;
  if (!statOf(fileName, &path, &info)) return INVALID_FILE_ATTRIBUTES;
  return attributesOf(info);
}

// Linux keeps no creation time in struct stat; Wine then reports the change time, as here.
BOOL WINAPI GetFileAttributesExA(LPCSTR fileName, GET_FILEEX_INFO_LEVELS level,
                                 LPVOID information) {
  if (level != GetFileExInfoStandard) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string path;
  struct stat info;
  if (!statOf(fileName, &path, &info)) return FALSE;
  uint64_t size = S_ISDIR(info.st_mode) ? 0 : (uint64_t)info.st_size;
  WIN32_FILE_ATTRIBUTE_DATA data = {attributesOf(info),       fileTimeOf(info.st_ctim),
                                    fileTimeOf(info.st_atim), fileTimeOf(info.st_mtim),
                                    (DWORD)(size >> 32),      (DWORD)size};
  memcpy(information, &data, sizeof data);
  return TRUE;
}

// Only the read-only attribute has a meaning here: it takes every write permission away.
BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
  std::string path;
  struct stat info;
  if (!statOf(fileName, &path, &info)) return FALSE;
  mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0
                    ? info.st_mode & ~(mode_t)(S_IWUSR | S_IWGRP | S_IWOTH)
                    : info.st_mode | S_IWUSR;
  return chmod(path.c_str(), mode & 07777) == 0 ? TRUE : FALSE;
}

BOOL WINAPI CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
  std::string path = winmodel::hostPath(pathName);
  if (mkdir(path.c_str(), 0777) == 0) return TRUE;
  if (errno == EEXIST) {
    SetLastError(ERROR_ALREADY_EXISTS);
  } else {
    failWith(errno, path);
  }
  return FALSE;
}

// Folders are not files: Windows refuses them with access denied, as it does read-only files.
BOOL WINAPI DeleteFileA(LPCSTR fileName) {
  std::string path;
  struct stat info;
  if (!statOf(fileName, &path, &info)) return FALSE;
  if (S_ISDIR(info.st_mode) || readOnly(info)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (unlink(path.c_str()) != 0) {
    failWith(errno, path);
    return FALSE;
  }
  return TRUE;
}
