// The player's object interface: every object the player and its components hand across is a
// class with exactly one virtual function, in the first slot of its vtable, built by the
// player's compiler (Microsoft's: thiscall on 32-bit x86). Arguments travel as an array of
// pointers to their values; the result is written through `retval`.
#pragma once

#include <windows.h>

#if defined(_WIN32) && !defined(_WIN64)
#define DISPATCH_CALL __thiscall
#else
#define DISPATCH_CALL
#endif

// The codes every object answers.
#define DISPATCH_ADDREF (-1)
#define DISPATCH_RELEASE (-2)
#define DISPATCH_QUERYINTERFACE (-3)

// No virtual destructor and nothing ahead of `_dispatch`: either would move it out of the slot
// the player calls. Objects are never deleted through this type.
class Dispatchable {
 public:
  // Returns 1 when `code` was handled, 0 when it is unknown (the caller then takes the method's
  // default: 0, null or E_NOTIMPL).
  virtual int DISPATCH_CALL _dispatch(int code, void* retval, void** params, int count) = 0;

 protected:
  ~Dispatchable() = default;
};

// Calls `code` on `object` with the arguments as pointers to their values; `result` keeps its
// value when the code is not handled, so callers set the method's default first.
template <typename Result, typename... Arguments>
bool dispatchCall(Dispatchable* object, int code, Result* result, Arguments*... arguments) {
  void* params[] = {(void*)arguments..., nullptr};
  int count = (int)sizeof...(arguments);
  return object->_dispatch(code, result, count > 0 ? params : nullptr, count) != 0;
}

// The argument at `index` as its declared type, or null when the caller passed fewer.
template <typename Type>
Type* dispatchArgument(void** params, int count, int index) {
  return params != nullptr && index < count ? (Type*)params[index] : nullptr;
}

// Writes a method's result where the caller asked for one (void methods pass no `retval`).
template <typename Type>
void dispatchResult(void* retval, Type value) {
  if (retval != nullptr) *(Type*)retval = value;
}
