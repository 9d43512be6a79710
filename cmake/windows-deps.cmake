# What the Windows build takes instead of the Linux packages: SQLite from its
# amalgamation (H5_SQLITE_DIR, fetched by scripts/build-windows.sh), the
# header-only JSON library from the Linux side, GoogleTest from its sources.
enable_language(C)

set(H5_SQLITE_DIR "" CACHE PATH "Folder holding the SQLite amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS "${H5_SQLITE_DIR}/sqlite3.c" OR NOT EXISTS "${H5_SQLITE_DIR}/sqlite3.h")
  message(FATAL_ERROR "H5_SQLITE_DIR must name a folder with sqlite3.c and sqlite3.h "
                      "(scripts/build-windows.sh fetches them)")
endif()
add_library(h5_sqlite3 STATIC "${H5_SQLITE_DIR}/sqlite3.c")
target_include_directories(h5_sqlite3 SYSTEM PUBLIC "${H5_SQLITE_DIR}")
# Serialized threading, as Debian's libsqlite3 is built: the engine serves
# several threads.
target_compile_definitions(h5_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
target_compile_options(h5_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS h5_sqlite3)

# Only the JSON headers are taken from the Linux system, through a folder
# that holds nothing else: the rest of /usr/include is not for this target.
set(H5_JSON_INCLUDE "${CMAKE_BINARY_DIR}/_deps/json")
file(MAKE_DIRECTORY "${H5_JSON_INCLUDE}")
if(NOT EXISTS "${H5_JSON_INCLUDE}/nlohmann")
  file(CREATE_LINK /usr/include/nlohmann "${H5_JSON_INCLUDE}/nlohmann" SYMBOLIC)
endif()
add_library(h5_json INTERFACE)
target_include_directories(h5_json SYSTEM INTERFACE "${H5_JSON_INCLUDE}")
add_library(nlohmann_json::nlohmann_json ALIAS h5_json)

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
