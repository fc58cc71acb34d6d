# SQLite, the engine behind the entry database: target quill_sqlite3.
# Natively Debian's libsqlite3-dev; for Windows the static library that scripts/setup
# cross-builds from Debian's source package of the same version and caches below
# $QUILL_CACHE (scripts/build-sqlite3-win32).
if(TARGET quill_sqlite3)
  return()
endif()
add_library(quill_sqlite3 INTERFACE)
if(WIN32)
  if(NOT QUILL_SQLITE3_WIN32_DIR)
    if(DEFINED ENV{QUILL_CACHE})
      set(cache "$ENV{QUILL_CACHE}")
    elseif(DEFINED ENV{XDG_CACHE_HOME})
      set(cache "$ENV{XDG_CACHE_HOME}/quillora")
    else()
      set(cache "$ENV{HOME}/.cache/quillora")
    endif()
    execute_process(COMMAND dpkg-query -W -f=\${Version} libsqlite3-dev
                    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "libsqlite3-dev is not installed: run scripts/setup")
    endif()
    set(QUILL_SQLITE3_WIN32_DIR "${cache}/sqlite3-win32/${version}" CACHE PATH
        "The cross-built SQLite (include/, lib/libsqlite3.a)")
  endif()
  if(NOT EXISTS "${QUILL_SQLITE3_WIN32_DIR}/lib/libsqlite3.a")
    message(FATAL_ERROR "No cross-built SQLite in ${QUILL_SQLITE3_WIN32_DIR}: run scripts/setup")
  endif()
  target_include_directories(quill_sqlite3 SYSTEM INTERFACE "${QUILL_SQLITE3_WIN32_DIR}/include")
  target_link_libraries(quill_sqlite3 INTERFACE "${QUILL_SQLITE3_WIN32_DIR}/lib/libsqlite3.a")
else()
  find_package(SQLite3 REQUIRED)
  target_link_libraries(quill_sqlite3 INTERFACE SQLite::SQLite3)
endif()
