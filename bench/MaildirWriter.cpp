#include "bench/MaildirWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <utility>

namespace dks {
namespace {

// The time of the files that are not messages.
constexpr int64_t kBaseTime = kMaildirWriterDefaultStart;

struct FolderShape {
  const char* name;
  const char* fsDirectory;
  const char* plusPlusDirectory;  // modified UTF-7 for the non-ASCII name
  int percent;                    // share of the messages
};

// Inbox/Lists has no messages and, in either layout, no Maildir of its own.
constexpr FolderShape kFolders[] = {
    {"Inbox", "Inbox", "", 65},
    {"Sent", "Sent", ".Sent", 20},
    {"Inbox/Projects", "Inbox/Projects", ".INBOX.Projects", 4},
    {"Inbox/Projects/2026", "Inbox/Projects/2026", ".INBOX.Projects.2026", 3},
    {"Inbox/Receipts", "Inbox/Receipts", ".INBOX.Receipts", 3},
    {"Inbox/Receipts/Übersicht", "Inbox/Receipts/Übersicht", ".INBOX.Receipts.&ANw-bersicht", 2},
    {"Inbox/Lists/dev", "Inbox/Lists/dev", ".INBOX.Lists.dev", 3},
};
constexpr size_t kInbox = 0;
constexpr size_t kSent = 1;

// ---- Deterministic choices: every decision about message k is a hash of (seed, k, decision),
// so a message does not depend on the messages written before it.

uint64_t mix(uint64_t x) {  // splitmix64
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

enum class Choice : uint64_t {
  kFolder = 1,
  kNewMail,
  kFlags,
  kFileFields,
  kLineEnds,
  kThread,
  kThreadGap,
  kSubjectKind,
  kSubjectText,
  kSubjectNumber,
  kCorrespondent,
  kCopy,
  kZone,
  kDayForm,
  kSeconds,
  kDelay,
  kOutlook,
  kSensitivity,
  kMessageId,
  kBody,
};

class Dice {
 public:
  Dice(uint64_t seed, int64_t k) : base_(mix(mix(seed) ^ static_cast<uint64_t>(k))) {}
  uint64_t raw(Choice choice) const { return mix(base_ ^ mix(static_cast<uint64_t>(choice))); }
  int percent(Choice choice) const { return static_cast<int>(raw(choice) % 100); }
  size_t pick(Choice choice, size_t count) const { return raw(choice) % count; }

 private:
  uint64_t base_;
};

template <class T, size_t N>
const T& pickFrom(const Dice& dice, Choice choice, const T (&items)[N]) {
  return items[dice.pick(choice, N)];
}

// ---- People, subjects, dates.

struct Person {
  const char* header;  // as it appears in From, To and Cc
  const char* address;
  const char* firstName;
};

constexpr Person kOwner = {"Alex Example <alex@example.org>", "alex@example.org", "Alex"};
constexpr Person kPeople[] = {
    {"Bob Smith <bob.smith@example.com>", "bob.smith@example.com", "Bob"},
    {"\"Dubois, Marie\" <marie.dubois@example.fr>", "marie.dubois@example.fr", "Marie"},
    {"=?UTF-8?Q?J=C3=BCrgen_M=C3=BCller?= <juergen.mueller@example.de>",
     "juergen.mueller@example.de", "Jürgen"},
    {"Tanaka Taro <tanaka@example.jp>", "tanaka@example.jp", "Tanaka-san"},
    {"Priya Raman <priya.raman@example.in>", "priya.raman@example.in", "Priya"},
    {"Build Bot <noreply@ci.example.com>", "noreply@ci.example.com", "team"},
    {"billing@shop.example.net", "billing@shop.example.net", "customer"},
    {"Dev List <dev@lists.example.org>", "dev@lists.example.org", "all"},
};

constexpr const char* kShortSubjects[] = {
    "Lunch on Friday?",       "Invoice",
    "Meeting notes",          "Build failed on main",
    "Your order has shipped", "Question about the release",
    "Holiday schedule",       "Quick call",
    "Updated slides",         "Welcome aboard",
    "Weekly report",          "Server maintenance tonight",
};
constexpr const char* kLongSubjects[] = {
    "Quarterly planning: budget review, hiring plan, office move and the new on-call rotation "
    "for the platform team",
    "Action required: please confirm your attendance for the annual partner conference in Lyon "
    "before the end of the month, including travel dates, dietary requirements and the hotel "
    "you would prefer",
    "Minutes of the steering committee meeting held on Tuesday with decisions on the document "
    "archive migration",
};
// Unencoded ISO-8859-1, as old mail programs sent it.
constexpr const char* kLatin1Subjects[] = {
    "Angebot f\xFCr die Stra\xDF"
    "enreinigung",
    "R\xE9sum\xE9 de la r\xE9union",
};
struct EncodedText {
  const char* utf8;
  char encoding;  // 'B' or 'Q'
};
constexpr EncodedText kEncodedSubjects[] = {
    {"Grüße aus München", 'Q'},
    {"Réunion d'équipe à 14h — ordre du jour", 'Q'},
    {"Überweisung bestätigt: Rechnung Nr. 4711", 'Q'},
    {"会議の議事録と来週の予定について", 'B'},
    {"🎉 Release 2.0 ist da! 🚀", 'B'},
    {"Ça marche, à bientôt", 'B'},
    {"日本語の長い件名です。複数のエンコードされた単語に分割されます", 'B'},
};

struct Zone {
  const char* text;
  int minutes;
};
constexpr Zone kZones[] = {
    {"+0000", 0},    {"+0100", 60},  {"+0100 (CET)", 60}, {"+0200", 120}, {"-0500", -300},
    {"-0800", -480}, {"+0900", 540}, {"+0530", 330},      {"GMT", 0},     {"-0000", 0},
};

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string rfc5322Date(int64_t time, const Zone& zone, bool twoDigitDay) {
  std::time_t shifted = static_cast<std::time_t>(time + zone.minutes * 60);
  std::tm parts{};
  gmtime_r(&shifted, &parts);
  char text[64];
  std::snprintf(
      text, sizeof text,
      twoDigitDay ? "%s, %02d %s %04d %02d:%02d:%02d %s" : "%s, %d %s %04d %02d:%02d:%02d %s",
      kDays[parts.tm_wday], parts.tm_mday, kMonths[parts.tm_mon], parts.tm_year + 1900,
      parts.tm_hour, parts.tm_min, parts.tm_sec, zone.text);
  return text;
}

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                 static_cast<uint8_t>(bytes[i + 2]);
    for (int shift : {18, 12, 6, 0}) out += kAlphabet[(n >> shift) & 63];
  }
  if (i < bytes.size()) {
    uint32_t n = static_cast<uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += kAlphabet[(n >> 18) & 63];
    out += kAlphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string quotedPrintableWord(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    auto byte = static_cast<uint8_t>(c);
    if (c == ' ') {
      out += '_';
    } else if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
               (byte >= 'a' && byte <= 'z') || c == '.' || c == ',' || c == '!') {
      out += c;
    } else {
      static constexpr char kHex[] = "0123456789ABCDEF";
      out += '=';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

// `utf8` as RFC 2047 encoded words of at most about 60 characters each, split between
// characters; adjacent encoded words joined by folding white space decode as one text.
std::vector<std::string> encodedWords(std::string_view utf8, char encoding) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < utf8.size()) {
    size_t end = start;
    std::string word;
    while (end < utf8.size()) {
      size_t next = end + 1;
      while (next < utf8.size() && (static_cast<uint8_t>(utf8[next]) & 0xC0) == 0x80) ++next;
      std::string_view chunk = utf8.substr(start, next - start);
      std::string candidate = encoding == 'B' ? base64(chunk) : quotedPrintableWord(chunk);
      if (!word.empty() && candidate.size() > 48) break;
      word = std::move(candidate);
      end = next;
    }
    words.push_back(std::string("=?UTF-8?") + encoding + "?" + word + "?=");
    start = end;
  }
  return words;
}

std::vector<std::string> splitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// A header line holding `words` separated by spaces, folded before a word that would take the
// line past 78 characters.
std::string foldedHeader(std::string_view name, const std::vector<std::string>& words) {
  std::string out(name);
  out += ':';
  size_t lineLength = out.size();
  bool lineHasWord = false;
  for (const std::string& word : words) {
    if (lineHasWord && lineLength + 1 + word.size() > 78) {
      out += '\n';
      lineLength = 0;
    }
    out += ' ';
    out += word;
    lineLength += 1 + word.size();
    lineHasWord = true;
  }
  out += '\n';
  return out;
}

// ---- One message.

struct Subject {
  std::vector<std::string> words;
  bool latin1 = false;
};

class MessageComposer {
 public:
  MessageComposer(uint64_t seed, int64_t start) : seed_(seed), start_(start) {}

