#include "platform/maildir/MaildirItem.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/maildir/MaildirFolder.h"
#include "platform/maildir/MaildirNames.h"

namespace dks {
namespace {

enum class Member {
  kEntryID,
  kSubject,
  kSentOn,
  kReceivedTime,
  kCreationTime,
  kLastModificationTime,
  kSize,
  kUnRead,
  kSent,
  kSaved,
  kSubmitted,
  kSensitivity,
  kConversationTopic,
  kConversationIndex,
  kMessageClass,
  kParent,
};

std::optional<Member> memberNamed(std::string_view name) {
  // A short scan without allocation: names are read for every member of every item.
  static constexpr std::pair<std::string_view, Member> kMembers[] = {
      {"EntryID", Member::kEntryID},
      {"Subject", Member::kSubject},
      {"SentOn", Member::kSentOn},
      {"ReceivedTime", Member::kReceivedTime},
      {"CreationTime", Member::kCreationTime},
      {"LastModificationTime", Member::kLastModificationTime},
      {"Size", Member::kSize},
      {"UnRead", Member::kUnRead},
      {"Sent", Member::kSent},
      {"Saved", Member::kSaved},
      {"Submitted", Member::kSubmitted},
      {"Sensitivity", Member::kSensitivity},
      {"ConversationTopic", Member::kConversationTopic},
      {"ConversationIndex", Member::kConversationIndex},
      {"MessageClass", Member::kMessageClass},
      {"Parent", Member::kParent}};
  // Callers spell the names as they are written here: an exact match first, and only when
  // there is none the comparison that ignores letter case.
  for (const auto& [spelled, member] : kMembers)
    if (name == spelled) return member;
  for (const auto& [spelled, member] : kMembers)
    if (equalsIgnoreCase(name, spelled)) return member;
  return std::nullopt;
}

// The subject without the reply and forward prefixes that mail clients put before it.
std::string topicOf(std::string_view subject) {
  for (bool stripped = true; stripped;) {
    stripped = false;
    for (std::string_view prefix : {"Re:", "Fw:", "Fwd:"}) {
      if (subject.size() < prefix.size() ||
          !equalsIgnoreCase(subject.substr(0, prefix.size()), prefix))
        continue;
      subject.remove_prefix(prefix.size());
      while (!subject.empty() && subject.front() == ' ') subject.remove_prefix(1);
      stripped = true;
    }
  }
  return std::string(subject);
}

std::string md5Hex(std::string_view bytes) {
  gchar* digest = g_compute_checksum_for_data(
      G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(bytes.data()), bytes.size());
  std::string hex = upperCase(digest);
  g_free(digest);
  return hex;
}

class FileCloser {
 public:
  explicit FileCloser(int fd) : fd_(fd) {}
  ~FileCloser() { ::close(fd_); }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;

 private:
  int fd_;
};

}  // namespace

MaildirItem::MaildirItem(std::shared_ptr<MaildirFolder> folder,
                         std::shared_ptr<MaildirListing> listing, MessageFile file)
    : folder_(std::move(folder)), listing_(std::move(listing)), file_(std::move(file)) {}

OutlookValue MaildirItem::Get(std::string_view name) {
  std::optional<Member> member = memberNamed(name);
  if (!member) throw Failure::notSupported();
  switch (*member) {
    case Member::kEntryID:
      return entryID();
    case Member::kSubject:
      return headers().subject;
    case Member::kSentOn:
      if (!headers().date) throw Failure::propertyNotFound();
      return OutlookDate{*headers().date};
    case Member::kReceivedTime:
    case Member::kCreationTime:
      if (std::optional<std::time_t> delivered = deliveryTime(unique()))
        return OutlookDate{*delivered};
      return OutlookDate{facts().modified};
    case Member::kLastModificationTime:
      return OutlookDate{std::max(facts().modified, facts().changed)};
    case Member::kSize:
      if (facts().size > std::numeric_limits<int32_t>::max()) throw Failure::overflow();
      return static_cast<int32_t>(facts().size);
    case Member::kUnRead:
      return !hasFlag('S');
    case Member::kSent:
      return !hasFlag('D');
    case Member::kSaved:
      return true;
    case Member::kSubmitted:
      return false;
    case Member::kSensitivity:
      return headers().sensitivity;
    case Member::kConversationTopic:
      if (headers().threadTopic) return *headers().threadTopic;
      return topicOf(headers().subject);
    case Member::kConversationIndex:
      if (!headers().threadIndex.empty()) return headers().threadIndex;
      return md5Hex(headers().threadRoot.empty() ? entryID() : headers().threadRoot);
    case Member::kMessageClass:
      return std::string("IPM.Note");
    case Member::kParent:
      return OutlookRef(folder_);
  }
  throw Failure::notSupported();
}

std::string MaildirItem::DefaultValue() {
  throw Failure::notSupported();
}

MaildirItem::FileFacts MaildirItem::factsOf(const struct stat& info) {
  return {info.st_size, info.st_mtim.tv_sec, info.st_ctim.tv_sec};
}

std::string_view MaildirItem::unique() const {
  return uniqueName(file_.name);
}

std::string MaildirItem::entryID() const {
  return hexOf(unique());
}

std::string MaildirItem::path() const {
  return listing_->directory() + (file_.inCur ? "/cur/" : "/new/") + file_.name;
}

bool MaildirItem::hasFlag(char flag) const {
  return file_.inCur && flagsOf(file_.name).find(flag) != std::string_view::npos;
}

// Runs `access` (a system call that returns -1 and sets errno on failure) on the file's path.
// When the file is not there, looks for the message once in the folder again and retries.
template <class Access>
int MaildirItem::onFile(Access access) {
  if (gone_) throw Failure::objectNotFound();
  int result = access(path().c_str());
  if (result < 0 && errno == ENOENT && !looked_) {
    looked_ = true;
    if (std::optional<MessageFile> moved = listing_->relocate(unique())) {
      file_ = std::move(*moved);
      result = access(path().c_str());
    }
  }
  if (result >= 0) return result;
  if (errno != ENOENT && errno != ENOTDIR) throw Failure::fromErrno(errno);
  gone_ = true;
  throw Failure::objectNotFound();
}

const MaildirItem::FileFacts& MaildirItem::facts() {
  if (!facts_) {
    struct stat info;
    onFile([&](const char* file) { return ::stat(file, &info); });
    facts_ = factsOf(info);
  }
  return *facts_;
}

const MessageHeaders& MaildirItem::headers() {
  if (!headers_) {
    int fd = onFile([](const char* file) { return ::open(file, O_RDONLY | O_CLOEXEC); });
    FileCloser closer(fd);
    if (!facts_) {
      struct stat info;
      if (::fstat(fd, &info) != 0) throw Failure::fromErrno(errno);
      facts_ = factsOf(info);
    }
    headers_ = parseHeaderBlock(readHeaderBlock(fd));
  }
  return *headers_;
}

}  // namespace dks
