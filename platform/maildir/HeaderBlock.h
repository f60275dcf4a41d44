// The header block of a message file: the lines up to the first empty line. Only this block is
// ever read, never the body. The block is split into header fields here, and GMime decodes the
// fields the store needs (RFC 2047 encoded words, 8-bit text in a legacy charset, dates) from
// memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace dks {

/// The most bytes read of one header block; a longer block is cut there.
inline constexpr size_t kHeaderBlockLimit = size_t{1} << 20;

/// What the store takes from a message's header block. Decoded texts are valid UTF-8.
struct MessageHeaders {
  /// Subject, decoded; "" when there is none.
  std::string subject;
  /// Date; nullopt when there is none or it is not a date.
  std::optional<std::time_t> date;
  /// Sensitivity: "Personal" 1, "Private" 2, "Company-Confidential" 3 (letter case ignored);
  /// 0 for any other value or none.
  int32_t sensitivity = 0;
  /// Thread-Topic, decoded; nullopt when there is none.
  std::optional<std::string> threadTopic;
  /// The bytes of the base64 Thread-Index as upper-case hexadecimal; "" when there is none or
  /// it holds no bytes.
  std::string threadIndex;
  /// The Message-ID of the thread's first message, byte for byte with its angle brackets: the
  /// first id of References, else of In-Reply-To, else the message's own Message-ID; "" when
  /// the message has none of them.
  std::string threadRoot;
};

/// Reads the header block of the open message file `fd` from its current position (a file
/// just opened: its start): the bytes up to the first empty line (lines end in CR LF or LF),
/// that line left out; the whole file when it has no empty line; at most kHeaderBlockLimit
/// bytes. Throws Failure (Failure::fromErrno) when reading fails.
std::string readHeaderBlock(int fd);

/// The facts of the header block `block`. Header names compare ignoring letter case; of a
/// repeated header the first counts; folded lines are joined; a line that is not a header is
/// passed over. Encoded words are decoded and 8-bit text that is not UTF-8 is read as
/// Windows-1252. Never fails.
MessageHeaders parseHeaderBlock(std::string_view block);

}  // namespace dks
