// The dialog program's settings file quorvelwin.ini: the five conversion options it keeps between
// runs, in the section "General" of a private-profile (INI) text file.
#pragma once

#include <string>

#include "core/contest_header.h"

namespace quorvel {

/// Where the settings file lives: $XDG_CONFIG_HOME/quorvel/quorvelwin.ini when XDG_CONFIG_HOME is
/// an absolute path, else $HOME/.config/quorvel/quorvelwin.ini; empty when neither is known.
std::string SettingsFilePath();

/// Fills the five kept fields of `options` (band_numeric, approach, extra_fields, contest,
/// comment) from the file at `path`; a missing file or key gives the field its default, 0 or
/// empty. Never fails: what cannot be read counts as absent.
void ReadSettings(const std::string& path, ConversionOptions& options);

/// Writes the five kept fields into the file at `path`, keeping every other line of it, and
/// replaces the file atomically, creating its folder when needed. Returns "" on success, else a
/// one-line text saying what failed; then the old file is as it was.
std::string WriteSettings(const std::string& path, const ConversionOptions& options);

}  // namespace quorvel
