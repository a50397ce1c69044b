// What two threads share: interlocked counts and critical sections.
#include <mutex>

#include "model_state.h"

LONG WINAPI InterlockedIncrement(LONG volatile* addend) {
  return __atomic_add_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

LONG WINAPI InterlockedDecrement(LONG volatile* addend) {
  return __atomic_sub_fetch(addend, 1, __ATOMIC_SEQ_CST);
}

static std::recursive_mutex& lockOf(LPCRITICAL_SECTION section) {
  return *(std::recursive_mutex*)section->LockSemaphore;
}

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION section) {
  section->LockSemaphore = new std::recursive_mutex;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION section) { lockOf(section).lock(); }
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION section) { lockOf(section).unlock(); }

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION section) {
  delete &lockOf(section);
  section->LockSemaphore = nullptr;
}
