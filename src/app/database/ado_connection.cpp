#include "app/database/ado_connection.h"

#include <sqlite3.h>

#include "unicode/codepage.h"

namespace app {

namespace {

constexpr std::u16string_view kConnectionHead =
    u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=";
constexpr std::u16string_view kConnectionTail =
    u";Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet ";

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::u16string DatabaseConnectionString(std::u16string_view file) {
  const bool quote = file.find_first_of(u";\"") != std::u16string_view::npos ||
                     (!file.empty() && (file.front() == u' ' || file.back() == u' '));
  std::u16string s(kConnectionHead);
  if (quote) {
    s += u'"';
    for (char16_t c : file) {
      if (c == u'"') s += u'"';
      s += c;
    }
    s += u'"';
  } else {
    s += file;
  }
  s += kConnectionTail;
  return s;
}

std::u16string ConnectionStringValue(std::u16string_view cs, std::u16string_view key) {
  std::size_t i = 0;
  while (i < cs.size()) {
    const std::size_t eq = cs.find(u'=', i);
    if (eq == std::u16string_view::npos) break;
    const std::u16string_view name = Trim(cs.substr(i, eq - i));
    std::size_t j = eq + 1;
    while (j < cs.size() && cs[j] == u' ') ++j;
    std::u16string value;
    if (j < cs.size() && (cs[j] == u'"' || cs[j] == u'\'')) {
      const char16_t q = cs[j++];
      while (j < cs.size()) {
        if (cs[j] == q) {
          if (j + 1 < cs.size() && cs[j + 1] == q) {
            value += q;
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        value += cs[j++];
      }
      const std::size_t semi = cs.find(u';', j);
      i = semi == std::u16string_view::npos ? cs.size() : semi + 1;
    } else {
      const std::size_t semi = cs.find(u';', j);
      const std::size_t end = semi == std::u16string_view::npos ? cs.size() : semi;
      value = std::u16string(Trim(cs.substr(j, end - j)));
      i = end + 1;
    }
    if (SameKey(name, key)) return value;
  }
  return {};
}

TADOConnection::~TADOConnection() { Close(); }

sqlite3* TADOConnection::Handle() const {
  if (!db_) throw EDatabaseError("Connection is not open", SQLITE_MISUSE);
  return db_;
}

void TADOConnection::Fail(int code) const {
  std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
  throw EDatabaseError(message, code);
}

void TADOConnection::Open() {
  Close();
  const std::u16string file = ConnectionStringValue(ConnectionString, u"Data Source");
  if (file.empty()) throw EDatabaseError("No Data Source in the connection string", SQLITE_MISUSE);
  const std::string name = unicode::Utf16ToUtf8(file);
  const int flags = Mode == TConnectMode::cmRead ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw EDatabaseError(message, rc);
  }
  db_ = db;
  // Files come from anywhere: no value beyond the limit is ever built, and what the
  // schema holds (triggers, views) runs with no more rights than plain SQL.
  sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxDatabaseValueBytes);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_busy_timeout(db_, 2000);
}

void TADOConnection::Close() {
  if (!db_) return;
  if (inTransaction_) RollbackTrans();
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

std::vector<std::u16string> TADOConnection::GetTableNames() const {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(Handle(), "select name from sqlite_schema where type = 'table'", -1, &stmt,
                                    nullptr);
  if (rc != SQLITE_OK) Fail(rc);
  std::vector<std::u16string> names;
  int step;
  while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 0));
    const int bytes = sqlite3_column_bytes16(stmt, 0);
    names.emplace_back(text ? std::u16string(text, static_cast<std::size_t>(bytes) / 2) : std::u16string());
  }
  sqlite3_finalize(stmt);
  if (step != SQLITE_DONE) Fail(step);
  return names;
}

void TADOConnection::Execute(std::u16string_view sql) {
  const std::string text = unicode::Utf16ToUtf8(sql);
  char* error = nullptr;
  const int rc = sqlite3_exec(Handle(), text.c_str(), nullptr, nullptr, &error);
  if (rc != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errstr(rc);
    sqlite3_free(error);
    throw EDatabaseError(message, rc);
  }
}

void TADOConnection::BeginTrans() {
  Execute(u"begin");
  inTransaction_ = true;
}

void TADOConnection::CommitTrans() {
  Execute(u"commit");
  inTransaction_ = false;
}

void TADOConnection::RollbackTrans() {
  if (!db_ || !inTransaction_) return;
  inTransaction_ = false;
  sqlite3_exec(db_, "rollback", nullptr, nullptr, nullptr);
}

}  // namespace app
