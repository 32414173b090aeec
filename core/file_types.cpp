#include "core/file_types.h"

#include <algorithm>

#include "core/format_table.h"

namespace quorvel {
namespace {

struct Described {
  std::string_view extension;
  std::string_view description;
};

// The dialog's descriptions, in its order. An extension no built format reads (or writes) is
// left out of its chooser.
constexpr Described kInputDescriptions[] = {
    {"adi", "ADIF Log Files (*.adi)"},
    {"bin", "CT Log files (*.bin)"},
    {"dat", "TR Log, DX Cluster and DX Info files (*.dat)"},
    {"qdf", "NA Log files(*.qdf)"},
    {"log", "ARRL, WRTC and Cabrillo Log files (*.log)"},
    {"cbr", "Cabrillo Log files (*.cbr)"},
};
constexpr std::string_view kAllInputs = "All Log file types";

constexpr Described kOutputDescriptions[] = {
    {"adi", "ADIF Log Files (*.adi)"},     {"bin", "CT v8 Log Files (*.bin)"},
    {"cbr", "Cabrillo Log Files (*.cbr)"}, {"dat", "TR Log Files (*.dat)"},
    {"dbf", "dBase Files (*.dbf)"},        {"log", "ARRL File (*.log)"},
    {"sdf", "DXBase Files (*.sdf)"},
};

bool SomeFormatReads(std::string_view extension) {
  return std::ranges::any_of(FormatRows(), [extension](const FormatRow& row) {
    return row.Built() && row.reads && row.HasExtension(extension);
  });
}

bool SomeFormatWrites(std::string_view extension) {
  return std::ranges::any_of(FormatRows(), [extension](const FormatRow& row) {
    return row.Built() && row.output == FormatOutput::kWrites && row.extensions[0] == extension;
  });
}

}  // namespace

std::string FileType::Filter() const {
  if (description.find('(') != std::string::npos) return description;
  std::string filter = description + " (";
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    filter += (i > 0 ? " *." : "*.") + extensions[i];
  }
  return filter + ")";
}

std::vector<FileType> InputFileTypes() {
  std::vector<FileType> types;
  FileType all{std::string(kAllInputs), {}};
  for (const Described& described : kInputDescriptions) {
    if (!SomeFormatReads(described.extension)) continue;
    types.push_back({std::string(described.description), {std::string(described.extension)}});
    all.extensions.emplace_back(described.extension);
  }
  std::ranges::sort(all.extensions);
  types.push_back(std::move(all));
  return types;
}

std::vector<FileType> OutputFileTypes() {
  std::vector<FileType> types;
  for (const Described& described : kOutputDescriptions) {
    if (!SomeFormatWrites(described.extension)) continue;
    types.push_back({std::string(described.description), {std::string(described.extension)}});
  }
  return types;
}

std::string WithChosenExtension(std::string_view path, std::string_view extension) {
  std::size_t name_at = path.find_last_of('/');
  std::string_view name = path.substr(name_at == std::string_view::npos ? 0 : name_at + 1);
  std::string result(path);
  if (name.empty() || name.find('.') == std::string_view::npos || name.back() == '.') {
    result.append(".").append(extension);
  }
  return result;
}

}  // namespace quorvel