  size_t folderOf(int64_t k) const {
    int percent = Dice(seed_, k).percent(Choice::kFolder);
    for (size_t f = 0; f < std::size(kFolders); ++f) {
      if (percent < kFolders[f].percent) return f;
      percent -= kFolders[f].percent;
    }
    return kInbox;
  }

  // The message k answers, or 0.
  int64_t parentOf(int64_t k) const {
    Dice dice(seed_, k);
    if (dice.percent(Choice::kThread) >= 25) return 0;
    int64_t parent = k - 1 - static_cast<int64_t>(dice.pick(Choice::kThreadGap, 6));
    return parent >= 1 ? parent : 0;
  }

  // The message k forwards, or 0.
  int64_t forwardedBy(int64_t k) const {
    Dice dice(seed_, k);
    int percent = dice.percent(Choice::kThread);
    if (percent < 25 || percent >= 28) return 0;
    int64_t source = k - 1 - static_cast<int64_t>(dice.pick(Choice::kThreadGap, 20));
    return source >= 1 ? source : 0;
  }

  // The messages k answers, from the thread's first message to k's parent.
  std::vector<int64_t> ancestorsOf(int64_t k) const {
    std::vector<int64_t> chain;
    for (int64_t parent = parentOf(k); parent != 0; parent = parentOf(parent))
      chain.insert(chain.begin(), parent);
    return chain;
  }

