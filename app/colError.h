// colError: the error records of the whole run, in the order they happened, each also appended
// to the error log file named by the ErrorLog setting.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/KeyedCollection.h"
#include "app/clsError.h"
#include "platform/FileSystem.h"

namespace dks {

class colError : private KeyedCollection<clsError> {
 public:
  /// Called with each record once it was added.
  using Observer = std::function<void(const clsError&)>;

  /// An empty collection that writes the error log through `fileSystem` and shows each new
  /// record to `observer`, when one is given.
  explicit colError(std::shared_ptr<FileSystem> fileSystem, Observer observer = {});

  using KeyedCollection::Count;
  using KeyedCollection::NewEnum;
  using KeyedCollection::pblnReset;

  /// The record at a position (from 1) or under a key. A position or key that names no record
  /// is a failure of the caller: throws Failure 9 or 5.
  std::shared_ptr<clsError> Item(const vntIndex& index) const { return at(index); }

  /// Removes the record at a position or under a key; throws as Item does.
  void Remove(const vntIndex& index) { erase(index); }

  /// Appends a record (object, procedure and description trimmed; number 0 or an empty
  /// description give -99999 "Unknown error") under `strKey` when that is not "", and appends
  /// its line to the error log, starting the file with its header when there is none. Never
  /// fails: a taken key appends nothing; a file that cannot be written keeps the record only.
  void Add(const std::string& strObject, const std::string& strProcedure, const Variant& vntNumber,
           const std::string& strDescription, const std::string& strKey = "") noexcept;

  /// The error log line of a record: stamp, object, procedure, number and description.
  static std::string recordLine(const clsError& record);

 private:
  void appendToLog(const std::string& line);

  std::shared_ptr<FileSystem> fileSystem_;
  Observer observer_;
};

}  // namespace dks
