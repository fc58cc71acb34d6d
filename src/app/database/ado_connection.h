// The connection of the entry database, shaped as the main window's ADOConnection1 is used:
// a connection string naming the file, Open and Close, the table names, transactions.
// The engine behind it is an embedded SQLite database; the provider named in the string
// is not consulted.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace app {

// A failure of the database engine: its own (English) text, and its result code.
class EDatabaseError : public std::runtime_error {
 public:
  EDatabaseError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// The connection string of an entry database file:
// "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=<file>;Mode=Share Deny None;
//  Extended Properties="";Jet OLEDB:System database="";Jet ". A file name holding ";" (or a
// leading blank or quote) is given in double quotes.
std::u16string DatabaseConnectionString(std::u16string_view file);
// The value of one key of a connection string (keys compared without regard to ASCII case;
// a double-quoted value may hold ";" and "" for a quote). Empty when the key is absent.
std::u16string ConnectionStringValue(std::u16string_view connectionString, std::u16string_view key);

enum class TConnectMode {
  cmShareDenyNone,  // read and write
  cmRead,           // read only: the file is never created or changed
};

class TADOConnection {
 public:
  TADOConnection() = default;
  ~TADOConnection();
  TADOConnection(const TADOConnection&) = delete;
  TADOConnection& operator=(const TADOConnection&) = delete;

  std::u16string ConnectionString;
  TConnectMode Mode = TConnectMode::cmShareDenyNone;

  // Opens the file named by "Data Source" (which must exist: nothing is created).
  // Throws EDatabaseError.
  void Open();
  void Close();
  bool Connected() const { return db_ != nullptr; }

  // The names of the database's tables, in the engine's order. Throws EDatabaseError (for
  // example for a file that is no database).
  std::vector<std::u16string> GetTableNames() const;

  void BeginTrans();
  void CommitTrans();
  void RollbackTrans();  // never throws
  bool InTransaction() const { return inTransaction_; }
  void Execute(std::u16string_view sql);

  sqlite3* Handle() const;  // throws when not connected
  [[noreturn]] void Fail(int code) const;

 private:
  sqlite3* db_ = nullptr;
  bool inTransaction_ = false;
};

// The largest single value (text or bytes) read from or written to a database.
inline constexpr int kMaxDatabaseValueBytes = 256 << 20;

}  // namespace app
