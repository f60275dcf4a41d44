#include "platform/Hive.h"

#include <fcntl.h>
#include <pwd.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Failure.h"
#include "platform/SystemUtility.h"
#include "platform/Text.h"

namespace dks {
namespace {

// Every statement is one of these constants; the statement cache is keyed by their address.
// Keys are stored under their folded path (each component case-folded) with the parent's folded
// path and the name as first written; the root is the key "" without a parent. A key's sub-tree
// is the range of folded paths from "path\" up to "path]", since "]" follows "\" in byte order.
constexpr const char* kCreateSchema = R"(
  CREATE TABLE IF NOT EXISTS hive_keys(
    folded TEXT PRIMARY KEY,
    parent TEXT,
    name TEXT NOT NULL,
    last_write INTEGER NOT NULL
  ) WITHOUT ROWID;
  CREATE INDEX IF NOT EXISTS hive_keys_by_parent ON hive_keys(parent, folded);
  CREATE TABLE IF NOT EXISTS hive_values(
    key TEXT NOT NULL,
    folded TEXT NOT NULL,
    name TEXT NOT NULL,
    kind INTEGER NOT NULL CHECK(kind IN (1, 4)),
    data,
    PRIMARY KEY(key, folded)
  ) WITHOUT ROWID;
  INSERT OR IGNORE INTO hive_keys(folded, parent, name, last_write) VALUES('', NULL, '', 0);
  PRAGMA user_version = 1;
)";
constexpr const char* kKeyExists = "SELECT 1 FROM hive_keys WHERE folded = ?1";
constexpr const char* kKeyName = "SELECT name FROM hive_keys WHERE folded = ?1";
constexpr const char* kInsertKey =
    "INSERT OR IGNORE INTO hive_keys(folded, parent, name, last_write) VALUES(?1, ?2, ?3, ?4)";
constexpr const char* kTouchKey = "UPDATE hive_keys SET last_write = ?2 WHERE folded = ?1";
constexpr const char* kDeleteKeys =
    R"(DELETE FROM hive_keys WHERE folded = ?1 OR (folded >= ?1 || '\' AND folded < ?1 || ']'))";
constexpr const char* kDeleteKeyValues =
    R"(DELETE FROM hive_values WHERE key = ?1 OR (key >= ?1 || '\' AND key < ?1 || ']'))";
constexpr const char* kSubKeys = "SELECT name FROM hive_keys WHERE parent = ?1 ORDER BY folded";
constexpr const char* kLastWrite = "SELECT last_write FROM hive_keys WHERE folded = ?1";
constexpr const char* kValues =
    "SELECT name, kind, data FROM hive_values WHERE key = ?1 ORDER BY folded";
constexpr const char* kReadValue =
    "SELECT name, kind, data FROM hive_values WHERE key = ?1 AND folded = ?2";
constexpr const char* kWriteValue =
    "INSERT INTO hive_values(key, folded, name, kind, data) VALUES(?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, folded) DO UPDATE SET kind = excluded.kind, data = excluded.data";
constexpr const char* kDeleteValue = "DELETE FROM hive_values WHERE key = ?1 AND folded = ?2";

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

// Creates the missing folders of `folder` with mode 0700, leaving existing ones as they are.
void createFolders(const std::string& folder) {
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    std::string prefix = folder.substr(0, end);
    if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
      throw errnoFailure(errno, prefix);
    if (end == std::string::npos) return;
  }
}

// Creating the file ourselves gives it mode 0600 whatever the umask; SQLite would use 0644.
void createDatabaseFile(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) createFolders(path.substr(0, slash));
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) throw errnoFailure(errno, path);
  ::close(fd);
}

std::vector<std::string> splitPath(std::string_view keyPath) {
  std::vector<std::string> components;
  while (!keyPath.empty()) {
    size_t end = keyPath.find('\\');
    if (end != 0) components.emplace_back(keyPath.substr(0, end));
    if (end == std::string_view::npos) break;
    keyPath.remove_prefix(end + 1);
  }
  return components;
}

// The lookup form of the path made of the first `count` components.
std::string foldedPath(const std::vector<std::string>& components, size_t count) {
  std::string folded;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) folded += '\\';
    folded += foldCase(components[i]);
  }
  return folded;
}