  std::string messageId(int64_t k) const {
    char text[80];
    std::snprintf(text, sizeof text, "<%012llx.%lld@mx.example.net>",
                  static_cast<unsigned long long>(Dice(seed_, k).raw(Choice::kMessageId) >> 16),
                  static_cast<long long>(k));
    return text;
  }

  // The subject a thread starts with: plain ASCII, encoded words, a long one or legacy 8-bit.
  Subject threadSubject(int64_t k) const {
    Dice dice(seed_, k);
    int kind = dice.percent(Choice::kSubjectKind);
    if (kind == 0) return {splitWords(pickFrom(dice, Choice::kSubjectText, kLatin1Subjects)), true};
    if (kind <= 15) {
      const EncodedText& text = pickFrom(dice, Choice::kSubjectText, kEncodedSubjects);
      return {encodedWords(text.utf8, text.encoding)};
    }
    if (kind <= 25) return {splitWords(pickFrom(dice, Choice::kSubjectText, kLongSubjects))};
    auto words = splitWords(pickFrom(dice, Choice::kSubjectText, kShortSubjects));
    if (kind % 2 == 0)
      words.push_back("#" + std::to_string(100 + dice.raw(Choice::kSubjectNumber) % 9900));
    return {words};
  }

  int64_t dateTime(int64_t k) const {
    return start_ + (k - 1) * kMaildirWriterSpacing +
           static_cast<int64_t>(Dice(seed_, k).pick(Choice::kSeconds, 60));
  }

  const Person& correspondentOf(int64_t k) const {
    return pickFrom(Dice(seed_, k), Choice::kCorrespondent, kPeople);
  }

