#include "kit/file_info.h"

#include <algorithm>
#include <cstring>

namespace modelplayer {

using playernumbers::ExtendedFileInfo;
namespace infokey = playernumbers::infokey;

static std::vector<InfoRequest> requests;
static bool isUrl(const std::string& path) { return path.find("://") != std::string::npos; }

// The decoder reads the file the request names, whichever entry lists it.
static const Entry* entryForFile(const std::vector<Entry>& playlist, const char* file) {
  for (const Entry& entry : playlist) {
    if (entry.hasPath && entry.path == file) return &entry;
  }
  return nullptr;
}

// A URL has no title, artist or album of its own: only the stream's title is known.
static const std::string* valueFor(const Entry& entry, const std::string& key) {
  if (isUrl(entry.path) && key != infokey::STREAM_TITLE) return nullptr;
  auto found = entry.info.find(key);
  return found == entry.info.end() ? nullptr : &found->second;
}

static void writeTerminated(char* buffer, size_t size, const std::string& value) {
  if (size == 0) return;
  size_t kept = std::min(value.size(), size - 1);
  memcpy(buffer, value.data(), kept);
  buffer[kept] = '\0';
}

static void fillUnterminated(char* buffer, size_t size, const std::string& value) {
  for (size_t i = 0; i < size; ++i) buffer[i] = i < value.size() ? value[i] : INFO_FILLER;
}

static LRESULT answerWith(InfoAnswer answer, const ExtendedFileInfo& query,
                          const std::string& value) {
  switch (answer) {
    case InfoAnswer::Writes:
      writeTerminated(query.ret, query.retlen, value);
      return 1;
    case InfoAnswer::ZeroAfterWriting:
      writeTerminated(query.ret, query.retlen, value);
      return 0;
    case InfoAnswer::OneWithoutWriting:
      return 1;
    case InfoAnswer::FillsUnterminated:
      fillUnterminated(query.ret, query.retlen, value);
      return 1;
  }
  return 0;
}

LRESULT answerFileInfo(const ExtendedFileInfo* query, const std::vector<Entry>& playlist) {
  if (query == nullptr) return 0;
  std::string key = query->metadata != nullptr ? query->metadata : "";
  requests.push_back({query->filename != nullptr ? query->filename : "", key});
  const Entry* entry =
      query->filename != nullptr ? entryForFile(playlist, query->filename) : nullptr;
  const std::string* value = entry != nullptr ? valueFor(*entry, key) : nullptr;
  if (value == nullptr || query->ret == nullptr) return 0;
  return answerWith(entry->infoAnswer, *query, *value);
}

const std::vector<InfoRequest>& infoRequests() { return requests; }
void forgetInfoRequests() { requests.clear(); }

}  // namespace modelplayer
