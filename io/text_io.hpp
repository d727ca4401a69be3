// Block-buffered text input and output for the model file readers and
// writers. Compressed input is recognised by its gzip magic bytes, and
// output whose name ends in ".gz" is compressed; input can also
// come from memory (tests and the fuzzer use that).
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// Where bytes come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to size bytes into buffer; returns the count, 0 at the end, -1
  // on a read or decompression error.
  virtual long read(char* buffer, std::size_t size) = 0;
  // Starts again from the first byte; false when that is not possible.
  virtual bool rewind() = 0;
  // Error code of a failed read: QXERR_BAD_MPS_FILE for a damaged or
  // truncated compressed stream (the file is bad, not the platform),
  // QXERR_CANNOT_OPEN_FILE otherwise.
  virtual int failureCode() const noexcept;
};

// Opens path for reading, through zlib when the file starts with the gzip
// magic bytes (whatever its name). Returns null when it cannot be opened.
std::unique_ptr<ByteSource> openFileSource(const std::string& path);
// Reads from memory the caller keeps alive.
std::unique_ptr<ByteSource> memorySource(std::string_view bytes);

bool hasGzipSuffix(std::string_view path) noexcept;

// Splits a byte source into lines. The source is read in blocks; a line
// that straddles a block end is moved to the front of the buffer and read
// again from its start. A carriage return before the newline becomes a
// blank. Lines longer than the block are reported as overlong and cut.
class LineReader {
 public:
  static constexpr std::size_t kBlockSize = 262144;

  explicit LineReader(ByteSource& source);

  // Next line (without its newline) in a buffer the caller may modify until
  // the next call; false at the end of the input or on an error.
  bool next(char*& line, std::size_t& length);
  bool overlong() const noexcept { return overlong_; }
  bool failed() const noexcept { return failed_; }
  // Back to the first line; false when the source cannot rewind.
  bool rewind();

 private:
  bool fill();

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;  // kBlockSize bytes, not zero-filled
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool eof_ = false;
  bool failed_ = false;  // set once the lines before a read error are used up
  bool broken_ = false;  // a read error ended the input
  bool overlong_ = false;
  bool skipping_ = false;  // inside the rest of an overlong line
};

// Buffered output to a file (through zlib when the name ends in ".gz").
class TextSink {
 public:
  // Opens path for writing; ok() tells whether that worked.
  explicit TextSink(const std::string& path);
  // Appends everything to *target instead of a file.
  explicit TextSink(std::string* target);
  ~TextSink();
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  bool ok() const noexcept { return ok_; }
  void put(std::string_view text);
  void put(char c) { buffer_.push_back(c); if (buffer_.size() >= kFlushSize) flush(); }
  // printf-style append.
  void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Writes the buffer out and closes the file; false on a write error.
  bool close();

 private:
  static constexpr std::size_t kFlushSize = 262144;
  void flush();

  std::FILE* file_ = nullptr;
  void* gz_ = nullptr;  // gzFile
  std::string* target_ = nullptr;
  std::string buffer_;
  bool ok_ = false;
};

}  // namespace torva
