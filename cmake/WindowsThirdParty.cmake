# Debian has no SQLite, JSON or GoogleTest packages for mingw. The cross-build
# takes them from sources on this machine instead:
# - SQLite: the public-domain amalgamation that scripts/wintest fetches (pinned
#   version and checksum) into QM_SQLITE_SOURCE_DIR;
# - nlohmann/json: header-only, its Debian headers staged alone so that no other
#   Linux header lands on the Windows include path;
# - GoogleTest: Debian's googletest source package, built with the project.
enable_language(C)
set(QM_SQLITE_SOURCE_DIR "" CACHE PATH "Folder with the SQLite amalgamation (sqlite3.c, sqlite3.h)")
if(NOT EXISTS "${QM_SQLITE_SOURCE_DIR}/sqlite3.c")
  message(FATAL_ERROR "QM_SQLITE_SOURCE_DIR must name the SQLite amalgamation (scripts/wintest fetches it)")
endif()
add_library(qm_sqlite3 STATIC "${QM_SQLITE_SOURCE_DIR}/sqlite3.c")
target_include_directories(qm_sqlite3 SYSTEM PUBLIC "${QM_SQLITE_SOURCE_DIR}")
set_target_properties(qm_sqlite3 PROPERTIES LINKER_LANGUAGE C)
target_compile_definitions(qm_sqlite3 PRIVATE SQLITE_DQS=0 SQLITE_THREADSAFE=1)
target_compile_options(qm_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS qm_sqlite3)

set(QM_JSON_INCLUDE_DIR /usr/include/nlohmann CACHE PATH "nlohmann/json headers")
set(qm_json_stage "${CMAKE_BINARY_DIR}/third_party/include")
file(MAKE_DIRECTORY "${qm_json_stage}")
if(NOT EXISTS "${qm_json_stage}/nlohmann")
  file(CREATE_LINK "${QM_JSON_INCLUDE_DIR}" "${qm_json_stage}/nlohmann" SYMBOLIC)
endif()
add_library(qm_json INTERFACE)
target_include_directories(qm_json SYSTEM INTERFACE "${qm_json_stage}")
add_library(nlohmann_json::nlohmann_json ALIAS qm_json)

if(QM_BUILD_TESTS)
  set(QM_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory("${QM_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/third_party/googletest" EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest's own build names its targets GTest::gtest and so on already.
endif()
