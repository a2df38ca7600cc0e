# Shared compile settings: every target of the project links these two
# interface targets instead of repeating flags.
if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

# Checked builds (setup.sh test runs both): NAVORIX_SANITIZE builds
# everything under AddressSanitizer and UndefinedBehaviorSanitizer, stopping
# at the first finding; NAVORIX_FUZZ (clang only) does the same and also
# instruments the code for libFuzzer, for the targets in tests/fuzz.
option(NAVORIX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(NAVORIX_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
if(NAVORIX_SANITIZE OR NAVORIX_FUZZ)
  set(navorix_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${navorix_sanitizers})
  add_link_options(-fsanitize=address,undefined)
  # Tests that load system libraries (Qt, D-Bus) add this to their
  # environment; see the file for what it lets pass.
  set(NAVORIX_SANITIZER_ENV
      "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/sanitizer/lsan.supp")
endif()
if(NAVORIX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "NAVORIX_FUZZ needs clang (e.g. -DCMAKE_CXX_COMPILER=clang++-14)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

add_library(navorix_options INTERFACE)
add_library(navorix::options ALIAS navorix_options)
target_compile_features(navorix_options INTERFACE cxx_std_20)
set_target_properties(navorix_options PROPERTIES INTERFACE_CXX_EXTENSIONS OFF)

# Headers are included by their folder: "geometry/vector.h". A library sees
# its own folder and, through the libraries it links, the folders of the
# floors below it, never those above: each library's include root in the
# build tree holds one link, to its own folder. Tests, benchmarks, fuzz
# targets and tools stand on top of everything and see the whole tree.
add_library(navorix_whole_tree INTERFACE)
add_library(navorix::whole_tree ALIAS navorix_whole_tree)
target_include_directories(navorix_whole_tree INTERFACE ${PROJECT_SOURCE_DIR})

# navorix_include_root(TARGET FOLDER): TARGET and whatever links it see the
# headers of FOLDER as "FOLDER/name.h".
function(navorix_include_root target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${target} PRIVATE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

add_library(navorix_warnings INTERFACE)
add_library(navorix::warnings ALIAS navorix_warnings)
# The test mode of setup.sh (and so the continuous integration) turns every
# warning into an error.
option(NAVORIX_WERROR "Treat compiler warnings as errors" OFF)
if(NAVORIX_WERROR)
  target_compile_options(navorix_warnings INTERFACE -Werror)
endif()
# -Wconversion and -Wdouble-promotion catch a stray double in the geometry.
target_compile_options(navorix_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wdouble-promotion
  -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual)

# navorix_library(NAME [FOLDER folder] SOURCES... [DEPS ...]) : one library
# per subsystem folder (by default the folder NAME), exported as
# navorix::NAME.
function(navorix_library name)
  cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_FOLDER)
    set(ARG_FOLDER ${name})
  endif()
  add_library(navorix_${name} STATIC ${ARG_SOURCES})
  add_library(navorix::${name} ALIAS navorix_${name})
  navorix_include_root(navorix_${name} ${ARG_FOLDER})
  target_link_libraries(navorix_${name}
    PUBLIC navorix::options ${ARG_DEPS}
    PRIVATE navorix::warnings)
endfunction()

# navorix_debian_library(NAME LABEL HEADER PACKAGE LIBRARIES...) : a library
# Debian ships without a CMake package file, found by its header and its
# library as navorix::NAME; a missing one stops the configuration and names
# the package to install.
function(navorix_debian_library name label header package)
  string(TOUPPER ${name} upper)
  find_path(${upper}_INCLUDE_DIR ${header})
  find_library(${upper}_LIBRARY NAMES ${ARGN})
  if(NOT ${upper}_INCLUDE_DIR OR NOT ${upper}_LIBRARY)
    message(FATAL_ERROR "${label} not found: apt-get install ${package}")
  endif()
  add_library(navorix_${name} INTERFACE)
  add_library(navorix::${name} ALIAS navorix_${name})
  target_include_directories(navorix_${name} SYSTEM INTERFACE ${${upper}_INCLUDE_DIR})
  target_link_libraries(navorix_${name} INTERFACE ${${upper}_LIBRARY})
endfunction()
