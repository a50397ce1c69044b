# The plug-in's layers, bottom to top. Each is a static library; its headers are included as
# "<layer>/name.h" through an include folder that holds nothing but a link to the layer, and
# only the layer itself and the layers linked above it get that folder. An include that
# points upward therefore fails to build.
#
#   tunelore_layer(<name> BELOW <layers...> SOURCES <files...>)
#     <name>    a folder of src/, and the library tunelore_<name>
#     BELOW     the layers it builds on (their include folders come with them)
include_guard(GLOBAL)

set(TUNELORE_LAYER_VIEWS ${CMAKE_BINARY_DIR}/layers)

# The project's facts, for every layer and the resource scripts.
configure_file(${CMAKE_CURRENT_LIST_DIR}/product.h.in ${TUNELORE_LAYER_VIEWS}/product/product.h)
add_library(tunelore_product INTERFACE)
target_include_directories(tunelore_product INTERFACE ${TUNELORE_LAYER_VIEWS}/product)

function(tunelore_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 LAYER "" "" "BELOW;SOURCES")
  set(view ${TUNELORE_LAYER_VIEWS}/${name})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${name} ${view}/${name} SYMBOLIC)
  list(TRANSFORM LAYER_SOURCES PREPEND ${PROJECT_SOURCE_DIR}/src/${name}/)
  add_library(tunelore_${name} STATIC ${LAYER_SOURCES})
  target_include_directories(tunelore_${name} PUBLIC ${view})
  target_compile_options(tunelore_${name} PRIVATE -Wall -Wextra -Wshadow)
  list(TRANSFORM LAYER_BELOW PREPEND tunelore_)
  target_link_libraries(tunelore_${name} PUBLIC tunelore_product ${LAYER_BELOW})
endfunction()