  // `index` counts the messages of this call from 0; it places the two Date faults.
  std::string compose(int64_t k, int64_t index, size_t folder, int64_t delivery) const {
    Dice dice(seed_, k);
    const bool sent = folder == kSent;
    const Person& other = correspondentOf(k);
    const Person& from = sent ? kOwner : other;
    const Person& to = sent ? other : kOwner;
    const std::vector<int64_t> ancestors = ancestorsOf(k);
    const int64_t root = ancestors.empty() ? k : ancestors.front();
    const int64_t forwarded = ancestors.empty() ? forwardedBy(k) : 0;

    Subject topic = threadSubject(forwarded != 0 ? forwarded : root);
    std::vector<std::string> subjectWords;
    if (!ancestors.empty()) subjectWords.push_back("Re:");
    if (forwarded != 0) subjectWords.push_back("Fwd:");
    subjectWords.insert(subjectWords.end(), topic.words.begin(), topic.words.end());

    std::string h;
    if (!sent) {
      h += std::string("Return-Path: <") + from.address + ">\n";
      h += std::string("Delivered-To: ") + kOwner.address + "\n";
      char received[200];
      std::snprintf(received, sizeof received,
                    "Received: from mail.example.net (mail.example.net [192.0.2.%d])\n"
                    "\tby mx.example.org (Postfix) with ESMTPS id %08llX\n"
                    "\tfor <%s>; ",
                    static_cast<int>(k % 250 + 1),
                    static_cast<unsigned long long>(dice.raw(Choice::kMessageId) & 0xFFFFFFFF),
                    kOwner.address);
      h += received + rfc5322Date(delivery, kZones[0], true) + "\n";
    }
    h += std::string("From: ") + from.header + "\n";
    h += std::string("To: ") + to.header;
    if (dice.percent(Choice::kCopy) < 15) h += std::string(",\n ") + kPeople[k % 5].header;
    h += "\n";
    if (dice.percent(Choice::kCopy) >= 90) h += std::string("Cc: ") + kPeople[4].header + "\n";
    h += foldedHeader("Subject", subjectWords);
    const int64_t dateFault = index % 1000;
    if (dateFault == 13) {
      h += "Date: sometime last week\n";
    } else if (dateFault != 7) {
      h += "Date: " +
           rfc5322Date(dateTime(k), pickFrom(dice, Choice::kZone, kZones),
                       dice.percent(Choice::kDayForm) < 70) +
           "\n";
    }
    h += "Message-ID: " + messageId(k) + "\n";
    if (!ancestors.empty()) {
      h += "In-Reply-To: " + messageId(ancestors.back()) + "\n";
      std::vector<std::string> references;
      size_t firstShown = ancestors.size() > 10 ? ancestors.size() - 10 : 0;
      for (size_t i = firstShown; i < ancestors.size(); ++i)
        references.push_back(messageId(ancestors[i]));
      h += foldedHeader("References", references);
    }
    if (dice.percent(Choice::kOutlook) < 5) {
      h += foldedHeader("Thread-Topic", topic.words);
      std::string index(22 + 5 * ancestors.size(), '\0');
      for (size_t i = 0; i < index.size(); ++i)
        index[i] = static_cast<char>(mix(seed_ ^ static_cast<uint64_t>(i < 22 ? root : k) ^ i));
      h += "Thread-Index: " + base64(index) + "\n";
      h += "X-Mailer: Microsoft Outlook 16.0\n";
    }
    int sensitivity = dice.percent(Choice::kSensitivity);
    if (sensitivity < 3) {
      static constexpr const char* kSensitivities[] = {"Personal", "Private",
                                                       "Company-Confidential"};
      h += std::string("Sensitivity: ") + kSensitivities[sensitivity] + "\n";
    }
    h += "MIME-Version: 1.0\n";
    h += std::string("Content-Type: text/plain; charset=") +
         (topic.latin1 ? "iso-8859-1" : "utf-8") + "\n";
    h += "Content-Transfer-Encoding: 8bit\n";

    std::string message = h + "\n" + body(dice, to, ancestors.empty() ? 0 : ancestors.back());
    if (dice.percent(Choice::kLineEnds) < 10) {
      std::string crlf;
      crlf.reserve(message.size() + message.size() / 40);
      for (char c : message) {
        if (c == '\n') crlf += '\r';
        crlf += c;
      }
      message = std::move(crlf);
    }
    return message;
  }

