// The query of the entry database, shaped as the main window's ADOQuery1 is used: its SQL
// is "select * from <table>"; Open moves to the first record, First/Next/Eof walk the
// records in table order, FieldByName reads the current record's fields, and Append, the
// field setters and Post add a record at the end of the table.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/database/ado_connection.h"

struct sqlite3_stmt;

namespace app {

enum class TDataSetState { dsInactive, dsBrowse, dsInsert };

class TADOQuery;

// One column of the query. Reading gives the current record's value (while browsing) or
// the value set for the new record (while inserting); setting needs the insert state.
class TField {
 public:
  const std::u16string& FieldName() const { return name_; }
  bool IsNull() const;
  std::u16string AsString() const;
  bool AsBoolean() const;
  // The bytes stay valid until the query moves or changes state.
  std::span<const std::uint8_t> AsBytes() const;

  void Clear();
  void SetAsString(std::u16string_view text);
  void SetAsBoolean(bool value);
  void LoadFromBytes(std::span<const std::uint8_t> bytes);

 private:
  friend class TADOQuery;
  enum class Kind { Null, Integer, Text, Bytes };
  TField(TADOQuery& query, int column, std::u16string name) : query_(&query), column_(column), name_(std::move(name)) {}
  void RequireInsert() const;

  TADOQuery* query_;
  int column_;
  std::u16string name_;
  // The value of the record being inserted.
  Kind kind_ = Kind::Null;
  std::int64_t integer_ = 0;
  std::u16string text_;
  std::span<const std::uint8_t> bytes_;  // borrowed from the caller until Post
};

class TADOQuery {
 public:
  explicit TADOQuery(TADOConnection* connection = nullptr) : Connection(connection) {}
  ~TADOQuery();
  TADOQuery(const TADOQuery&) = delete;
  TADOQuery& operator=(const TADOQuery&) = delete;

  TADOConnection* Connection;
  std::u16string SQL;

  // Runs SQL on the connection and moves to the first record. Throws EDatabaseError.
  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  TDataSetState State() const { return state_; }

  void First();
  void Next();
  // Moves to the last record (the walk reads every record before it).
  void Last();
  bool Eof() const { return eof_; }

  std::vector<TField>& Fields() { return fields_; }
  // Throws EDatabaseError when the query has no field of that name (ASCII case ignored).
  TField& FieldByName(std::u16string_view name);
  TField* FindField(std::u16string_view name);

  // Starts a new record at the end of the table; Post stores it, Cancel drops it.
  void Append();
  void Post();
  void Cancel();

 private:
  friend class TField;
  sqlite3_stmt* Statement() const { return select_; }
  void Step();
  void RequireActive() const;
  std::u16string TableName() const;

  sqlite3_stmt* select_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  std::vector<TField> fields_;
  TDataSetState state_ = TDataSetState::dsInactive;
  bool eof_ = true;
};

}  // namespace app
