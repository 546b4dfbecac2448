#pragma once
// Every line the program writes to std::cerr starts with "plexo: ", as the messages of the
// command-line tools beside it do, so that a message in a script's log says where it came from.
// The prefix is added here, once, for every message of every command (the host's messages, the
// commands' own lines, the file routines' error line); texts quoted inside a message stay as
// they are. Empty lines get no prefix. Writes from several threads do not mix up the prefix.
#include <iosfwd>
#include <memory>
#include <string>

namespace plexo::cli {

class MessagePrefix {
 public:
  // Installs the prefix on std::cerr until destroyed; does nothing where one is installed.
  explicit MessagePrefix(std::string prefix = "plexo: ");
  ~MessagePrefix();
  MessagePrefix(const MessagePrefix&) = delete;
  MessagePrefix& operator=(const MessagePrefix&) = delete;

  class Buffer;

 private:
  std::unique_ptr<Buffer> buffer_;
  std::streambuf* previous_ = nullptr;
};

}  // namespace plexo::cli
