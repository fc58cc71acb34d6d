// Writing entries to a new entry database: the writers of the whole list, of one entry and
// of the exit database. The database is built beside the target from the template, every
// record in one transaction, and replaces the target only when it is complete.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/database/ado_query.h"
#include "app/snapshot/snapshot_buffer.h"

namespace app {

struct DatabaseRecord {
  std::u16string_view text;
  SharedSnapshot snapshot;  // null: "liuyou" 0 and no "liu"
};

enum class DatabaseWriteStatus { Written, TemplateMissing, Failed };

struct DatabaseWriteResult {
  DatabaseWriteStatus status = DatabaseWriteStatus::Written;
  std::u16string message;  // what to show when not written
  std::u16string reason;   // why, in the system's or the engine's words
  bool ok() const { return status == DatabaseWriteStatus::Written; }
};

// Writes the records, in order, as the table of a copy of `templateFile`, and puts that
// copy in place of `target` (clearing a read-only target first). On any failure the
// target is as it was and the temporary database is gone.
DatabaseWriteResult WriteEntryDatabase(const std::u16string& target, const std::u16string& templateFile,
                                       std::span<const DatabaseRecord> records, TADOConnection& connection,
                                       TADOQuery& query);

}  // namespace app
