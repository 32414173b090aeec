// The abstract log format: one subclass per file format, driven by the Converter through a fixed
// set of operations. Operations report success as 1 and failure as 0; nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "core/byte_order.h"
#include "core/contest_header.h"
#include "core/log_stream.h"
#include "core/qso_record.h"
#include "core/raw_qso.h"

namespace quorvel {

/// What a reader met besides its contacts, told by the front ends after the QSO count.
struct ReadingNotes {
  int skipped_records = 0;  // records that are no contacts: neither a call nor a date
  int undated_qsos = 0;     // contacts without a readable date or time of day
  int unread_lines = 0;     // contact lines that could not be read, passed over
  int x_qsos = 0;           // contacts the log itself marks as not counted, passed over
  /// Byte offset in the input file of the first byte the reader could not read, when it gave
  /// up on damaged or cut-off data before the end of its log; -1 when the log ended normally.
  std::int64_t stopped_at = -1;

  bool Stopped() const { return stopped_at >= 0; }
};

class LogFile : public LogStream {
 public:
  LogFile();
  ~LogFile() override;

  /// Opens the log. Reading (kOpenRead) also reads the file's own header into `header` and
  /// positions at the first QSO; writing only opens the file. 0 when the file cannot be opened
  /// or its header is not acceptable.
  virtual int Open(const char* path, unsigned mode) = 0;
  /// Keeps a copy of the input's header and writes the file header from it; 0 when the format
  /// cannot represent the log (typically its contest). Read-only formats keep this version.
  virtual int WriteHeader(ContestHeader source);
  /// Copies the options block; 0 (and nothing changed) for a null pointer.
  virtual int SetOptions(const ConversionOptions* source);
  /// The format's own option parser; 0 when no contest is known afterwards.
  virtual int ParseOptions(const char* text);
  /// Clears `record` and fills it with the next QSO; 0 at the end of the log or on data that
  /// cannot be read, which the reader also notes (`ReadingNotes::stopped_at`). Write-only
  /// formats keep this version.
  virtual int ReadQso(QsoRecord& record);
  /// Writes one QSO; 0 when the format cannot hold it. Read-only formats keep this version.
  virtual int WriteQso(const QsoRecord& record);

  /// Readers for which making the record of a contact's bytes is a large part of the reading
  /// read in two steps, so that reading ahead can share the work between two threads:
  /// ReadRawQso takes the next contact from the file as ReadQso would (1, or 0 at the end of
  /// the log), and a maker from NewQsoMaker makes its record. ReadQso is the two together.
  /// The other readers give no maker.
  virtual std::unique_ptr<QsoMaker> NewQsoMaker() const;
  virtual int ReadRawQso(RawQso& raw);
  /// Counts contacts without a readable date or time that makers found.
  void AddUndatedQsos(int count) { notes.undated_qsos += count; }

  const ContestHeader& Header() const { return header; }
  const ConversionOptions& Options() const { return options; }
  std::int32_t QsoCount() const { return qso_count; }
  const ReadingNotes& Notes() const { return notes; }

 protected:
  /// Notes that reading gives up at byte `offset` of the file, on data it cannot read. The
  /// first stop noted is the one kept.
  void NoteStop(std::int64_t offset);
  /// Reads one record of `Size` bytes. False at the end of the file; when the file ends inside
  /// the record (or cannot be read there), the record's first byte is also noted as the stop.
  /// The record is not copied when it lies whole in the read buffer, as it mostly does: the
  /// view then shows the buffer, until the next read. Otherwise it is read into `spare`.
  template <std::size_t Size>
  std::optional<ByteView<Size>> ReadRecord(ByteLayout<Size>& spare) {
    if (const std::uint8_t* bytes = TakeBufferedBlock(Size)) return ByteView<Size>(bytes);
    if (!ReadRecordAcrossBuffer(spare.data(), Size)) return std::nullopt;
    return spare.View();
  }
  /// ReadQso of a reader that reads in two steps: ReadRawQso into `raw`, then the record made
  /// by `maker`, which is made on first use. A contact without a readable date or time is
  /// counted in the notes.
  int ReadQsoInTwoSteps(QsoRecord& record, RawQso& raw, std::unique_ptr<QsoMaker>& maker);
  /// The end of a text log's lines: notes a stop at a Ctrl-Z that cut the data off in the middle
  /// of the file (see LogStream::TextCutAt). Returns 0, the end of the log.
  int EndOfText();

  ContestHeader header{};
  std::int32_t qso_count = 0;
  ConversionOptions options{};
  ReadingNotes notes;

 private:
  bool ReadRecordAcrossBuffer(void* buffer, std::size_t size);
};

}  // namespace quorvel
