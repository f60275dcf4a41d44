#include "platform/Hive.h"

#include "platform/Failure.h"
#include "platform/ProcessFacts.h"
#include "platform/SqliteDatabase.h"
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

// The value in columns `kind` and `kind + 1` of the row in hand.
Variant storedValue(SqliteDatabase::Statement& row, int kind) {
  if (row.integer(kind) == kValueInteger) return static_cast<int32_t>(row.integer(kind + 1));
  return row.text(kind + 1);
}

}  // namespace

std::shared_ptr<Hive> Hive::open(const std::string& path) {
  std::shared_ptr<Hive> hive(new Hive(std::make_unique<SqliteDatabase>(path)));
  hive->createSchema();
  return hive;
}

Hive::Hive(std::unique_ptr<SqliteDatabase> db) : db_(std::move(db)) {}

Hive::~Hive() = default;

void Hive::createSchema() {
  transaction([&] { db_->execute(kCreateSchema); });
}

void Hive::transaction(const std::function<void()>& changes) {
  db_->transaction(changes);
}

void Hive::touch(const std::string& foldedPath, std::time_t now) {
  db_->statement(kTouchKey).bind(foldedPath).bind(static_cast<int64_t>(now)).run();
}

void Hive::ensureKey(const std::vector<std::string>& components, std::time_t now) {
  if (foldedKeyExists(foldedPath(components, components.size()))) return;
  std::string parent;
  for (size_t i = 0; i < components.size(); ++i) {
    std::string folded = foldedPath(components, i + 1);
    db_->statement(kInsertKey)
        .bind(folded)
        .bind(parent)
        .bind(components[i])
        .bind(static_cast<int64_t>(now))
        .run();
    if (db_->changes() > 0) touch(parent, now);
    parent = std::move(folded);
  }
}

bool Hive::foldedKeyExists(const std::string& folded) {
  return db_->statement(kKeyExists).bind(folded).step();
}

bool Hive::keyExists(std::string_view keyPath) {
  return foldedKeyExists(foldedPath(keyPath));
}

std::optional<std::string> Hive::storedPath(std::string_view keyPath) {
  std::vector<std::string> components = splitPath(keyPath);
  std::string path;
  for (size_t i = 0; i < components.size(); ++i) {
    SqliteDatabase::Statement query = db_->statement(kKeyName);
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
    db_->statement(kDeleteKeyValues).bind(folded).run();
    db_->statement(kDeleteKeys).bind(folded).run();
    deleted = db_->changes() > 0;
    if (deleted) touch(foldedPath(components, components.size() - 1), std::time(nullptr));
  });
  return deleted;
}

std::vector<std::string> Hive::subKeys(std::string_view keyPath) {
  std::vector<std::string> names;
  SqliteDatabase::Statement query = db_->statement(kSubKeys);
  query.bind(foldedPath(keyPath));
  while (query.step()) names.push_back(query.text(0));
  return names;
}

std::vector<HiveValue> Hive::values(std::string_view keyPath) {
  std::vector<HiveValue> values;
  SqliteDatabase::Statement query = db_->statement(kValues);
  query.bind(foldedPath(keyPath));
  while (query.step()) values.push_back({query.text(0), storedValue(query, 1)});
  return values;
}

std::optional<Variant> Hive::readValue(std::string_view keyPath, std::string_view name) {
  SqliteDatabase::Statement query = db_->statement(kReadValue);
  query.bind(foldedPath(keyPath)).bind(foldCase(name));
  if (!query.step()) return std::nullopt;
  return storedValue(query, 1);
}

void Hive::writeValue(std::string_view keyPath, std::string_view name, const Variant& value) {
  if (isEmpty(value)) throw Failure::typeMismatch();
  std::vector<std::string> components = splitPath(keyPath);
  transaction([&] {
    std::time_t now = std::time(nullptr);
    ensureKey(components, now);
    std::string folded = foldedPath(components, components.size());
    SqliteDatabase::Statement write = db_->statement(kWriteValue);
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
    db_->statement(kDeleteValue).bind(folded).bind(foldCase(name)).run();
    deleted = db_->changes() > 0;
    if (deleted) touch(folded, std::time(nullptr));
  });
  return deleted;
}

std::optional<std::time_t> Hive::lastWrite(std::string_view keyPath) {
  SqliteDatabase::Statement query = db_->statement(kLastWrite);
  query.bind(foldedPath(keyPath));
  if (!query.step()) return std::nullopt;
  return static_cast<std::time_t>(query.integer(0));
}

std::string hivePathFromEnvironment() {
  auto variable = [](const char* name) -> std::string {
    const char* value = processEnvironment(name);
    return value ? value : "";
  };
  std::string hive = variable("DKSR_HIVE");
  if (!hive.empty()) return hive;
  std::string config = variable("XDG_CONFIG_HOME");
  if (config.empty() || config.front() != '/')
    config = homeFolder(processEnvironment) + "/.config";
  return config + "/dks-reconciler/registry.db";
}

}  // namespace dks
