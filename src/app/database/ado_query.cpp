#include "app/database/ado_query.h"

#include <sqlite3.h>

namespace app {

namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::u16string QuotedIdentifier(std::u16string_view name) {
  std::u16string s = u"\"";
  for (char16_t c : name) {
    if (c == u'"') s += u'"';
    s += c;
  }
  s += u'"';
  return s;
}

std::u16string Column16(sqlite3_stmt* stmt, int column) {
  const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
  if (!text) return {};
  return std::u16string(text, static_cast<std::size_t>(sqlite3_column_bytes16(stmt, column)) / 2);
}

}  // namespace

// ---- TField -----------------------------------------------------------------------------------

void TField::RequireInsert() const {
  if (query_->state_ != TDataSetState::dsInsert) throw EDatabaseError("Dataset not in edit or insert mode", SQLITE_MISUSE);
}

bool TField::IsNull() const {
  if (query_->state_ == TDataSetState::dsInsert) return kind_ == Kind::Null;
  query_->RequireActive();
  return sqlite3_column_type(query_->select_, column_) == SQLITE_NULL;
}

std::u16string TField::AsString() const {
  if (query_->state_ == TDataSetState::dsInsert) return kind_ == Kind::Text ? text_ : std::u16string();
  query_->RequireActive();
  return Column16(query_->select_, column_);
}

bool TField::AsBoolean() const {
  if (query_->state_ == TDataSetState::dsInsert) return kind_ == Kind::Integer && integer_ != 0;
  query_->RequireActive();
  return sqlite3_column_int64(query_->select_, column_) != 0;
}

std::span<const std::uint8_t> TField::AsBytes() const {
  if (query_->state_ == TDataSetState::dsInsert) return kind_ == Kind::Bytes ? bytes_ : std::span<const std::uint8_t>();
  query_->RequireActive();
  const void* data = sqlite3_column_blob(query_->select_, column_);
  const int size = sqlite3_column_bytes(query_->select_, column_);
  if (!data || size <= 0) return {};
  return {static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)};
}

void TField::Clear() {
  RequireInsert();
  kind_ = Kind::Null;
  text_.clear();
  bytes_ = {};
}

void TField::SetAsString(std::u16string_view text) {
  RequireInsert();
  kind_ = Kind::Text;
  text_.assign(text);
}

void TField::SetAsBoolean(bool value) {
  RequireInsert();
  kind_ = Kind::Integer;
  integer_ = value ? 1 : 0;
}

void TField::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  RequireInsert();
  kind_ = Kind::Bytes;
  bytes_ = bytes;
}

// ---- TADOQuery ----------------------------------------------------------------------------------

TADOQuery::~TADOQuery() { Close(); }

void TADOQuery::RequireActive() const {
  if (state_ == TDataSetState::dsInactive) throw EDatabaseError("Cannot perform this operation on a closed dataset", SQLITE_MISUSE);
}

void TADOQuery::Open() {
  Close();
  if (!Connection) throw EDatabaseError("Missing Connection", SQLITE_MISUSE);
  sqlite3* db = Connection->Handle();
  const int rc = sqlite3_prepare16_v2(db, SQL.data(), static_cast<int>(SQL.size() * sizeof(char16_t)), &select_,
                                      nullptr);
  if (rc != SQLITE_OK || !select_) {
    select_ = nullptr;
    Connection->Fail(rc == SQLITE_OK ? SQLITE_ERROR : rc);
  }
  const int columns = sqlite3_column_count(select_);
  fields_.clear();
  for (int i = 0; i < columns; ++i) {
    const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(select_, i));
    fields_.push_back(TField(*this, i, name ? std::u16string(name) : std::u16string()));
  }
  state_ = TDataSetState::dsBrowse;
  try {
    Step();
  } catch (...) {
    Close();
    throw;
  }
}

void TADOQuery::Close() {
  if (insert_) sqlite3_finalize(insert_);
  if (select_) sqlite3_finalize(select_);
  insert_ = select_ = nullptr;
  fields_.clear();
  state_ = TDataSetState::dsInactive;
  eof_ = true;
}

void TADOQuery::Step() {
  const int rc = sqlite3_step(select_);
  if (rc == SQLITE_ROW) {
    eof_ = false;
  } else if (rc == SQLITE_DONE) {
    eof_ = true;
  } else {
    eof_ = true;
    Connection->Fail(rc);
  }
}

void TADOQuery::First() {
  RequireActive();
  if (state_ == TDataSetState::dsInsert) Cancel();
  sqlite3_reset(select_);
  Step();
}

