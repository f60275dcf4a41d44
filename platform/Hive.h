// Hive: the current user's settings hive (HKEY_CURRENT_USER), one SQLite database per user.
//
// Keys are backslash paths below the hive's root ("Software\DKS\Reconciler"; "" is the root
// itself). Empty path components are ignored. Key and value names compare ignoring letter case
// and keep the case in which they were first written. A value is a text (kind 1) or a 32-bit
// integer (kind 4), held in a Variant as std::string or int32_t.
//
// Several processes may open the same hive at once: every write is a short IMMEDIATE
// transaction in WAL mode with a busy timeout, so a reader never fails and a writer waits for
// another writer instead of failing with "database is locked".
//
// Every member throws Failure when the database fails: 70 "Permission denied" when access is
// refused, else 75 "Path/File access error"; SQLite's own message follows in parentheses.
// A Hive is one connection and is not meant to be shared between threads.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Variant.h"

namespace dks {

class SqliteDatabase;

/// One value of a key: its name as first written and its value (text or integer).
struct HiveValue {
  std::string name;
  Variant value;
};

class Hive {
 public:
  /// Opens the hive at `path`, creating missing parent folders (mode 0700), the database file
  /// (mode 0600) and its tables on first use. ":memory:" opens a private in-memory hive.
  static std::shared_ptr<Hive> open(const std::string& path);

  ~Hive();
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  /// Whether the key exists; the root always does.
  bool keyExists(std::string_view keyPath);

  /// The key's path with every name in the case first written and without empty components
  /// ("" for the root); nullopt when the key does not exist.
  std::optional<std::string> storedPath(std::string_view keyPath);

  /// Creates the key and its missing parents. An existing key is left as it is.
  void createKey(std::string_view keyPath);

  /// Removes the key with its values and all its sub-keys. False when there was no such key.
  /// Throws Failure 5 "Invalid procedure call or argument" for the root.
  bool deleteKey(std::string_view keyPath);

  /// The names of the key's direct sub-keys in case-blind alphabetical order; none for a key
  /// that does not exist.
  std::vector<std::string> subKeys(std::string_view keyPath);

  /// The key's values in case-blind order of their names; none for a key that does not exist.
  std::vector<HiveValue> values(std::string_view keyPath);

  /// The value stored under `name` in the key; nullopt when the key or the value is missing.
  std::optional<Variant> readValue(std::string_view keyPath, std::string_view name);

  /// Stores `value` (an int32_t as kind 4, a text as kind 1) under `name`, creating missing
  /// keys; a value stored under the name before is replaced, its name keeps its case.
  /// Throws Failure 13 "Type mismatch" for an Empty value.
  void writeValue(std::string_view keyPath, std::string_view name, const Variant& value);

  /// Removes the value. False when there was no such value.
  bool deleteValue(std::string_view keyPath, std::string_view name);

  /// When the key, its values or its list of sub-keys last changed; nullopt for a key that
  /// does not exist.
  std::optional<std::time_t> lastWrite(std::string_view keyPath);

  /// Runs `changes` as one transaction: either all the changes it makes are stored, or, when
  /// it throws, none are and the exception passes on. Calls may nest; the outermost decides.
  /// Other processes wait while it runs, so keep it short.
  void transaction(const std::function<void()>& changes);

 private:
  explicit Hive(std::unique_ptr<SqliteDatabase> db);
  void createSchema();
  bool foldedKeyExists(const std::string& folded);
  void touch(const std::string& foldedPath, std::time_t now);
  void ensureKey(const std::vector<std::string>& components, std::time_t now);

  std::unique_ptr<SqliteDatabase> db_;
};

/// Where this user's hive lives: $DKSR_HIVE when set and not empty, else
/// $XDG_CONFIG_HOME/dks-reconciler/registry.db, else ~/.config/dks-reconciler/registry.db.
/// Throws Failure 76 "Path not found" when no home folder is known.
std::string hivePathFromEnvironment();

}  // namespace dks
