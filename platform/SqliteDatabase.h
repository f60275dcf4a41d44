// SqliteDatabase: one connection to an SQLite database, set up the way every database of the
// program is: the file private to its user, a write-ahead log so other processes can read while
// one writes, a busy timeout so writers wait for each other instead of failing, prepared
// statements kept for reuse, and IMMEDIATE transactions.
//
//   SqliteDatabase db(path);
//   db.transaction([&] {
//     db.statement(kInsert).bind(title).bind(int64_t{7}).run();
//   });
//   auto query = db.statement(kSelect);
//   query.bind(int64_t{7});
//   while (query.step()) use(query.text(0), query.integer(1));
//
// Every member throws Failure when the database fails: 70 "Permission denied" when access is
// refused, else 75 "Path/File access error"; SQLite's own message follows in parentheses.
// A connection is not meant to be shared between threads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace dks {

class SqliteDatabase {
 public:
  /// A prepared statement in use: bindings go in order, and the statement is reset when this
  /// goes out of scope, so no read is left open.
  class Statement {
   public:
    Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(std::string_view text);
    Statement& bind(int64_t number);

    /// True when a row is ready, false when the statement has finished.
    bool step();
    /// Steps to the end.
    void run();

    /// The column of the current row as text ("" for NULL) or as an integer (0 for NULL).
    std::string text(int column);
    int64_t integer(int column);

   private:
    Statement& check(int rc);

    sqlite3* db_;
    sqlite3_stmt* stmt_;
    int bound_ = 0;
  };

  /// Opens the database at `path`, creating missing parent folders (mode 0700) and the file
  /// (mode 0600) when they are missing; ":memory:" opens a private in-memory database. Turns on
  /// the write-ahead log and the busy timeout.
  explicit SqliteDatabase(const std::string& path);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  /// The prepared statement for `sql`, prepared on first use and kept: `sql` must be a string
  /// constant, since the cache is keyed by its address.
  Statement statement(const char* sql);

  /// Runs one or more statements that return no rows.
  void execute(const char* sql);

  /// Runs `changes` as one transaction: either all the changes it makes are stored, or, when
  /// it throws, none are and the exception passes on. Calls may nest; the outermost decides.
  /// Other processes wait while it runs, so keep it short.
  void transaction(const std::function<void()>& changes);

  /// The number of rows the last INSERT, UPDATE or DELETE changed.
  int64_t changes() const;

  /// The row id of the last row inserted.
  int64_t lastInsertRowId() const;

 private:
  void useWriteAheadLog();

  sqlite3* db_ = nullptr;
  int transactionDepth_ = 0;
  std::unordered_map<const char*, sqlite3_stmt*> statements_;
};

}  // namespace dks
