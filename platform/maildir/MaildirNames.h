// The names a Maildir store uses: message file names with their unique part, delivery time and
// flags, folder names in modified UTF-7, and the hexadecimal form in which names become ids.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace dks {

/// The unique name of the message file `fileName`: the name up to its first "," or ":". It
/// leaves out the info part (":2,FLAGS") and the fields that delivery and sync agents add
/// (",S=", ",W=", ",U=", ",FMD5="), so it stays the same when flags change or the file moves.
std::string_view uniqueName(std::string_view fileName);

/// The flag letters of `fileName`: what follows ":2,", or "" when the name has no such part.
std::string_view flagsOf(std::string_view fileName);

/// The delivery time at the start of a unique name ("1700000000.M1P2.host", OfflineIMAP's
/// "1700000000_0.1234.host"): its leading decimal digits when one to eleven of them stand
/// before a ".", a "_" or the end; nullopt otherwise.
std::optional<std::time_t> deliveryTime(std::string_view uniqueName);

/// The bytes as upper-case hexadecimal, two digits a byte.
std::string hexOf(std::string_view bytes);

/// The bytes written as hexadecimal (digits in either case); nullopt for an odd length or a
/// character that is not a hexadecimal digit.
std::optional<std::string> bytesOfHex(std::string_view hex);

/// A folder name in IMAP's modified UTF-7 (RFC 3501, 5.1.3: "&" starts a run of modified base64
/// of UTF-16, "-" ends it, "&-" is "&") as UTF-8. A name that is not well-formed modified UTF-7
/// (an 8-bit byte, an unfinished run, a lone surrogate) is returned as it is on disk, with bytes
/// that are not UTF-8 read as Windows-1252.
std::string decodeFolderName(std::string_view name);

}  // namespace dks
