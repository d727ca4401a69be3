#include "io/text_io.hpp"

#include <zlib.h>

#include <cstdarg>
#include <cstring>

#include "torva.h"

namespace torva {

int ByteSource::failureCode() const noexcept { return QXERR_CANNOT_OPEN_FILE; }

namespace {

class PlainFileSource final : public ByteSource {
 public:
  explicit PlainFileSource(std::FILE* file) : file_(file) {}
  ~PlainFileSource() override { std::fclose(file_); }
  long read(char* buffer, std::size_t size) override {
    std::size_t got = std::fread(buffer, 1, size, file_);
    if (got == 0 && std::ferror(file_)) return -1;
    return static_cast<long>(got);
  }
  bool rewind() override {
    std::clearerr(file_);
    return std::fseek(file_, 0, SEEK_SET) == 0;
  }

 private:
  std::FILE* file_;
};

class GzipFileSource final : public ByteSource {
 public:
  explicit GzipFileSource(gzFile file) : file_(file) {}
  ~GzipFileSource() override { gzclose(file_); }
  long read(char* buffer, std::size_t size) override {
    int got = gzread(file_, buffer, static_cast<unsigned>(size));
    if (got < 0) return -1;
    if (got == 0) {
      // A truncated or corrupt stream ends with an error state, not a
      // clean end of file.
      int code = Z_OK;
      gzerror(file_, &code);
      if (code != Z_OK && code != Z_STREAM_END) return -1;
    }
    return got;
  }
  bool rewind() override { return gzrewind(file_) == 0; }
  int failureCode() const noexcept override { return QXERR_BAD_MPS_FILE; }

 private:
  gzFile file_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  long read(char* buffer, std::size_t size) override {
    std::size_t count = std::min(size, bytes_.size() - pos_);
    std::memcpy(buffer, bytes_.data() + pos_, count);
    pos_ += count;
    return static_cast<long>(count);
  }
  bool rewind() override {
    pos_ = 0;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

bool hasGzipSuffix(std::string_view path) noexcept {
  return path.size() >= 3 && path.substr(path.size() - 3) == ".gz";
}

std::unique_ptr<ByteSource> openFileSource(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  // RFC 1952: every gzip member begins with the bytes 0x1f 0x8b.
  unsigned char magic[2] = {0, 0};
  const bool gzip = std::fread(magic, 1, 2, file) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
  if (!gzip) {
    std::rewind(file);
    return std::make_unique<PlainFileSource>(file);
  }
  std::fclose(file);
  gzFile gz = gzopen(path.c_str(), "rb");
  if (!gz) return nullptr;
  gzbuffer(gz, static_cast<unsigned>(LineReader::kBlockSize));
  return std::make_unique<GzipFileSource>(gz);
}

std::unique_ptr<ByteSource> memorySource(std::string_view bytes) {
  return std::make_unique<MemorySource>(bytes);
}

LineReader::LineReader(ByteSource& source)
    : source_(source), buffer_(new char[kBlockSize + 1]) {}

bool LineReader::fill() {
  // Keep the unfinished line, moved to the front, and read after it.
  if (pos_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  while (!eof_ && end_ < kBlockSize) {
    long got = source_.read(buffer_.get() + end_, kBlockSize - end_);
    if (got < 0) {
      // Hand out the whole lines read so far; the failure shows after them.
      broken_ = true;
      eof_ = true;
      break;
    }
    if (got == 0) {
      eof_ = true;
      break;
    }
    end_ += static_cast<std::size_t>(got);
  }
  return true;
}

bool LineReader::next(char*& line, std::size_t& length) {
  overlong_ = false;
  if (failed_) return false;
  while (skipping_) {
    char* nl = static_cast<char*>(std::memchr(buffer_.get() + pos_, '\n', end_ - pos_));
    if (nl) {
      pos_ = static_cast<std::size_t>(nl - buffer_.get()) + 1;
      skipping_ = false;
    } else {
      pos_ = end_;
      if (eof_) {
        failed_ = broken_;
        return false;
      }
      if (!fill()) return false;
    }
  }
  for (;;) {
    char* start = buffer_.get() + pos_;
    char* stop = static_cast<char*>(std::memchr(start, '\n', end_ - pos_));
    if (stop || (eof_ && !broken_ && pos_ < end_)) {
      std::size_t len = stop ? static_cast<std::size_t>(stop - start) : end_ - pos_;
      pos_ += stop ? len + 1 : len;
      if (len > 0 && start[len - 1] == '\r') start[len - 1] = ' ';
      line = start;
      length = len;
      return true;
    }
    if (eof_) {
      failed_ = broken_;
      return false;
    }
    if (pos_ == 0 && end_ >= kBlockSize) {
      // No newline in a whole block: hand out the block as a cut line and
      // skip the rest of that line on the next call.
      overlong_ = true;
      skipping_ = true;
      pos_ = end_;
      line = buffer_.get();
      length = end_;
      return true;
    }
    if (!fill()) return false;
  }
}

bool LineReader::rewind() {
  pos_ = end_ = 0;
  eof_ = failed_ = broken_ = overlong_ = skipping_ = false;
  return source_.rewind();
}

TextSink::TextSink(const std::string& path) {
  if (hasGzipSuffix(path)) {
    gzFile file = gzopen(path.c_str(), "wb");
    gz_ = file;
    ok_ = file != nullptr;
  } else {
    file_ = std::fopen(path.c_str(), "wb");
    ok_ = file_ != nullptr;
  }
  buffer_.reserve(kFlushSize + 1024);
}

TextSink::TextSink(std::string* target) : target_(target), ok_(target != nullptr) {}

TextSink::~TextSink() { close(); }

void TextSink::put(std::string_view text) {
  buffer_.append(text);
  if (buffer_.size() >= kFlushSize) flush();
}

void TextSink::printf(const char* format, ...) {
  char local[512];
  va_list args;
  va_start(args, format);
  int len = std::vsnprintf(local, sizeof local, format, args);
  va_end(args);
  if (len < 0) return;
  if (static_cast<std::size_t>(len) < sizeof local) {
    put(std::string_view(local, static_cast<std::size_t>(len)));
    return;
  }
  std::string big(static_cast<std::size_t>(len) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.pop_back();
  put(big);
}

void TextSink::flush() {
  if (buffer_.empty()) return;
  if (target_) {
    target_->append(buffer_);
  } else if (file_) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) ok_ = false;
  } else if (gz_) {
    if (gzwrite(static_cast<gzFile>(gz_), buffer_.data(), static_cast<unsigned>(buffer_.size())) <= 0)
      ok_ = false;
  }
  buffer_.clear();
}

bool TextSink::close() {
  flush();
  if (file_) {
    if (std::fclose(file_) != 0) ok_ = false;
    file_ = nullptr;
  }
  if (gz_) {
    if (gzclose(static_cast<gzFile>(gz_)) != Z_OK) ok_ = false;
    gz_ = nullptr;
  }
  return ok_;
}

}  // namespace torva
