#include "frontends/cli/message_prefix.h"

#include <iostream>
#include <mutex>
#include <streambuf>

namespace plexo::cli {

// Unbuffered: every character or piece goes on to the stream it wraps at once, so that the
// order with C stdio writes to stderr (the progress bar) is kept.
class MessagePrefix::Buffer : public std::streambuf {
 public:
  Buffer(std::streambuf* target, std::string prefix)
      : target_(target), prefix_(std::move(prefix)) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    std::lock_guard<std::mutex> lock(mutex_);
    std::streamsize done = 0;
    while (done < count) {
      if (at_line_start_ && text[done] != '\n') {
        const auto length = static_cast<std::streamsize>(prefix_.size());
        if (target_->sputn(prefix_.data(), length) != length) return done;
      }
      // The rest of this line, its line end included.
      std::streamsize end = done;
      while (end < count && text[end] != '\n') ++end;
      const bool ends_line = end < count;
      if (ends_line) ++end;
      if (target_->sputn(text + done, end - done) != end - done) return done;
      at_line_start_ = ends_line;
      done = end;
    }
    return done;
  }

  int sync() override { return target_->pubsync(); }

 private:
  std::streambuf* target_;
  std::string prefix_;
  std::mutex mutex_;
  bool at_line_start_ = true;
};

MessagePrefix::MessagePrefix(std::string prefix) {
  if (dynamic_cast<Buffer*>(std::cerr.rdbuf()) != nullptr) return;
  buffer_ = std::make_unique<Buffer>(std::cerr.rdbuf(), std::move(prefix));
  previous_ = std::cerr.rdbuf(buffer_.get());
}

MessagePrefix::~MessagePrefix() {
  if (!buffer_) return;
  std::cerr.flush();
  std::cerr.rdbuf(previous_);
}

}  // namespace plexo::cli
