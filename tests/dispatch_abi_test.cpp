// Calls between objects of the player's interface shape across the two compilers: this
// program's (g++) and the player's, whose part the browser component's objects play (built
// by clang for the MSVC ABI on the Windows builds). One virtual function in the first vtable
// slot, thiscall on i686, arguments through an array of pointers, the result through retval.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "kit/browser_abi.h"
#include "kit/browser_component.h"
#include "kit/browser_numbers.h"

// The player's interface as the plug-in declares it, built by g++. Not in an unnamed
// namespace: g++ would see every class derived from it here and call Recorder's function
// directly where the test calls the player's object.
namespace dispatchabi {
class Dispatchable {
 public:
  virtual int __thiscall _dispatch(int code, void* retval, void** params, int count) = 0;
};
}  // namespace dispatchabi

namespace {

using browsercomponent::dispatchCall;
using dispatchabi::Dispatchable;
namespace numbers = browsernumbers;

const GUID SAMPLE_ID = {
    0x01234567, 0x89AB, 0xCDEF, {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE}};

Dispatchable* factory() { return (Dispatchable*)browserkit_object(FACTORY_SLOT); }

// A g++ object that records how it was called.
class Recorder : public Dispatchable {
 public:
  enum Code { SUM = 1, ECHO_GUID = 2, NOTHING_BACK = 3, ASK_THE_PLAYER = 4 };
  int __thiscall _dispatch(int code, void* retval, void** params, int count) override {
    seenThis = this;
    seenCount = count;
    retvalWasNull = retval == nullptr;
    switch (code) {
      case SUM:
        *(int*)retval = *(int*)params[0] + *(int*)params[1];
        return 1;
      case ECHO_GUID:
        *(GUID*)retval = *(GUID*)params[0];
        return 1;
      case NOTHING_BACK:
        return 1;
      case ASK_THE_PLAYER:  // a call back into the player's object while this one runs
        return factory()->_dispatch(numbers::factory::GET_GUID, retval, nullptr, 0);
      default:
        return 0;
    }
  }
  const void* seenThis = nullptr;
  int seenCount = -1;
  bool retvalWasNull = false;
};

std::string text(const GUID& id) {
  char formatted[40];
  snprintf(formatted, sizeof formatted, "%08X-%04X-%04X-%02X%02X", (unsigned)id.Data1, id.Data2,
           id.Data3, id.Data4[0], id.Data4[7]);
  return formatted;
}

TEST(DispatchAbi, CallsCrossBetweenThePlayersCompilerAndThePlugins) {
  Recorder plugin;
  // Each call, described as "<handled> <result>"; the recorder's view of the call is checked
  // for the calls that reach it.
  struct Crossing {
    const char* name;
    std::function<std::string()> call;
    std::string expected;
    int argumentsSeen;  // by the g++ object, -1 when the call does not reach it
  } crossings[] = {
      {"the player calls a plug-in object: two ints in, their sum back",
       [&] {
         int sum = 0;
         bool handled = dispatchCall(&plugin, Recorder::SUM, &sum, 40, 2);
         return std::to_string(handled) + " " + std::to_string(sum);
       },
       "1 42", 2},
      {"the player passes a GUID by value and gets a GUID back through retval",
       [&] {
         GUID back = {};
         bool handled = dispatchCall(&plugin, Recorder::ECHO_GUID, &back, SAMPLE_ID);
         return std::to_string(handled) + " " + text(back);
       },
       "1 " + text(SAMPLE_ID), 1},
      {"a void call: retval NULL, no arguments",
       [&] {
         bool handled = dispatchCall(&plugin, Recorder::NOTHING_BACK, nullptr);
         return std::to_string(handled) + " " + std::to_string(plugin.retvalWasNull);
       },
       "1 1", 0},
      {"an unknown code is left unhandled",
       [&] {
         int untouched = 7;
         bool handled = dispatchCall(&plugin, 999, &untouched, 1);
         return std::to_string(handled) + " " + std::to_string(untouched);
       },
       "0 7", 1},
      {"the plug-in calls the player's object: a GUID result through retval",
       [] {
         GUID id = {};
         int handled = factory()->_dispatch(numbers::factory::GET_GUID, &id, nullptr, 0);
         return std::to_string(handled) + " " + text(id);
       },
       "1 " + text(numbers::OBJ_OM_BROWSER), -1},
      {"the plug-in passes the player's object a GUID by value and gets a pointer back",
       [] {
         GUID id = numbers::OBJ_OM_BROWSER;
         void* params[] = {&id};
         void* found = nullptr;
         auto* api = (Dispatchable*)browserkit_object(SERVICE_API_SLOT);
         int handled = api->_dispatch(numbers::apiservice::GET_SERVICE_BY_GUID, &found, params, 1);
         return std::to_string(handled) + " " + std::to_string(found == factory());
       },
       "1 1", -1},
      {"and back: the player calls a plug-in object that calls the player's during the call",
       [&] {
         GUID id = {};
         bool handled = dispatchCall(&plugin, Recorder::ASK_THE_PLAYER, &id);
         return std::to_string(handled) + " " + text(id);
       },
       "1 " + text(numbers::OBJ_OM_BROWSER), 0},
  };
  for (const Crossing& crossing : crossings) {
    SCOPED_TRACE(crossing.name);
    plugin.seenThis = nullptr;
    plugin.seenCount = -1;
    EXPECT_EQ(crossing.call(), crossing.expected);
    if (crossing.argumentsSeen < 0) continue;
    EXPECT_EQ(plugin.seenThis, &plugin) << "the object is the one called";
    EXPECT_EQ(plugin.seenCount, crossing.argumentsSeen);
  }
}

}  // namespace
