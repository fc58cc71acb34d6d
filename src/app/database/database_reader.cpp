#include "app/database/database_reader.h"

#include <filesystem>

#include "app/database/database_texts.h"
#include "app/history/history_store.h"
#include "app/snapshot/snapshot_stream.h"

namespace app {

namespace {

bool HasTable(const TADOConnection& connection) {
  for (const std::u16string& name : connection.GetTableNames()) {
    if (name == dbtext::kTableName) return true;
  }
  return false;
}

// The snapshot of a record whose flag is set: its bytes when they are a whole stream.
SharedSnapshot RecordSnapshot(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || !ValidateSnapshot(bytes).valid) return nullptr;
  return SnapshotBuffer::Make(bytes);
}

}  // namespace

DatabaseReadResult ReadEntryDatabase(const std::u16string& file, TADOConnection& connection, TADOQuery& query,
                                     std::size_t maxBytes) {
  DatabaseReadResult result;
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::path(file), error)) return result;

  struct Closer {
    TADOConnection& connection;
    TADOQuery& query;
    ~Closer() {
      query.Close();
      connection.Close();
    }
  } closer{connection, query};

  result.status = DatabaseReadStatus::NotADatabase;
  TField* text = nullptr;
  TField* flag = nullptr;
  TField* snapshot = nullptr;
  try {
    connection.Close();
    connection.ConnectionString = DatabaseConnectionString(file);
    connection.Mode = TConnectMode::cmRead;
    connection.Open();
    if (!HasTable(connection)) return result;
    query.Connection = &connection;
    query.SQL = std::u16string(dbtext::kQuery);
    query.Open();
    text = query.FindField(dbtext::kTextField);
    flag = query.FindField(dbtext::kFlagField);
    snapshot = query.FindField(dbtext::kSnapshotField);
    if (!text || !flag || !snapshot) return result;
  } catch (const EDatabaseError&) {
    return result;
  }
  if (query.Eof()) {
    result.status = DatabaseReadStatus::Empty;
    return result;
  }

  result.status = DatabaseReadStatus::Read;
  std::vector<std::u16string>& entries = result.list.entries;
  std::vector<SharedSnapshot>& snapshots = result.list.snapshots;
  std::size_t bytes = 0;
  try {
    for (; !query.Eof(); query.Next()) {
      const int r = static_cast<int>(entries.size());
      if (r >= StoreSlots) {
        result.list.tooMany = true;
        result.list.messages.push_back(ListMessage::TooManyEntries);
        break;
      }
      std::u16string entryText = text->AsString();
      SharedSnapshot entrySnapshot = flag->AsBoolean() ? RecordSnapshot(snapshot->AsBytes()) : nullptr;
      bytes += entryText.size() * sizeof(char16_t) + (entrySnapshot ? entrySnapshot->size() : 0);
      if (bytes > maxBytes) {
        result.problem = dbtext::TooMuchDataText(r);
        break;
      }
      if (!entryText.empty() && entrySnapshot) {
        if (std::optional<std::u16string> whole = SnapshotUnicodeText(entrySnapshot->span())) {
          entryText = std::move(*whole);
        }
      }
      entries.push_back(std::move(entryText));
      snapshots.push_back(std::move(entrySnapshot));
    }
  } catch (const EDatabaseError&) {
    if (entries.empty()) {
      result = DatabaseReadResult{};
      result.status = DatabaseReadStatus::NotADatabase;
      return result;
    }
    result.problem = dbtext::DamagedDatabaseText(static_cast<int>(entries.size()));
  } catch (const std::bad_alloc&) {
    result.problem = dbtext::TooMuchDataText(static_cast<int>(entries.size()));
  }
  return result;
}

}  // namespace app