 private:
  std::string body(const Dice& dice, const Person& to, int64_t parent) const {
    static constexpr const char* kWords[] = {
        "the",     "report",   "attached", "please",    "review", "before",  "our",     "meeting",
        "we",      "should",   "discuss",  "budget",    "and",    "plan",    "for",     "next",
        "quarter", "customer", "asked",    "about",     "a",      "new",     "release", "date",
        "thanks",  "again",    "document", "archive",   "server", "update",  "is",      "ready",
        "let",     "me",       "know",     "if",        "you",    "have",    "any",     "questions",
        "team",    "schedule", "invoice",  "payment",   "due",    "shipped", "today",   "tomorrow",
        "in",      "the",      "office",   "migration", "draft",  "final",   "version", "notes",
    };
    uint64_t state = dice.raw(Choice::kBody);
    auto next = [&state] { return state = mix(state); };
    const int sizeClass = static_cast<int>(next() % 100);
    const size_t target = sizeClass < 60   ? 300 + next() % 900
                          : sizeClass < 90 ? 1200 + next() % 1800
                                           : 3000 + next() % 3000;

    std::string text = std::string("Hi ") + to.firstName + ",\n\n";
    std::string line;
    int linesInParagraph = 0;
    bool sentenceStart = true;
    while (text.size() + line.size() < target) {
      std::string word = kWords[next() % std::size(kWords)];
      if (sentenceStart) word[0] = static_cast<char>(word[0] - 'a' + 'A');
      sentenceStart = next() % 9 == 0;
      if (sentenceStart) word += '.';
      if (!line.empty() && line.size() + 1 + word.size() > 72) {
        text += line + "\n";
        line.clear();
        ++linesInParagraph;
      }
      line += (line.empty() ? "" : " ") + word;
      if (sentenceStart && linesInParagraph >= 4) {
        text += line + "\n\n";
        line.clear();
        linesInParagraph = 0;
      }
    }
    text += line.empty() ? "" : line + (sentenceStart ? "\n\n" : ".\n\n");
    if (parent != 0) {
      text += "On " + rfc5322Date(dateTime(parent), kZones[0], true) + ", " +
              correspondentOf(parent).address + " wrote:\n";
      for (int i = 0; i < 4; ++i)
        text += "> " + std::string(kWords[next() % std::size(kWords)]) + " " +
                kWords[next() % std::size(kWords)] + " ...\n";
      text += "\n";
    }
    text += "-- \nsent from the benchmark mail writer\n";
    return text;
  }

  uint64_t seed_;
  int64_t start_;
};

// ---- Files.

bool fail(const std::string& path, std::string* err) {
  *err = "cannot write '" + path + "': " + std::strerror(errno);
  return false;
}

bool writeFile(const std::string& path, std::string_view bytes, int64_t mtime, std::string* err) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return fail(path, err);
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      errno = error;
      return fail(path, err);
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) return fail(path, err);
  const timespec times[2] = {{static_cast<std::time_t>(mtime), 0},
                             {static_cast<std::time_t>(mtime), 0}};
  if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) return fail(path, err);
  return true;
}

bool makeDirectories(const std::string& path, std::string* err) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (!error) return true;
  *err = "cannot create '" + path + "': " + error.message();
  return false;
}

std::string fileFlags(const Dice& dice, bool sent) {
  int percent = dice.percent(Choice::kFlags);
  if (sent) return percent < 85 ? "S" : percent < 95 ? "DS" : "";
  return percent < 70 ? "S" : percent < 80 ? "RS" : percent < 88 ? "FS" : percent < 95 ? "" : "FRS";
}

}  // namespace

MaildirWriter::MaildirWriter(MaildirWriterOptions options) : options_(options) {
  for (const FolderShape& shape : kFolders) {
    folders_.push_back(
        {shape.name,
         options_.layout == MaildirLayout::kFs ? shape.fsDirectory : shape.plusPlusDirectory, 0});
  }
}

