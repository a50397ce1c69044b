// The browser component's objects and its calls into other objects, as the player's compiler
// builds them. On the Windows builds this file is compiled by clang for the MSVC C++ ABI
// (thiscall on i686, MSVC's vtables) and linked into the MinGW programs, so every call
// between the component and the plug-in crosses the two compilers as it does in the player.
// It uses no headers, no C runtime and no dynamic initialisation; what the objects do is
// kit code behind browserkit_received.
#include "kit/browser_abi.h"

#if defined(_M_IX86)
#define DISPATCH_CONVENTION __thiscall
#else
#define DISPATCH_CONVENTION
#endif
#if defined(__clang__)
#define CONSTANT_INITIALISED [[clang::require_constant_initialization]]
#else
#define CONSTANT_INITIALISED
#endif

namespace browserkit {

// The player's interface shape: one virtual function in the first vtable slot, no virtual
// destructor. Any object of that shape, the plug-in's among them, is called through it. Its
// name is not local to this file: a compiler that saw every class of an interface could call
// the one it knows directly instead of through the vtable.
class Dispatchable {
 public:
  virtual int DISPATCH_CONVENTION _dispatch(int code, void* retval, void** params, int count) = 0;
};

}  // namespace browserkit

namespace {

class ComponentObject {
 public:
  virtual int DISPATCH_CONVENTION _dispatch(int code, void* retval, void** params, int count);
};

// Each object knows only its slot, which is its place in this array.
CONSTANT_INITIALISED ComponentObject objects[COMPONENT_SLOTS];

int DISPATCH_CONVENTION ComponentObject::_dispatch(int code, void* retval, void** params,
                                                   int count) {
  return browserkit_received((int)(this - objects), code, retval, params, count);
}

}  // namespace

extern "C" void* browserkit_object(int slot) {
  return slot >= 0 && slot < COMPONENT_SLOTS ? &objects[slot] : 0;
}

extern "C" int browserkit_call(void* object, int code, void* retval, void** params, int count) {
  return static_cast<browserkit::Dispatchable*>(object)->_dispatch(code, retval, params, count);
}
