#include "core/log_stream.h"

#include <cstring>
#include <filesystem>

namespace quorvel {
namespace {

// Every stream starts with a buffer of 64 KiB. A stream that fills it for writing goes on
// in blocks of 512 KiB: the kernel takes a large output at less cost in fewer and larger pieces
// of its page cache (docs/performance.md has the figures), and a small output costs no more
// memory than before.
constexpr std::size_t kBufferSize = std::size_t{1} << 16;
constexpr std::size_t kLargeWriteBufferSize = std::size_t{1} << 19;
constexpr char kCtrlZ = 0x1A;

const char* StdioMode(unsigned mode) {
  if ((mode & kOpenWrite) == 0) return "rb";
  if (mode & kOpenNoReplace) return "wbx";
  if (mode & kOpenAppend) return "ab";
  if (mode & kOpenNoCreate) return (mode & kOpenTruncate) ? "w+b" : "r+b";
  return "wb";
}

bool IsDirectory(const char* path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

}  // namespace

LogStream::LogStream() = default;

LogStream::~LogStream() {
  if (file != nullptr) LogStream::Close();
}

int LogStream::Open(const char* new_path, unsigned mode) {
  if (new_path == nullptr) return 0;
  if (file != nullptr) LogStream::Close();
  path = std::string(new_path);
  at_end = eof = ctrl_z_seen = write_failed = false;
  text_mode = (mode & kOpenBinary) == 0;
  writing = (mode & kOpenWrite) != 0;
  buffer_pos = buffer_len = 0;
  buffer_offset = 0;
  if (!writing && IsDirectory(new_path)) return 0;
  file = std::fopen(new_path, StdioMode(mode));
  if (file == nullptr) return 0;
  std::setvbuf(file, nullptr, _IONBF, 0);  // the stream keeps its own buffer
  buffer.resize(kBufferSize);
  if (mode & kOpenAtEnd) {
    std::fseek(file, 0, SEEK_END);
    buffer_offset = std::ftell(file);
  }
  return 1;
}

int LogStream::Close() {
  if (file != nullptr) {
    if (writing && !FlushWrites()) write_failed = true;
    if (std::fclose(file) != 0 && writing) write_failed = true;
    file = nullptr;
  }
  at_end = eof = ctrl_z_seen = false;
  buffer_pos = buffer_len = 0;
  return 1;
}

bool LogStream::Fill() {
  buffer_offset += static_cast<std::int64_t>(buffer_len);
  buffer_pos = buffer_len = 0;
  if (ctrl_z_seen) return false;
  buffer_len = std::fread(buffer.data(), 1, buffer.size(), file);
  if (buffer_len == 0) {
    if (std::ferror(file)) at_end = true;
    return false;
  }
  if (text_mode) {
    const void* z = std::memchr(buffer.data(), kCtrlZ, buffer_len);
    if (z != nullptr) {
      buffer_len = static_cast<std::size_t>(static_cast<const char*>(z) - buffer.data());
      ctrl_z_seen = true;
      ctrl_z_offset = buffer_offset + static_cast<std::int64_t>(buffer_len);
      return buffer_len > 0;
    }
  }
  return true;
}

// Scans one line into `append` (a callable taking a pointer and a count), at most `room`
// characters; the line feed is consumed and not passed on. True when anything was read.
template <typename Append>
bool LogStream::ScanLine(std::size_t room, Append append) {
  std::size_t stored = 0;
  bool read_any = false;
  while (stored < room) {
    if (buffer_pos == buffer_len && !Fill()) {
      eof = true;
      break;
    }
    const char* start = buffer.data() + buffer_pos;
    std::size_t avail = std::min(buffer_len - buffer_pos, room - stored);
    // The line runs to its line feed, and in text mode to a carriage return before that.
    const void* lf = std::memchr(start, '\n', avail);
    std::size_t n = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : avail;
    if (text_mode) {
      const void* cr = std::memchr(start, '\r', n);
      if (cr) n = static_cast<std::size_t>(static_cast<const char*>(cr) - start);
    }
    append(start, n);
    stored += n;
    buffer_pos += n;
    read_any = read_any || n > 0;
    if (n == avail) continue;
    read_any = true;
    char stop = buffer[buffer_pos++];
    if (stop == '\n') break;
    // A carriage return in text mode ends the line, with the line feed that follows it (DOS
    // line ends) or alone (the line ends of old Macintosh programs): a log written with bare
    // CRs reads line by line instead of as one line holding every QSO.
    if (buffer_pos == buffer_len && !Fill()) eof = true;
    if (buffer_pos < buffer_len && buffer[buffer_pos] == '\n') ++buffer_pos;
    break;
  }
  return read_any;
}

int LogStream::ReadLine(char* out, int size) {
  if (file == nullptr || writing) {
    at_end = true;
    return 0;
  }
  if (out == nullptr || size < 1) return 0;
  std::size_t stored = 0;
  bool read_any =
      ScanLine(static_cast<std::size_t>(size) - 1, [&](const char* data, std::size_t n) {
        std::memcpy(out + stored, data, n);
        stored += n;
      });
  out[stored] = '\0';
  return read_any ? 1 : 0;
}

int LogStream::ReadLine(std::string& line) {
  line.clear();
  if (file == nullptr || writing) {
    at_end = true;
    return 0;
  }
  bool read_any =
      ScanLine(line.max_size(), [&line](const char* data, std::size_t n) { line.append(data, n); });
  return read_any ? 1 : 0;
}

int LogStream::ReadLineView(std::string_view& text, std::string& spare) {
  std::string_view buffered = PeekBuffered();
  const char* start = buffered.data();
  const void* lf = buffered.empty() ? nullptr : std::memchr(start, '\n', buffered.size());
  if (lf != nullptr) {
    std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    std::string_view candidate = buffered.substr(0, length);
    // In text mode a carriage return before the line feed is dropped; one inside the line ends
    // it there, which the copying read sees to.
    if (text_mode && !candidate.empty() && candidate.back() == '\r') candidate.remove_suffix(1);
    if (!text_mode || std::memchr(start, '\r', candidate.size()) == nullptr) {
      text = candidate;
      buffer_pos += length + 1;
      return 1;
    }
  }
  if (!ReadLine(spare)) return 0;
  text = spare;
  return 1;
}

int LogStream::NextTextByte() {
  if (buffer_pos == buffer_len && !Fill()) return -1;
  unsigned char c = static_cast<unsigned char>(buffer[buffer_pos++]);
  if (c != '\r') return c;
  if (buffer_pos == buffer_len && !Fill()) return c;
  if (buffer[buffer_pos] == '\n') return static_cast<unsigned char>(buffer[buffer_pos++]);
  return c;
}

int LogStream::ReadTranslatedBlock(unsigned char* out, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    int c = NextTextByte();
    if (c < 0) return 0;
    out[i] = static_cast<unsigned char>(c);
  }
  return 1;
}

int LogStream::ReadBlock(void* out, std::size_t length) {
  if (file == nullptr || writing) {
    at_end = true;
    return 0;
  }
  unsigned char* target = static_cast<unsigned char*>(out);
  int complete = 1;
  if (text_mode) {
    complete = ReadTranslatedBlock(target, length);
  } else {
    std::size_t copied = 0;
    while (copied < length) {
      if (buffer_pos == buffer_len && !Fill()) {
        complete = 0;
        break;
      }
      std::size_t n = std::min(buffer_len - buffer_pos, length - copied);
      std::memcpy(target + copied, buffer.data() + buffer_pos, n);
      buffer_pos += n;
      copied += n;
    }
  }
  if (!complete) eof = at_end = true;
  return complete;
}

std::size_t LogStream::ReadUpTo(void* out, std::size_t length) {
  if (file == nullptr || writing) {
    at_end = true;
    return 0;
  }
  auto* target = static_cast<unsigned char*>(out);
  std::size_t copied = 0;
  while (copied < length) {
    if (buffer_pos == buffer_len && !Fill()) {
      eof = at_end = true;
      break;
    }
    const char* from = buffer.data() + buffer_pos;
    std::size_t n = std::min(buffer_len - buffer_pos, length - copied);
    // In text mode the bytes up to a carriage return are the text as they are; the carriage
    // return itself goes through the line-end rule (CR LF reads as LF).
    const void* carriage_return = text_mode ? std::memchr(from, '\r', n) : nullptr;
    if (carriage_return != nullptr)
      n = static_cast<std::size_t>(static_cast<const char*>(carriage_return) - from);
    std::memcpy(target + copied, from, n);
    buffer_pos += n;
    copied += n;
    if (carriage_return != nullptr) target[copied++] = static_cast<unsigned char>(NextTextByte());
  }
  return copied;
}

std::string_view LogStream::PeekBuffered() {
  if (file == nullptr || writing) {
    at_end = true;
    return {};
  }
  if (buffer_pos == buffer_len && !Fill()) {
    eof = true;
    return {};
  }
  return {buffer.data() + buffer_pos, buffer_len - buffer_pos};
}

void LogStream::TakeBuffered(std::size_t count) {
  if (writing) return;
  buffer_pos += std::min(count, buffer_len - buffer_pos);
}

bool LogStream::FlushWrites() {
  if (buffer_len == 0) return !write_failed;
  std::size_t written = std::fwrite(buffer.data(), 1, buffer_len, file);
  if (written != buffer_len) write_failed = true;
  buffer_offset += static_cast<std::int64_t>(buffer_len);
  buffer_len = 0;
  return !write_failed;
}

// The buffer is full: out it goes, and a large output goes on in large blocks.
bool LogStream::FlushFullBuffer() {
  if (!FlushWrites()) return false;
  if (buffer.size() < kLargeWriteBufferSize) buffer.resize(kLargeWriteBufferSize);
  return true;
}

char* LogStream::WriteSpaceAfterFlush(std::size_t length) {
  if (file == nullptr || !writing || write_failed || length > buffer.size()) return nullptr;
  if (buffer.size() - buffer_len < length && !FlushFullBuffer()) return nullptr;
  return buffer.data() + buffer_len;
}

int LogStream::WriteBlock(const void* data, std::size_t length) {
  if (file == nullptr || !writing || write_failed) return 0;
  const char* source = static_cast<const char*>(data);
  while (length > 0) {
    if (buffer_len == buffer.size() && !FlushFullBuffer()) return 0;
    std::size_t n = std::min(buffer.size() - buffer_len, length);
    std::memcpy(buffer.data() + buffer_len, source, n);
    buffer_len += n;
    source += n;
    length -= n;
  }
  return 1;
}

std::int64_t LogStream::FileSize() {
  if (file == nullptr) return 0;
  if (writing) FlushWrites();
  long position = std::ftell(file);
  if (std::fseek(file, 0, SEEK_END) != 0) return 0;
  long size = std::ftell(file);
  std::fseek(file, position, SEEK_SET);
  return size < 0 ? 0 : size;
}

// What follows an end-of-text Ctrl-Z: DOS programs pad their files with more of them (or NULs)
// and may leave a line end; anything else is log data the Ctrl-Z cut off.
bool LogStream::OnlyPaddingFrom(std::int64_t offset) {
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return true;
  char block[4096];
  for (;;) {
    std::size_t n = std::fread(block, 1, sizeof block, file);
    if (n == 0) return true;
    std::string_view bytes(block, n);
    if (bytes.find_first_not_of(std::string_view("\x1A\0 \t\r\n", 6)) != std::string_view::npos) {
      return false;
    }
  }
}

std::int64_t LogStream::TextCutAt() {
  if (file == nullptr || writing || !ctrl_z_seen) return -1;
  long position = std::ftell(file);
  bool padding = OnlyPaddingFrom(ctrl_z_offset + 1);
  std::fseek(file, position, SEEK_SET);
  return padding ? -1 : ctrl_z_offset;
}

std::int64_t LogStream::Tell() const {
  return buffer_offset + static_cast<std::int64_t>(writing ? buffer_len : buffer_pos);
}

int LogStream::Seek(std::int64_t offset) {
  if (file == nullptr || offset < 0) return 0;
  if (writing) FlushWrites();
  if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return 0;
  buffer_offset = offset;
  buffer_pos = buffer_len = 0;
  eof = ctrl_z_seen = false;
  return 1;
}

const char* LogStream::Extension() const {
  if (!path) return nullptr;
  std::size_t dot = path->rfind('.');
  return dot == std::string::npos ? nullptr : path->c_str() + dot + 1;
}

}  // namespace quorvel
