// MaildirWriter: writes a synthetic but realistic Maildir for benchmarks, demos and tests.
//
// The tree is a function of the options alone: no wall clock, process id or host name enters a
// file name, a byte or a modification time, so the same options give a byte-identical tree.
// Message k (counted from 1 across calls) is named "<delivery time>.M<k>P<seed>.bench", so a
// later call with `first` past the earlier messages adds new files beside them. What the
// messages look like is described at the top of make_maildir.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dks {

enum class MaildirLayout {
  kFs,               ///< DIR/Inbox, DIR/Sent, DIR/Inbox/Projects/...: one directory per folder
  kMaildirPlusPlus,  ///< DIR is the Inbox; DIR/.Sent, DIR/.INBOX.Projects, ...
};

/// Mon, 05 Jan 2026 08:00:00 UTC, the Date time of message 1 unless the options say otherwise.
inline constexpr int64_t kMaildirWriterDefaultStart = 1767600000;
/// Seconds from the Date time of message k to that of message k + 1, before a few seconds of
/// each message's own; its delivery (file name and modification time) follows within minutes.
inline constexpr int64_t kMaildirWriterSpacing = 37 * 60;

struct MaildirWriterOptions {
  MaildirLayout layout = MaildirLayout::kFs;
  int64_t messages = 100;  ///< how many messages this call writes
  int64_t first = 1;       ///< the number of the first of them, 1 or more
  uint64_t seed = 1;
  /// The Date time of message 1 (Unix time, 0 or more); message k is dated
  /// (k - 1) * kMaildirWriterSpacing later. Many messages from the default reach years ahead,
  /// and mail modified after a server's save counts as changed: write such stores from an
  /// earlier start.
  int64_t start = kMaildirWriterDefaultStart;
};

/// One mail folder of the tree and the messages a call wrote into it.
struct WrittenFolder {
  std::string name;  ///< the folder path as a mail client shows it: "Inbox/Receipts/Übersicht"
  std::string directory;  ///< its Maildir directory relative to DIR ("" for DIR itself)
  int64_t messages = 0;
};

class MaildirWriter {
 public:
  explicit MaildirWriter(MaildirWriterOptions options);

  /// Writes the messages into `dir` (created when missing), with the folders, the files that
  /// are not messages and the modification times. Existing files of the same names are
  /// replaced; others are left alone. On success returns true with folders() counting what
  /// was written. On failure returns false and sets *err to the file and the system's reason;
  /// the files written so far stay.
  bool write(const std::string& dir, std::string* err);

  /// Every folder of the layout, in a fixed order starting with the Inbox and the Sent folder,
  /// with the messages written into it by the last write().
  const std::vector<WrittenFolder>& folders() const { return folders_; }

  /// One line for people: the total and the messages per folder.
  std::string summary() const;

 private:
  MaildirWriterOptions options_;
  std::vector<WrittenFolder> folders_;
};

}  // namespace dks
