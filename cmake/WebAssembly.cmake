# The core and its tests built with em++ for node (make web-core-test).
#
# The host's CMake packages point at /usr/include, whose C library headers are
# not WebAssembly's; so nlohmann/json is used from a copy of its own header
# folder, and GoogleTest is built here from its sources.

find_path(KESTRANE_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${KESTRANE_NLOHMANN_INCLUDE}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/web-include)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/web-include)

# Exceptions are caught (the JSON reader and std::filesystem throw), where
# em++ would otherwise abort at the first throw.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# em++ runs its JavaScript optimiser under node when it links, which finds
# Debian's acorn only when told where node packages are.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# The tests run under node with the real file system (they make folders in
# /tmp and read examples/), a memory that grows, and the WebAssembly inside
# the .js file: node 20 would otherwise try to fetch it as a URL and fail.
# tests/CMakeLists.txt links its programs with these; the page has its own.
set(KESTRANE_NODE_LINK_OPTIONS -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1 -sSINGLE_FILE=1)

if(KESTRANE_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
