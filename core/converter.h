// The Converter: runs one conversion, one QSO per Step, and owns both format objects.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/contest_header.h"
#include "core/format_factory.h"
#include "core/log_file.h"

namespace quorvel {

/// The three messages of the factory. The text handed to the hook is the console form, which
/// ends in "\n\r".
enum class FactoryMessage { kInputOpenFailed, kOutputOpenFailed, kContestNotSupported };
using MessageHook = std::function<void(FactoryMessage message, const std::string& text)>;

/// Paths of this many characters or more are refused.
inline constexpr std::size_t kPathRoom = 2048;

class Converter {
 public:
  explicit Converter(FormatCreator creator = CreateLogFile);
  ~Converter();
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  /// Where the factory's messages go; without a hook they are not shown.
  void SetMessageHook(MessageHook hook) { message_hook = std::move(hook); }

  /// Fills the options from the command-line option text (upper-cased in place); returns 1.
  int ParseOptions(char* text);
  /// Copies a ready options block; 0 and nothing changed for a null pointer.
  int SetOptions(const ConversionOptions* source);

  /// Detects the input's format, creates and opens its reader. 0 when the format is not one
  /// this build reads, the path is too long, or the recognised file cannot be opened (after
  /// the "Error opening" message).
  int OpenInput(const char* path);
  /// Creates the writer for `code` (0: from the extension), opens the new file without
  /// replacing an existing one and writes the header from the input's. 0 on any failure.
  int OpenOutput(const char* path, int code);
  /// Converts one QSO: 1 with the input's byte position and the running count stored, or 0
  /// when there is nothing more to convert.
  int Step(std::int64_t& position, int& count);
  /// Writes one QSO the input gave (through Step, or read ahead by RunToEnd) and counts it;
  /// false once writing the output has failed.
  bool WriteRead(const QsoRecord& qso);
  /// Closes and destroys the input object, then the output object. Harmless when repeated.
  void Finish();

  int Converted() const { return converted; }
  /// QSOs read but refused by the output format (counted in Converted() all the same).
  int Unwritten() const { return unwritten; }
  /// True when writing the output file failed (disk full, device gone). The output file is
  /// removed then, as it is after a refused header.
  bool OutputWriteFailed() const { return output_write_failed; }
  /// What the reader met besides its contacts (records skipped, contacts without a date, the
  /// byte it stopped at on data it could not read); kept after Finish.
  const ReadingNotes& Notes() const { return input ? input->Notes() : notes; }
  /// Size in bytes of the input file, taken when it was opened; kept after Finish.
  std::int64_t InputSize() const { return input_size; }
  LogFile* Input() const { return input.get(); }
  LogFile* Output() const { return output.get(); }
  const ConversionOptions& Options() const { return options; }

 private:
  void Report(FactoryMessage message, const std::string& text) const;
  void TearDown(std::unique_ptr<LogFile>& object);
  void DiscardOutput();

  FormatCreator creator;
  MessageHook message_hook;
  std::string input_path;
  std::string output_path;
  std::unique_ptr<LogFile> input;
  std::unique_ptr<LogFile> output;
  ConversionOptions options{};
  QsoRecord record{};  // the contact of the current step, filled by the reader
  int converted = 0;
  int unwritten = 0;
  std::int64_t input_size = 0;
  bool output_write_failed = false;
  bool output_created = false;
  ReadingNotes notes;
};

/// What the front ends say when the reader stopped on data it could not read, without a line
/// end: "Stopped at byte <stopped_at> of <file_size>: the rest of the input could not be read".
std::string StoppedReadingText(std::int64_t stopped_at, std::int64_t file_size);

/// Where a conversion stands after a QSO: the input's read position, its size in bytes (0 when
/// unknown) and the running count.
struct ConversionProgress {
  std::int64_t position = 0;
  std::int64_t file_size = 0;
  int count = 0;
};
using ProgressCallback = std::function<void(const ConversionProgress& progress)>;

/// The whole percentage 0..100 of the input read, computed in 64-bit integers; 0 when the size
/// is 0 or unknown.
int ProgressPercent(std::int64_t position, std::int64_t file_size);

/// Runs an opened conversion (input and output open) to its end, calling `on_step` after every
/// QSO, then finishes it. Every front end drives its conversions through this one loop. Returns
/// the number of QSOs converted. An input of kReadAheadFrom bytes and more is read on a second
/// thread while this one writes (and calls `on_step`), a few hundred QSOs ahead: the result is
/// the same, in about the time of the slower of reading and writing.
int RunToEnd(Converter& converter, const ProgressCallback& on_step = {});
inline constexpr std::int64_t kReadAheadFrom = std::int64_t{1} << 20;

}  // namespace quorvel
