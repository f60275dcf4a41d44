// make_maildir: writes a synthetic Maildir for benchmarks and demos.
//
//   make_maildir [--layout fs|maildir++] [--messages N] [--first K] [--seed S] [--start T] DIR
//
// The same arguments give a byte-identical tree: file names, contents and modification times
// come from the arguments alone. Message k (K to K+N-1) is delivered at 2026-01-05 08:00 UTC +
// (k-1)*37 minutes plus a few seconds; its file is named "<delivery>.M<k>P<S>.bench", and its
// modification time is the delivery time. A second call with --first past the first call's
// messages adds new mail beside it under new names.
//
// Folders, about 65% of the messages in the Inbox, 20% in "Sent" and 15% in sub-folders of the
// Inbox:
//   fs:         DIR/Inbox/{cur,new,tmp}, DIR/Sent, DIR/Inbox/Projects, DIR/Inbox/Projects/2026,
//               DIR/Inbox/Receipts, DIR/Inbox/Receipts/Übersicht (UTF-8 name),
//               DIR/Inbox/Lists/dev (DIR/Inbox/Lists is a plain directory, not a Maildir)
//   maildir++:  DIR is the Inbox; DIR/.Sent, DIR/.INBOX.Projects, DIR/.INBOX.Projects.2026,
//               DIR/.INBOX.Receipts, DIR/.INBOX.Receipts.&ANw-bersicht ("Übersicht" in
//               modified UTF-7), DIR/.INBOX.Lists.dev (no .INBOX.Lists); each sub-folder holds
//               an empty "maildirfolder" file.
//
// Messages: Return-Path, Delivered-To and a folded Received header on received mail; From, To
// (sometimes folded over two lines), sometimes Cc, Subject, Date (RFC 5322, in zones from -0800
// to +0900, "GMT", "-0000" and "+0100 (CET)", the day with one or two digits), Message-ID,
// MIME-Version and a text/plain Content-Type. Subjects are plain ASCII for most; about 15% are
// RFC 2047 encoded words (UTF-8, B and Q: German, French, Japanese, emoji; a long one split
// into several words); about 10% are long and folded over two or three lines; about 1% carry
// unencoded ISO-8859-1 bytes. A quarter of the messages answer one of the few before them
// (In-Reply-To, a folded References chain, "Re:" subject), 3% forward an earlier subject
// ("Fwd:"). About 5% carry Thread-Topic and a base64 Thread-Index (Outlook), 3% a Sensitivity
// header (Personal, Private, Company-Confidential). About 10% use CR LF line ends throughout.
// In every 1,000 messages of one call, the 8th has no Date header and the 14th an unparsable
// one. Bodies are plain text from 300 bytes to 6 KiB, replies with a quoted part.
//
// Flags: about 5% of received mail sits in new/ without an info part; the rest in cur/ with ":2,"
// and flags: mostly "S", some "RS", "FS", "FRS" and none, "DS" in Sent. About 30% of the names
// carry Dovecot's ",S=<size>,W=<size with CR LF>" and 10% mbsync's ",U=<k>" before the info part.
//
// Files that are not messages and are not counted: "<base>.M0P<S>.bench" with an unfinished
// header in every folder's tmp/, a dot-file that looks like a message in the Inbox's cur/, and
// "dovecot-uidlist" beside the Inbox's cur/.
//
// Prints one line: the message count and the messages per folder.

#include <CLI/CLI.hpp>
#include <iostream>

#include "bench/MaildirWriter.h"

int main(int argc, char** argv) {
  CLI::App app{"Writes a synthetic Maildir; the same arguments give the same tree.",
               "make_maildir"};
  std::string layout = "fs";
  dks::MaildirWriterOptions options;
  std::string dir;
  app.add_option("--layout", layout, "fs (one directory per folder) or maildir++")
      ->check(CLI::IsMember({"fs", "maildir++"}))
      ->capture_default_str();
  app.add_option("--messages", options.messages, "how many messages to write")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  app.add_option("--first", options.first, "the number of the first message")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  app.add_option("--seed", options.seed, "varies names and contents")->capture_default_str();
  app.add_option("--start", options.start,
                 "the Date of message 1 as Unix time; each further message is 37 minutes later, "
                 "so a large store should start early enough to end in the past")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  app.add_option("DIR", dir, "the Maildir to write (created when missing)")->required();
  CLI11_PARSE(app, argc, argv);

  options.layout = layout == "fs" ? dks::MaildirLayout::kFs : dks::MaildirLayout::kMaildirPlusPlus;
  dks::MaildirWriter writer(options);
  std::string err;
  if (!writer.write(dir, &err)) {
    std::cerr << "make_maildir: " << err << "\n";
    return 1;
  }
  std::cout << writer.summary() << "\n";
  return 0;
}
