#include "app/database/database_writer.h"

#include <filesystem>

#include "app/database/database_file.h"
#include "app/database/database_texts.h"
#include "app/files/atomic_file.h"
#include "app/files/file_error.h"
#include "unicode/codepage.h"
#include "unicode/system_error_text.h"
#include "unicode/uni_file_stream.h"

namespace app {

namespace fs = std::filesystem;

namespace {

// A template is an empty database: anything this large is not one.
constexpr std::size_t kMaxTemplateBytes = std::size_t(64) << 20;

void FillTable(std::span<const DatabaseRecord> records, TADOConnection& connection, TADOQuery& query) {
  // The template's journal would be a second file beside the temporary one; the temporary
  // database is thrown away whole when anything fails, so the journal stays in memory.
  connection.Execute(u"pragma journal_mode = memory");
  connection.BeginTrans();
  query.Connection = &connection;
  query.SQL = std::u16string(dbtext::kQuery);
  query.Open();
  query.Last();
  TField& text = query.FieldByName(dbtext::kTextField);
  TField& flag = query.FieldByName(dbtext::kFlagField);
  TField& snapshot = query.FieldByName(dbtext::kSnapshotField);
  for (const DatabaseRecord& record : records) {
    query.Append();
    flag.SetAsBoolean(record.snapshot != nullptr);
    if (record.snapshot) snapshot.LoadFromBytes(record.snapshot->span());
    text.SetAsString(record.text);
    query.Post();
  }
  query.Close();
  connection.CommitTrans();
}

}  // namespace

DatabaseWriteResult WriteEntryDatabase(const std::u16string& target, const std::u16string& templateFile,
                                       std::span<const DatabaseRecord> records, TADOConnection& connection,
                                       TADOQuery& query) {
  DatabaseWriteResult result;
  const FileReadResult copy = ReadFileBounded(fs::path(templateFile), kMaxTemplateBytes);
  if (copy.error || copy.truncated) {
    result.status = DatabaseWriteStatus::TemplateMissing;
    result.message = dbtext::TemplateMissingText(templateFile);
    return result;
  }
  RemoveStaleTemporaries(fs::path(target));
  const fs::path temporary = TemporaryNameBeside(fs::path(target));
  const std::u16string temporaryName = temporary.u16string();
  auto fail = [&](std::u16string_view reason) {
    query.Close();
    connection.Close();
    unicode::DeleteFileQuietly(temporaryName);
    result.status = DatabaseWriteStatus::Failed;
    result.reason = std::u16string(reason);
    result.message = dbtext::SaveFailedText(target, reason);
    return result;
  };
  if (const std::error_code error = WriteFileAtomically(temporary, copy.bytes)) {
    return fail(FileErrorReason(error));
  }
  if (!records.empty()) {
    try {
      connection.Close();
      connection.ConnectionString = DatabaseConnectionString(temporaryName);
      connection.Mode = TConnectMode::cmShareDenyNone;
      connection.Open();
      FillTable(records, connection, query);
      connection.Close();
    } catch (const EDatabaseError& e) {
      return fail(unicode::Utf8ToUtf16(e.what()));
    } catch (const std::bad_alloc&) {
      return fail(u"内存不足");
    }
  }
  const bool wasReadOnly = ClearReadOnly(fs::path(target));
  const std::error_code replaced = ReplaceWhenNotBusy(fs::path(target), [&] {
    return std::error_code(unicode::ReplaceFileWith(temporaryName, target), std::system_category());
  });
  if (replaced) {
    if (wasReadOnly) SetReadOnly(fs::path(target));
    return fail(unicode::SystemErrorText(replaced.value()));
  }
  return result;
}

}  // namespace app