std::string foldedPath(std::string_view keyPath) {
  std::vector<std::string> components = splitPath(keyPath);
  return foldedPath(components, components.size());
}

}  // namespace

// A cached prepared statement in use: bindings go in order, and the statement is reset when
// this goes out of scope, so no read is left open.
class Hive::Statement {
 public:
  Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  ~Statement() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(std::string_view text) {
    // An empty view may have no data pointer, which SQLite would take for NULL.
    const char* data = text.data() ? text.data() : "";
    return check(
        sqlite3_bind_text(stmt_, ++bound_, data, static_cast<int>(text.size()), SQLITE_TRANSIENT));
  }
  Statement& bind(int64_t number) { return check(sqlite3_bind_int64(stmt_, ++bound_, number)); }

  /// True when a row is ready, false when the statement has finished.
  bool step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw sqliteFailure(db_, rc);
  }
  void run() {
    while (step()) {
    }
  }

  std::string text(int column) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (data == nullptr) return {};
    return std::string(data, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
  }
  int64_t integer(int column) { return sqlite3_column_int64(stmt_, column); }

  /// The value in columns `kind` and `kind + 1`.
  Variant value(int kind) {
    if (integer(kind) == kValueInteger) return static_cast<int32_t>(integer(kind + 1));
    return text(kind + 1);
  }

 private:
  Statement& check(int rc) {
    if (rc != SQLITE_OK) throw sqliteFailure(db_, rc);
    return *this;
  }

  sqlite3* db_;
  sqlite3_stmt* stmt_;
  int bound_ = 0;
};

std::shared_ptr<Hive> Hive::open(const std::string& path) {
  if (path != ":memory:") createDatabaseFile(path);
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    Failure failure = sqliteFailure(db, rc);
    sqlite3_close(db);
    throw failure;
  }
  std::shared_ptr<Hive> hive(new Hive(db));
  sqlite3_busy_timeout(db, kBusyTimeoutMilliseconds);
  hive->useWriteAheadLog();
  // Consistent after a crash; a power loss may at worst lose the last progress marks.
  hive->execute("PRAGMA synchronous = NORMAL");
  hive->createSchema();
  return hive;
}

Hive::Hive(sqlite3* db) : db_(db) {}

Hive::~Hive() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  sqlite3_close(db_);
}