void TADOQuery::Next() {
  RequireActive();
  if (state_ == TDataSetState::dsInsert) Cancel();
  if (!eof_) Step();
}

void TADOQuery::Last() {
  RequireActive();
  if (state_ == TDataSetState::dsInsert) Cancel();
  // The statement cannot step back: the last record is found by walking to the end and
  // stepping once less on a second walk.
  sqlite3_reset(select_);
  long long rows = 0;
  for (Step(); !eof_; Step()) ++rows;
  sqlite3_reset(select_);
  Step();
  for (long long i = 1; i < rows; ++i) Step();
}

TField* TADOQuery::FindField(std::u16string_view name) {
  for (TField& field : fields_) {
    if (SameName(field.name_, name)) return &field;
  }
  return nullptr;
}

TField& TADOQuery::FieldByName(std::u16string_view name) {
  if (TField* field = FindField(name)) return *field;
  throw EDatabaseError("Field not found", SQLITE_ERROR);
}

std::u16string TADOQuery::TableName() const {
  // The text after the last "from", without quotes or brackets.
  std::u16string lower(SQL);
  for (char16_t& c : lower) c = AsciiLower(c);
  const std::size_t from = lower.rfind(u"from");
  if (from == std::u16string::npos) return {};
  std::u16string_view rest = std::u16string_view(SQL).substr(from + 4);
  while (!rest.empty() && (rest.front() == u' ' || rest.front() == u'\t' || rest.front() == u'\r' || rest.front() == u'\n')) rest.remove_prefix(1);
  while (!rest.empty() && (rest.back() == u' ' || rest.back() == u';' || rest.back() == u'\r' || rest.back() == u'\n')) rest.remove_suffix(1);
  if (rest.size() >= 2 && ((rest.front() == u'"' && rest.back() == u'"') || (rest.front() == u'[' && rest.back() == u']'))) {
    rest = rest.substr(1, rest.size() - 2);
  }
  return std::u16string(rest);
}

void TADOQuery::Append() {
  RequireActive();
  if (state_ == TDataSetState::dsInsert) return;
  state_ = TDataSetState::dsInsert;
  for (TField& field : fields_) field.Clear();
}

void TADOQuery::Cancel() {
  if (state_ != TDataSetState::dsInsert) return;
  for (TField& field : fields_) field.Clear();
  state_ = TDataSetState::dsBrowse;
}

void TADOQuery::Post() {
  if (state_ != TDataSetState::dsInsert) return;
  sqlite3* db = Connection->Handle();
  if (!insert_) {
    std::u16string sql = u"insert into " + QuotedIdentifier(TableName()) + u" (";
    std::u16string values;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      if (i > 0) {
        sql += u", ";
        values += u", ";
      }
      sql += QuotedIdentifier(fields_[i].name_);
      values += u"?";
    }
    sql += u") values (" + values + u")";
    const int rc = sqlite3_prepare16_v2(db, sql.data(), static_cast<int>(sql.size() * sizeof(char16_t)), &insert_,
                                        nullptr);
    if (rc != SQLITE_OK) {
      insert_ = nullptr;
      Connection->Fail(rc);
    }
  }
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const TField& field = fields_[i];
    const int at = static_cast<int>(i) + 1;
    int rc = SQLITE_OK;
    switch (field.kind_) {
      case TField::Kind::Null: rc = sqlite3_bind_null(insert_, at); break;
      case TField::Kind::Integer: rc = sqlite3_bind_int64(insert_, at, field.integer_); break;
      case TField::Kind::Text:
        if (field.text_.size() > static_cast<std::size_t>(kMaxDatabaseValueBytes) / 2) Connection->Fail(SQLITE_TOOBIG);
        rc = sqlite3_bind_text16(insert_, at, field.text_.data(), static_cast<int>(field.text_.size() * 2),
                                 SQLITE_STATIC);
        break;
      case TField::Kind::Bytes:
        if (field.bytes_.size() > static_cast<std::size_t>(kMaxDatabaseValueBytes)) Connection->Fail(SQLITE_TOOBIG);
        rc = sqlite3_bind_blob(insert_, at, field.bytes_.data(), static_cast<int>(field.bytes_.size()), SQLITE_STATIC);
        break;
    }
    if (rc != SQLITE_OK) Connection->Fail(rc);
  }
  const int rc = sqlite3_step(insert_);
  sqlite3_reset(insert_);
  sqlite3_clear_bindings(insert_);
  if (rc != SQLITE_DONE) Connection->Fail(rc);
  for (TField& field : fields_) field.Clear();
  state_ = TDataSetState::dsBrowse;
}

}  // namespace app
