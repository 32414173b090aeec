#include "core/converter.h"

#include "core/read_ahead.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace quorvel {
namespace {

bool PathFits(const char* path) {
  return path != nullptr && std::strlen(path) < kPathRoom;
}

}  // namespace

Converter::Converter(FormatCreator format_creator) : creator(std::move(format_creator)) {}

Converter::~Converter() {
  Finish();
}

int Converter::ParseOptions(char* text) {
  return ParseConverterOptions(text, options);
}

int Converter::SetOptions(const ConversionOptions* source) {
  if (source == nullptr) return 0;
  options = *source;
  return 1;
}

void Converter::Report(FactoryMessage message, const std::string& text) const {
  if (message_hook) message_hook(message, text);
}

int Converter::OpenInput(const char* path) {
  if (!PathFits(path) || input) return 0;
  input_path = path;
  input = creator(DetectInputFormat(path), Direction::kInput);
  if (!input) return 0;
  input->SetOptions(&options);
  if (!input->Open(input_path.c_str(), kModeReadText)) {
    Report(FactoryMessage::kInputOpenFailed, "Error opening " + input_path + "\n\r");
    TearDown(input);
    return 0;
  }
  input_size = input->FileSize();
  return 1;
}

int Converter::OpenOutput(const char* path, int code) {
  if (!PathFits(path) || !input || output) return 0;
  output_path = path;
  if (code == kFormatNone) code = OutputFormatFromExtension(path);
  output = creator(code, Direction::kOutput);
  if (!output) return 0;
  output->SetOptions(&options);
  if (!output->Open(output_path.c_str(), kModeWriteNew)) {
    Report(FactoryMessage::kOutputOpenFailed, "Output file could not be opened\n\r");
    input->Close();
    return 0;
  }
  output_created = true;  // the open created the file itself: it existed not before
  if (!output->WriteHeader(input->Header())) {
    Report(FactoryMessage::kContestNotSupported, "Contest not supported by output file\n\r");
    DiscardOutput();
    return 0;
  }
  return 1;
}

int Converter::Step(std::int64_t& position, int& count) {
  if (!input || !output || output_write_failed || input->IsEof()) return 0;
  if (!input->ReadQso(record)) return 0;  // every reader clears the record first
  WriteRead(record);
  position = input->Tell();
  count = converted;
  return 1;
}

bool Converter::WriteRead(const QsoRecord& qso) {
  if (!output || output_write_failed) return false;
  if (!output->WriteQso(qso)) ++unwritten;
  ++converted;
  if (output->WriteFailed()) output_write_failed = true;
  return !output_write_failed;
}

void Converter::TearDown(std::unique_ptr<LogFile>& object) {
  if (!object) return;
  object->Close();
  object.reset();
}

// A conversion that failed leaves no file behind: the output file, which this conversion
// created itself, is closed and removed. Nothing else is ever removed.
void Converter::DiscardOutput() {
  TearDown(output);
  if (output_created) std::remove(output_path.c_str());
  output_created = false;
}

void Converter::Finish() {
  if (input) notes = input->Notes();
  TearDown(input);
  if (output) {
    output->Close();  // writers put out their trailer here; a second Close does nothing
    if (output->WriteFailed()) output_write_failed = true;
  }
  if (output_write_failed) {
    DiscardOutput();
  } else {
    TearDown(output);
  }
  output_created = false;
}

std::string StoppedReadingText(std::int64_t stopped_at, std::int64_t file_size) {
  return "Stopped at byte " + std::to_string(stopped_at) + " of " + std::to_string(file_size) +
         ": the rest of the input could not be read";
}

int ProgressPercent(std::int64_t position, std::int64_t file_size) {
  if (file_size <= 0 || position <= 0) return 0;
  if (position >= file_size) return 100;
  constexpr std::int64_t kLargestExact = INT64_MAX / 100;
  if (position <= kLargestExact) return static_cast<int>(position * 100 / file_size);
  // Positions past 92 PB: within a percent, and never 100 before the end.
  return static_cast<int>(std::min<std::int64_t>(position / (file_size / 100), 99));
}

int RunToEnd(Converter& converter, const ProgressCallback& on_step) {
  ConversionProgress progress;
  if (converter.Input() != nullptr) progress.file_size = converter.Input()->FileSize();
  if (converter.Output() != nullptr && progress.file_size >= kReadAheadFrom) {
    RunReadingAhead(converter, progress, on_step);
  } else {
    while (converter.Step(progress.position, progress.count)) {
      if (on_step) on_step(progress);
    }
  }
  converter.Finish();
  return converter.Converted();
}

}  // namespace quorvel
