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
