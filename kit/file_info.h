// The player's answer to IPC_GET_EXTENDED_FILE_INFO: what its decoder read from the file
// the request names, written into the caller's buffer as the entry's answer says.
#pragma once

#include <windows.h>

#include <vector>

#include "kit/model_player.h"
#include "kit/player_numbers.h"

namespace modelplayer {

LRESULT answerFileInfo(const playernumbers::ExtendedFileInfo* query,
                       const std::vector<Entry>& playlist);
// Forgets the requests infoRequests() lists (at stop).
void forgetInfoRequests();

}  // namespace modelplayer
