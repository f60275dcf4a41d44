// MaildirListing: the message files of one folder as listed at one moment, in the order of
// their unique names. It holds only the names (one block of text for all of them), so a folder
// of 100,000 messages costs a few megabytes and no file is opened.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dks {

/// One message file of a folder: its name and whether it lies in cur/ (else new/).
struct MessageFile {
  std::string name;
  bool inCur = false;
};

class MaildirListing {
 public:
  /// The message files of the folder `directory`: the regular files in its new/ and cur/ whose
  /// names do not start with "." (tmp/ is never read). A missing new/ or cur/ counts as empty;
  /// "" gives an empty listing without looking at the disk. When one unique name stands in both
  /// (a file that moved while they were listed) or twice, one file counts: the one in cur/.
  /// Throws Failure (Failure::fromErrno) when a directory cannot be read.
  static std::shared_ptr<MaildirListing> list(const std::string& directory);

  /// The folder whose files these are.
  const std::string& directory() const { return directory_; }

  size_t size() const { return slots_.size(); }

  /// The file at `index` (0 to size() - 1), in byte order of the unique names.
  MessageFile file(size_t index) const;

  /// Where the message with the unique name `unique` lies now, for a file that has gone from
  /// where it was listed (a client that changes flags or moves new/ to cur/ renames it). The
  /// first call lists the folder once more; every later call answers from that second listing,
  /// so a folder is read at most twice however many files move. nullopt when the message is not
  /// in the folder any more. Throws Failure (Failure::fromErrno) when a directory cannot be
  /// read.
  std::optional<MessageFile> relocate(std::string_view unique);

 private:
  struct Slot {
    uint32_t offset;        // of the name in names_
    uint32_t length;        // of the whole name
    uint32_t uniqueLength;  // of its unique part
    bool inCur;
  };

  explicit MaildirListing(std::string directory) : directory_(std::move(directory)) {}
  void read();
  std::string_view nameOf(const Slot& slot) const {
    return {names_.data() + slot.offset, slot.length};
  }
  std::string_view uniqueOf(const Slot& slot) const {
    return {names_.data() + slot.offset, slot.uniqueLength};
  }

  std::string directory_;
  std::string names_;
  std::vector<Slot> slots_;
  std::unique_ptr<MaildirListing> relisted_;
};

}  // namespace dks