bool MaildirWriter::write(const std::string& dir, std::string* err) {
  if (options_.messages < 0 || options_.first < 1) {
    *err = "the message count must not be negative and the first number must be 1 or more";
    return false;
  }
  const bool plusPlus = options_.layout == MaildirLayout::kMaildirPlusPlus;
  std::vector<std::string> paths;
  for (WrittenFolder& folder : folders_) {
    folder.messages = 0;
    paths.push_back(folder.directory.empty() ? dir : dir + "/" + folder.directory);
    for (const char* part : {"/cur", "/new", "/tmp"}) {
      if (!makeDirectories(paths.back() + part, err)) return false;
    }
  }

  // Files that are not messages: an unfinished delivery in each tmp/, a hidden file in the
  // Inbox's cur/, Dovecot's uid list and, in Maildir++, its sub-folder marks.
  const std::string seed = std::to_string(options_.seed);
  const std::string oddName = std::to_string(kBaseTime) + ".M0P" + seed + ".bench";
  const std::string partial =
      "Return-Path: <bob.smith@example.com>\nFrom: Bob Smith <bob.smith@example.com>\n"
      "Subject: still being delivered\n";
  for (size_t f = 0; f < paths.size(); ++f) {
    if (!writeFile(paths[f] + "/tmp/" + oddName, partial, kBaseTime, err)) return false;
    if (plusPlus && f != kInbox && !writeFile(paths[f] + "/maildirfolder", "", kBaseTime, err)) {
      return false;
    }
  }
  if (!writeFile(paths[kInbox] + "/cur/." + oddName + ":2,S",
                 partial + "Date: Mon, 05 Jan 2026 08:00:00 +0000\n\nNot a message.\n", kBaseTime,
                 err) ||
      !writeFile(paths[kInbox] + "/dovecot-uidlist",
                 "3 V" + std::to_string(kBaseTime) + " N1 G" + std::string(32, '0') + "\n",
                 kBaseTime, err)) {
    return false;
  }

  MessageComposer composer(options_.seed, options_.start);
  for (int64_t index = 0; index < options_.messages; ++index) {
    const int64_t k = options_.first + index;
    const Dice dice(options_.seed, k);
    const size_t folder = composer.folderOf(k);
    const bool sent = folder == kSent;
    const int64_t delivery = composer.dateTime(k) +
                             (sent ? 1 : 3 + static_cast<int64_t>(dice.pick(Choice::kDelay, 120)));
    const std::string message = composer.compose(k, index, folder, delivery);

    std::string name = std::to_string(delivery) + ".M" + std::to_string(k) + "P" + seed + ".bench";
    const int fields = dice.percent(Choice::kFileFields);
    if (fields < 30) {
      size_t bareLineFeeds = 0;
      for (size_t i = 0; i < message.size(); ++i)
        bareLineFeeds += message[i] == '\n' && (i == 0 || message[i - 1] != '\r');
      name += ",S=" + std::to_string(message.size()) +
              ",W=" + std::to_string(message.size() + bareLineFeeds);
    } else if (fields < 40) {
      name += ",U=" + std::to_string(k);
    }
    const bool isNew = !sent && dice.percent(Choice::kNewMail) < 5;  // sent mail is seen
    const std::string path =
        paths[folder] + (isNew ? "/new/" + name : "/cur/" + name + ":2," + fileFlags(dice, sent));
    if (!writeFile(path, message, delivery, err)) return false;
    ++folders_[folder].messages;
  }
  return true;
}

std::string MaildirWriter::summary() const {
  int64_t total = 0;
  std::string perFolder;
  for (const WrittenFolder& folder : folders_) {
    total += folder.messages;
    perFolder +=
        (perFolder.empty() ? "" : ", ") + folder.name + " " + std::to_string(folder.messages);
  }
  return std::to_string(total) + " messages: " + perFolder;
}

}  // namespace dks
