# shapelib (Debian libshp-dev) reads the chart's land outlines. It is found
# by its header and library, as navorix::shapelib.
find_path(SHAPELIB_INCLUDE_DIR shapefil.h)
find_library(SHAPELIB_LIBRARY NAMES shp)
if(NOT SHAPELIB_INCLUDE_DIR OR NOT SHAPELIB_LIBRARY)
  message(FATAL_ERROR "shapelib not found: apt-get install libshp-dev")
endif()
add_library(navorix_shapelib INTERFACE)
add_library(navorix::shapelib ALIAS navorix_shapelib)
target_include_directories(navorix_shapelib SYSTEM INTERFACE ${SHAPELIB_INCLUDE_DIR})
target_link_libraries(navorix_shapelib INTERFACE ${SHAPELIB_LIBRARY})
