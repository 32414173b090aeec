// One named log file with open-mode bits, line and block reading and block writing.
//
// On Linux the C library does no text-mode translation, so the stream gives text-mode reads
// their meaning itself: a carriage return that stands before a line feed is dropped and a
// Ctrl-Z (0x1A) ends the file. Positions and sizes are always byte offsets of the file.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

/// Open-mode bits.
enum OpenModeBits : unsigned {
  kOpenRead = 0x01,
  kOpenWrite = 0x02,
  kOpenAtEnd = 0x04,
  kOpenAppend = 0x08,
  kOpenTruncate = 0x10,
  kOpenNoCreate = 0x20,
  kOpenNoReplace = 0x40,
  kOpenBinary = 0x80
};
/// The three modes the system uses.
inline constexpr unsigned kModeReadText = kOpenRead;
inline constexpr unsigned kModeReadBinary = kOpenRead | kOpenBinary;
inline constexpr unsigned kModeWriteNew = kOpenWrite | kOpenNoReplace | kOpenBinary;

class LogStream {
 public:
  LogStream();
  virtual ~LogStream();
  LogStream(const LogStream&) = delete;
  LogStream& operator=(const LogStream&) = delete;

  /// Opens `path` with `mode`; 1 when the stream is usable. Reading never creates a file and
  /// refuses directories; writing with kOpenNoReplace creates the file atomically and fails
  /// when it exists. Opening an open stream closes the first file before opening the second.
  int Open(const char* path, unsigned mode);
  /// Writes out what is buffered and closes the file; returns 1.
  virtual int Close();

  /// Reads up to the next line feed or `size` - 1 characters; the line feed is consumed, not
  /// stored; the text is always terminated. 0 when nothing could be read.
  int ReadLine(char* buffer, int size);
  /// Reads a whole line of any length into `line` (line feed consumed, not stored; text-mode
  /// rules as for ReadLine). 0 when nothing could be read.
  int ReadLine(std::string& line);
  /// Reads a line as ReadLine(std::string&) does, without copying it when the whole line lies
  /// in the read buffer (as it mostly does): `text` is then a view into the buffer, which lasts
  /// until the next read; otherwise the line is read into `spare` and `text` shows it.
  int ReadLineView(std::string_view& text, std::string& spare);
  /// Reads exactly `length` bytes; 0 (and the end flag set) when they are not all there.
  int ReadBlock(void* buffer, std::size_t length);
  /// Reading a block without copying: the next `length` bytes of a binary stream, taken,
  /// when they all lie in the read buffer; otherwise null, and nothing is read. Inline: a
  /// reader of fixed-size records asks once per record. The bytes last until the next read.
  const std::uint8_t* TakeBufferedBlock(std::size_t length) {
    if (file == nullptr || writing || text_mode || buffer_len - buffer_pos < length) return nullptr;
    const char* block = buffer.data() + buffer_pos;
    buffer_pos += length;
    return reinterpret_cast<const std::uint8_t*>(block);
  }
  /// Reads up to `length` bytes and returns how many there were; fewer only at the end of the
  /// file (and the end flag is then set).
  std::size_t ReadUpTo(void* buffer, std::size_t length);
  /// Writes `length` bytes; 1 while the stream is usable.
  int WriteBlock(const void* buffer, std::size_t length);
  int WriteText(std::string_view text) { return WriteBlock(text.data(), text.size()); }
  /// Writing without copying: room for `length` bytes at the end of what is buffered for
  /// writing (what was buffered goes out first when the room is short), to be filled and then
  /// counted with Wrote. Null when the stream takes no writes or the room is larger than the
  /// buffer.
  char* WriteSpace(std::size_t length) {
    // Inline while the room is there: writers ask for it once per record.
    if (file != nullptr && writing && !write_failed && buffer.size() - buffer_len >= length) {
      return buffer.data() + buffer_len;
    }
    return WriteSpaceAfterFlush(length);
  }
  /// Counts the first `length` bytes of the room WriteSpace gave as written (at most the room).
  void Wrote(std::size_t length) { buffer_len += std::min(length, buffer.size() - buffer_len); }

  /// Reading without copying: the bytes read ahead and not yet taken, refilling the buffer
  /// when all of it has been taken. Empty (and the end flag set) at the end of the file or on
  /// a stream not open for reading. The bytes are the file's own, untranslated even in text
  /// mode (a Ctrl-Z still ends a text-mode file). The view lasts until the next read.
  std::string_view PeekBuffered();
  /// Takes the first `count` bytes of what PeekBuffered showed (at most all of them).
  void TakeBuffered(std::size_t count);

  /// True once a read met the end of the file (or a Ctrl-Z in text mode), or failed for good.
  bool IsEof() const { return at_end || eof; }
  /// In text mode, after a Ctrl-Z ended the text: the Ctrl-Z's file offset when the file goes on
  /// after it with more than padding (Ctrl-Z, NUL, blanks, line ends), that is when the Ctrl-Z
  /// stands in the middle of the data. -1 otherwise. The read position stays where it was.
  std::int64_t TextCutAt();
  /// Size of the file in bytes; the read position stays where it was.
  std::int64_t FileSize();
  /// Read (or write) position: bytes from the start of the file.
  std::int64_t Tell() const;
  /// Moves the read position to a byte offset; 1 on success.
  int Seek(std::int64_t offset);

  /// The text after the last "." of the path, or null when there is none.
  const char* Extension() const;
  const char* Path() const { return path ? path->c_str() : nullptr; }
  bool IsOpen() const { return file != nullptr; }
  /// True when a write or the final flush failed (disk full, device gone).
  bool WriteFailed() const { return write_failed; }

  /// The input format code of the open file from its extension and first 80 bytes; 0 when
  /// no format is recognised. The read position is the same afterwards.
  int DetectType();

 private:
  bool Fill();
  template <typename Append>
  bool ScanLine(std::size_t room, Append append);
  bool FlushWrites();
  bool FlushFullBuffer();
  char* WriteSpaceAfterFlush(std::size_t length);
  int ReadTranslatedBlock(unsigned char* out, std::size_t length);
  int NextTextByte();
  bool OnlyPaddingFrom(std::int64_t offset);

  std::FILE* file = nullptr;
  bool at_end = false;
  std::optional<std::string> path;
  bool eof = false;
  bool text_mode = false;
  bool writing = false;
  bool ctrl_z_seen = false;
  std::int64_t ctrl_z_offset = 0;  // file offset of the Ctrl-Z that ended the text
  bool write_failed = false;
  std::vector<char> buffer;        // read or write buffer
  std::size_t buffer_pos = 0;      // next byte to read in `buffer`
  std::size_t buffer_len = 0;      // bytes held in `buffer`
  std::int64_t buffer_offset = 0;  // file offset of buffer[0]
};

}  // namespace quorvel
