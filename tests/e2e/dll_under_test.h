// The end-to-end program's command line: the path of the gen_tunelore.dll under test.
#pragma once

#include <string>

extern std::string builtDll;