void Hive::useWriteAheadLog() {
  // WAL lets other processes read while a run writes. Turning a new database to WAL needs it
  // to itself, and SQLite reports SQLITE_BUSY at once instead of calling the busy handler when
  // another process opens the same new hive at that moment; so wait here as the handler would.
  for (int waited = 0;; waited += kRetryMilliseconds) {
    int rc = sqlite3_exec(db_, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return;
    if ((rc & 0xff) != SQLITE_BUSY || waited >= kBusyTimeoutMilliseconds)
      throw sqliteFailure(db_, rc);
    ::usleep(kRetryMilliseconds * 1000);
  }
}

void Hive::createSchema() {
  transaction([&] { execute(kCreateSchema); });
}

Hive::Statement Hive::statement(const char* sql) {
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

void Hive::execute(const char* sql) {
  int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw sqliteFailure(db_, rc);
}

void Hive::transaction(const std::function<void()>& changes) {
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

void Hive::touch(const std::string& foldedPath, std::time_t now) {
  statement(kTouchKey).bind(foldedPath).bind(static_cast<int64_t>(now)).run();
}

void Hive::ensureKey(const std::vector<std::string>& components, std::time_t now) {
  if (foldedKeyExists(foldedPath(components, components.size()))) return;
  std::string parent;
  for (size_t i = 0; i < components.size(); ++i) {
    std::string folded = foldedPath(components, i + 1);
    statement(kInsertKey)
        .bind(folded)
        .bind(parent)
        .bind(components[i])
        .bind(static_cast<int64_t>(now))
        .run();
    if (sqlite3_changes(db_) > 0) touch(parent, now);
    parent = std::move(folded);
  }
}

bool Hive::foldedKeyExists(const std::string& folded) {
  return statement(kKeyExists).bind(folded).step();
}

bool Hive::keyExists(std::string_view keyPath) {
  return foldedKeyExists(foldedPath(keyPath));
}

std::optional<std::string> Hive::storedPath(std::string_view keyPath) {
  std::vector<std::string> components = splitPath(keyPath);
  std::string path;
  for (size_t i = 0; i < components.size(); ++i) {
    Statement query = statement(kKeyName);
    if (!query.bind(foldedPath(components, i + 1)).step()) return std::nullopt;
    if (i > 0) path += '\\';
    path += query.text(0);
  }
  return path;
}

void Hive::createKey(std::string_view keyPath) {
  transaction([&] { ensureKey(splitPath(keyPath), std::time(nullptr)); });
}

bool Hive::deleteKey(std::string_view keyPath) {
  std::vector<std::string> components = splitPath(keyPath);
  if (components.empty()) throw Failure::invalidCall();
  bool deleted = false;
  transaction([&] {
    std::string folded = foldedPath(components, components.size());
    statement(kDeleteKeyValues).bind(folded).run();
    statement(kDeleteKeys).bind(folded).run();
    deleted = sqlite3_changes(db_) > 0;
    if (deleted) touch(foldedPath(components, components.size() - 1), std::time(nullptr));
  });
  return deleted;
}

std::vector<std::string> Hive::subKeys(std::string_view keyPath) {
  std::vector<std::string> names;
  Statement query = statement(kSubKeys);
  query.bind(foldedPath(keyPath));
  while (query.step()) names.push_back(query.text(0));
  return names;
}

std::vector<HiveValue> Hive::values(std::string_view keyPath) {
  std::vector<HiveValue> values;
  Statement query = statement(kValues);
  query.bind(foldedPath(keyPath));
  while (query.step()) values.push_back({query.text(0), query.value(1)});
  return values;
}

std::optional<Variant> Hive::readValue(std::string_view keyPath, std::string_view name) {
  Statement query = statement(kReadValue);
  query.bind(foldedPath(keyPath)).bind(foldCase(name));
  if (!query.step()) return std::nullopt;
  return query.value(1);
}

void Hive::writeValue(std::string_view keyPath, std::string_view name, const Variant& value) {
  if (isEmpty(value)) throw Failure::typeMismatch();
  std::vector<std::string> components = splitPath(keyPath);
  transaction([&] {
    std::time_t now = std::time(nullptr);
    ensureKey(components, now);
    std::string folded = foldedPath(components, components.size());
    Statement write = statement(kWriteValue);
    write.bind(folded).bind(foldCase(name)).bind(name);
    if (const auto* number = std::get_if<int32_t>(&value))
      write.bind(int64_t{kValueInteger}).bind(int64_t{*number});
    else
      write.bind(int64_t{kValueText}).bind(std::get<std::string>(value));
    write.run();
    touch(folded, now);
  });
}

bool Hive::deleteValue(std::string_view keyPath, std::string_view name) {
  bool deleted = false;
  transaction([&] {
    std::string folded = foldedPath(keyPath);
    statement(kDeleteValue).bind(folded).bind(foldCase(name)).run();
    deleted = sqlite3_changes(db_) > 0;
    if (deleted) touch(folded, std::time(nullptr));
  });
  return deleted;
}

std::optional<std::time_t> Hive::lastWrite(std::string_view keyPath) {
  Statement query = statement(kLastWrite);
  query.bind(foldedPath(keyPath));
  if (!query.step()) return std::nullopt;
  return static_cast<std::time_t>(query.integer(0));
}

std::string hivePathFromEnvironment() {
  auto variable = [](const char* name) -> std::string {
    const char* value = std::getenv(name);
    return value ? value : "";
  };
  std::string hive = variable("DKSR_HIVE");
  if (!hive.empty()) return hive;
  std::string config = variable("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/') {
    std::string home = variable("HOME");
    if (home.empty()) {
      const passwd* user = ::getpwuid(::getuid());
      if (user == nullptr || user->pw_dir == nullptr) throw Failure::pathNotFound();
      home = user->pw_dir;
    }
    config = home + "/.config";
  }
  return config + "/dks-reconciler/registry.db";
}

}  // namespace dks
