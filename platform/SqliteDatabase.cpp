#include "platform/SqliteDatabase.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Failure.h"
#include "platform/Folders.h"

namespace dks {
namespace {

constexpr int kBusyTimeoutMilliseconds = 30000;
constexpr int kRetryMilliseconds = 5;

bool isAccessError(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

Failure accessFailure(bool denied, const std::string& detail) {
  Failure base = denied ? Failure::permissionDenied() : Failure::pathFileAccessError();
  return {base.number(), base.description() + " (" + detail + ")"};
}

Failure errnoFailure(int error, const std::string& path) {
  return accessFailure(isAccessError(error), path + ": " + std::strerror(error));
}

Failure sqliteFailure(sqlite3* db, int rc) {
  int code = rc & 0xff;
  bool denied = code == SQLITE_PERM || code == SQLITE_READONLY || code == SQLITE_AUTH ||
                (code == SQLITE_CANTOPEN && db && isAccessError(sqlite3_system_errno(db)));
  return accessFailure(denied, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// Creating the file ourselves gives it mode 0600 whatever the umask; SQLite would use 0644.
void createDatabaseFile(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) {
    try {
      createFolders(path.substr(0, slash), 0700);
    } catch (const Failure& failure) {
      throw Failure(failure.number(), failure.description() + " (" + path + ")");
    }
  }
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) throw errnoFailure(errno, path);
  ::close(fd);
}

}  // namespace

SqliteDatabase::Statement::~Statement() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

SqliteDatabase::Statement& SqliteDatabase::Statement::bind(std::string_view text) {
  // An empty view may have no data pointer, which SQLite would take for NULL.
  const char* data = text.data() ? text.data() : "";
  return check(
      sqlite3_bind_text(stmt_, ++bound_, data, static_cast<int>(text.size()), SQLITE_TRANSIENT));
}

SqliteDatabase::Statement& SqliteDatabase::Statement::bind(int64_t number) {
  return check(sqlite3_bind_int64(stmt_, ++bound_, number));
}

bool SqliteDatabase::Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw sqliteFailure(db_, rc);
}

void SqliteDatabase::Statement::run() {
  while (step()) {
  }
}

std::string SqliteDatabase::Statement::text(int column) {
  const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (data == nullptr) return {};
  return std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

int64_t SqliteDatabase::Statement::integer(int column) {
  return sqlite3_column_int64(stmt_, column);
}

SqliteDatabase::Statement& SqliteDatabase::Statement::check(int rc) {
  if (rc != SQLITE_OK) throw sqliteFailure(db_, rc);
  return *this;
}

SqliteDatabase::SqliteDatabase(const std::string& path) {
  if (path != ":memory:") createDatabaseFile(path);
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  try {
    if (rc != SQLITE_OK) throw sqliteFailure(db_, rc);
    sqlite3_busy_timeout(db_, kBusyTimeoutMilliseconds);
    useWriteAheadLog();
    // Consistent after a crash; a power loss may at worst lose the last transactions.
    execute("PRAGMA synchronous = NORMAL");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteDatabase::~SqliteDatabase() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

void SqliteDatabase::useWriteAheadLog() {
  // WAL lets other processes read while one writes. Turning a new database to WAL needs it to
  // itself, and SQLite reports SQLITE_BUSY at once instead of calling the busy handler when
  // another process opens the same new database at that moment; so wait here as the handler
  // would.
  for (int waited = 0;; waited += kRetryMilliseconds) {
    int rc = sqlite3_exec(db_, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return;
    if ((rc & 0xff) != SQLITE_BUSY || waited >= kBusyTimeoutMilliseconds)
      throw sqliteFailure(db_, rc);
    ::usleep(kRetryMilliseconds * 1000);
  }
}

SqliteDatabase::Statement SqliteDatabase::statement(const char* sql) {
  sqlite3_stmt*& stmt = statements_[sql];
  if (stmt == nullptr) {
    int rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
      statements_.erase(sql);
      throw sqliteFailure(db_, rc);
    }
  }
  return Statement(db_, stmt);
}

void SqliteDatabase::execute(const char* sql) {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw sqliteFailure(db_, rc);
}

void SqliteDatabase::transaction(const std::function<void()>& changes) {
  if (transactionDepth_ > 0) return changes();
  // IMMEDIATE takes the write lock at once, waiting through the busy handler; a deferred
  // transaction that later turns into a write could fail with "database is locked" instead.
  execute("BEGIN IMMEDIATE");
  try {
    ++transactionDepth_;
    changes();
    --transactionDepth_;
    execute("COMMIT");
  } catch (...) {
    transactionDepth_ = 0;
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

int64_t SqliteDatabase::changes() const {
  return sqlite3_changes64(db_);
}

int64_t SqliteDatabase::lastInsertRowId() const {
  return sqlite3_last_insert_rowid(db_);
}

}  // namespace dks
