// The crossing between the browser component's objects, built as the player's compiler
// builds them (kit/browser_objects.cpp: clang's MSVC target on the Windows builds), and the
// kit code behind them. Only C functions, ints and pointers cross it, and this header
// includes nothing, since that side is built without any.
#pragma once

// The component's objects, by slot: the service API, the browser factory, then each browser
// object and, after all of them, each one's event manager.
enum {
  BROWSER_OBJECTS_LIMIT = 16,
  SERVICE_API_SLOT = 0,
  FACTORY_SLOT = 1,
  FIRST_BROWSER_SLOT = 2,
  FIRST_EVENT_MANAGER_SLOT = FIRST_BROWSER_SLOT + BROWSER_OBJECTS_LIMIT,
  COMPONENT_SLOTS = FIRST_EVENT_MANAGER_SLOT + BROWSER_OBJECTS_LIMIT,
};

extern "C" {
// Built as the player's compiler builds them:
// the object in `slot`, or null outside the slots;
void* browserkit_object(int slot);
// a call of `object`'s _dispatch through its vtable, as the player's code calls one.
int browserkit_call(void* object, int code, void* retval, void** params, int count);

// In the kit: every call the component's objects receive.
int browserkit_received(int slot, int code, void* retval, void** params, int count);
}
