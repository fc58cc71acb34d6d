// Reading an entry database into entries with their snapshots: the reader of the list
// commands, of the recent files, of reload and of the exit database.
#pragma once

#include <cstddef>
#include <string>

#include "app/database/ado_query.h"
#include "app/listfile/listfile_io.h"

namespace app {

enum class DatabaseReadStatus {
  Missing,       // no such file: nothing happens
  NotADatabase,  // no database, or no table with the three columns: say so, change nothing
  Empty,         // the table holds no record: the rows stay as they are
  Read,          // `list` holds the records (perhaps not all: see `problem`)
};

struct DatabaseReadResult {
  DatabaseReadStatus status = DatabaseReadStatus::Missing;
  ListReadResult list;    // entries and their snapshots, in table order
  std::u16string problem; // not empty when the records could not all be read: what to show
  bool complete() const { return problem.empty() && !list.tooMany; }
};

// More than this many bytes of texts and snapshots are not taken from one database: a
// 32-bit process holds the list beside what it reads.
inline constexpr std::size_t kMaxDatabaseReadBytes = std::size_t(384) << 20;

// Reads the file through the connection and query (the main window's ADOConnection1 and
// ADOQuery1), read only: the file is never created or changed. An entry whose "liuyou" is
// set keeps the bytes of "liu" as its snapshot (when they are a snapshot stream) and, when
// its text is not empty, takes its text from the snapshot's text formats.
DatabaseReadResult ReadEntryDatabase(const std::u16string& file, TADOConnection& connection, TADOQuery& query,
                                     std::size_t maxBytes = kMaxDatabaseReadBytes);

}  // namespace app
