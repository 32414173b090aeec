// The rows of the format table: every format of the system's numbering, in the order in which
// input detection tries them. A row without a factory would keep its inputs recognised and
// refused.
#include "core/format_table.h"

#include "core/format_factory.h"
#include "core/numbers.h"
#include "formats/adif_log_file.h"
#include "formats/arrl_log_file.h"
#include "formats/cabrillo_log_file.h"
#include "formats/ct8_log_file.h"
#include "formats/ct9_log_file.h"
#include "formats/ct_old_log_file.h"
#include "formats/dbase_log_file.h"
#include "formats/na_log_file.h"
#include "formats/sdf_log_file.h"
#include "formats/spot_log_file.h"
#include "formats/trlog_log_file.h"
#include "formats/wrtc_log_file.h"

namespace quorvel {
namespace {

template <typename Format>
std::unique_ptr<LogFile> Make() {
  return std::make_unique<Format>();
}

// ---- first-bytes tests ----

bool AnyContent(const FormatProbe&, std::string_view) {
  return true;
}

// CT logs name their version at byte 32; a .bin file is some CT version whatever it holds.
bool Ct9Signature(const FormatProbe& probe, std::string_view) {
  return probe.RawIs(32, "CT 9.");
}
bool Ct8Signature(const FormatProbe& probe, std::string_view) {
  return probe.RawIs(32, "CT 8.");
}

// The column titles of a TR Log page, in any letter case, within the first 79 bytes.
bool TrLogColumnTitles(const FormatProbe& probe, std::string_view) {
  return probe.UpperContains("BAND    DATE    TIME  QSO#  CALL");
}

// A DX Cluster spot: a digit first, the date's '-' at 25 and the 'Z' of the time at 39.
bool DxClusterSpot(const FormatProbe& probe, std::string_view) {
  return IsDigit(static_cast<char>(probe.raw[0])) && probe.raw[25] == '-' && probe.raw[39] == 'Z';
}
bool DxInfoSpot(const FormatProbe& probe, std::string_view) {
  return probe.raw[0] == 'O';
}

// NA logs by their first byte: 'Z' and above for the newer generation, 'P' to 'Y' the older.
bool NaNewFirstByte(const FormatProbe& probe, std::string_view) {
  return probe.raw[0] >= 'Z';
}
bool NaOldFirstByte(const FormatProbe& probe, std::string_view) {
  return probe.raw[0] >= 'P';
}

// A Cabrillo log: any .cbr file, and a .log file that begins with the log's first keyword,
// which no WRTC or ARRL log begins with (after the byte-order mark of a file saved as UTF-8).
bool CabrilloStart(const FormatProbe& probe, std::string_view extension) {
  return EqualsNoCase(extension, "cbr") || probe.RawIs(0, "START-OF-LOG:") ||
         (probe.RawIs(0, "\xEF\xBB\xBF") && probe.RawIs(3, "START-OF-LOG:"));
}

// A WRTC log has a '/' at 22 and a ':' at 34; an ARRL log the date's first '/' at 8, 9 or 10.
bool WrtcColumns(const FormatProbe& probe, std::string_view) {
  return probe.raw[22] == '/' && probe.raw[34] == ':';
}
bool ArrlDate(const FormatProbe& probe, std::string_view) {
  return probe.raw[8] == '/' || probe.raw[9] == '/' || probe.raw[10] == '/';
}

using enum FormatOutput;

constexpr FormatRow kRows[] = {
    {kFormatCt9, "CT binary log, version 9", {"bin"}, Ct9Signature, true, kNone, Make<Ct9LogFile>},
    {kFormatCt8,
     "CT binary log, version 8",
     {"bin"},
     Ct8Signature,
     true,
     kWrites,
     Make<Ct8LogFile>},
    {kFormatCtOld,
     "CT binary log, versions before 8",
     {"bin"},
     AnyContent,
     true,
     kNone,
     Make<CtOldLogFile>},
    {kFormatTrLog, "TR Log text log", {"dat"}, TrLogColumnTitles, true, kWrites, Make<TrLogFile>},
    {kFormatDxCluster,
     "DX Cluster spot listing",
     {"dat"},
     DxClusterSpot,
     true,
     kNone,
     Make<DxClusterFile>},
    {kFormatDxInfo, "DX Info spot file", {"dat"}, DxInfoSpot, true, kObjectOnly, Make<DxInfoFile>},
    {kFormatNaNew,
     "NA log, newer generation",
     {"qdf"},
     NaNewFirstByte,
     true,
     kNone,
     Make<NaLogFile>},
    {kFormatNaOld,
     "NA log, older generation",
     {"qdf"},
     NaOldFirstByte,
     true,
     kNone,
     Make<NaOldLogFile>},
    {kFormatCabrillo,
     "Cabrillo",
     {"cbr", "log"},
     CabrilloStart,
     true,
     kWrites,
     Make<CabrilloLogFile>},
    {kFormatWrtc, "WRTC log", {"log"}, WrtcColumns, true, kNone, Make<WrtcLogFile>},
    {kFormatArrl, "ARRL contest log", {"log"}, ArrlDate, true, kWrites, Make<ArrlLogFile>},
    {kFormatAdif, "ADIF", {"adi"}, AnyContent, true, kWrites, Make<AdifLogFile>},
    {kFormatDbase, "dBase table", {"dbf"}, nullptr, false, kWrites, Make<DbaseLogFile>},
    {kFormatDxBase, "DXBase file", {"sdf"}, nullptr, false, kWrites, Make<SdfLogFile>},
};

}  // namespace

std::span<const FormatRow> FormatRows() {
  return kRows;
}

}  // namespace quorvel
