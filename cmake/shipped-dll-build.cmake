# The DLL as shipped, for a build whose own toolchain is not the shipped one: the wine32
# preset's test programs need the posix thread model (GoogleTest uses std::mutex), the shipped
# DLL has the win32 one. Where the shipped DLL's own build is configured
# (TUNELORE_SHIPPED_DLL_BUILD, the win32 preset's folder), the DLL is brought up to date there
# and tested as that build made it; otherwise the same sources are configured once more, in
# <build>/shipped-dll, with the toolchain file's defaults (as the win32 preset has them) and
# no tests, and only the DLL is built there. gen_tunelore here names that file, as it names
# the DLL elsewhere.
include(ExternalProject)
set(TUNELORE_SHIPPED_DLL_BUILD "" CACHE PATH
  "The shipped DLL's own build folder, used when configured; empty: one inside this build")
if(TUNELORE_SHIPPED_DLL_BUILD AND EXISTS ${TUNELORE_SHIPPED_DLL_BUILD}/CMakeCache.txt)
  set(_shipped_dir ${TUNELORE_SHIPPED_DLL_BUILD})
  set(_shipped_configure CONFIGURE_COMMAND ${CMAKE_COMMAND} -E true)
  message(STATUS "The shipped DLL: built by ${_shipped_dir}")
else()
  set(_shipped_dir ${CMAKE_BINARY_DIR}/shipped-dll)
  set(_shipped_configure CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-i686-w64-mingw32.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -DTUNELORE_TESTS=OFF)
  message(STATUS "The shipped DLL: built in ${_shipped_dir}")
endif()
ExternalProject_Add(shipped_dll
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${_shipped_dir}
  PREFIX ${CMAKE_BINARY_DIR}/shipped-dll-steps
  ${_shipped_configure}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target gen_tunelore
  # Its own build decides what changed in the shared sources.
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${_shipped_dir}/gen_tunelore.dll
  INSTALL_COMMAND "")
add_library(gen_tunelore SHARED IMPORTED GLOBAL)
set_target_properties(gen_tunelore PROPERTIES IMPORTED_LOCATION ${_shipped_dir}/gen_tunelore.dll)
add_dependencies(gen_tunelore shipped_dll)
