#pragma once
// What one rank tells another, packed into bytes: integers, texts and arrays of doubles, read
// back in the order they were written. Both ends are the same program on machines of one kind.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace plexo::distributed {

class ByteWriter {
 public:
  void Int(int64_t value) { Raw(&value, sizeof value); }
  void Text(const std::string& text) {
    Int(static_cast<int64_t>(text.size()));
    Raw(text.data(), text.size());
  }
  void Texts(const std::vector<std::string>& texts) {
    Int(static_cast<int64_t>(texts.size()));
    for (const std::string& text : texts) Text(text);
  }
  void Doubles(const std::vector<double>& values, int count) {
    Raw(values.data(), sizeof(double) * static_cast<size_t>(count));
  }
  std::string& Bytes() { return bytes_; }

 private:
  void Raw(const void* data, size_t size) { bytes_.append(static_cast<const char*>(data), size); }
  std::string bytes_;
};

// Reads what a ByteWriter wrote; a short buffer reads as zeros and empty texts.
class ByteReader {
 public:
  explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}
  int64_t Int() {
    int64_t value = 0;
    Raw(&value, sizeof value);
    return value;
  }
  std::string Text() {
    const int64_t size = Int();
    if (size <= 0 || static_cast<size_t>(size) > bytes_.size() - at_) return {};
    std::string text = bytes_.substr(at_, static_cast<size_t>(size));
    at_ += static_cast<size_t>(size);
    return text;
  }
  // A list of texts; a count larger than the bytes left could hold reads as the texts there are.
  std::vector<std::string> Texts() {
    const int64_t count = Int();
    std::vector<std::string> texts;
    for (int64_t n = 0; n < count && at_ < bytes_.size(); ++n) texts.push_back(Text());
    return texts;
  }
  void Doubles(std::vector<double>& values, int count) {
    values.assign(static_cast<size_t>(count), 0.0);
    Raw(values.data(), sizeof(double) * static_cast<size_t>(count));
  }

 private:
  void Raw(void* data, size_t size) {
    if (size > bytes_.size() - at_) {
      at_ = bytes_.size();
      return;
    }
    std::memcpy(data, bytes_.data() + at_, size);
    at_ += size;
  }
  const std::string& bytes_;
  size_t at_ = 0;
};

}  // namespace plexo::distributed
