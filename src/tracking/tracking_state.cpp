#include "tracking/tracking_state.h"

#include <windows.h>

TrackingState tracking;

void resetTracking() { ZeroMemory(&tracking, sizeof tracking); }
