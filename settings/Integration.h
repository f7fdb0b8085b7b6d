// SPDX-License-Identifier: MIT
// The per-user file-manager entries that a package cannot install: a Thunar
// custom action merged into ~/.config/Thunar/uca.xml and a GNOME Files script.
#pragma once

#include <QString>

namespace Integration {

/// Which of the two per-user entries are in place.
struct State {
    bool thunar = false;
    bool nautilus = false;
};

State state();

/// Adds both entries, replacing earlier ones of ours; what the user's uca.xml
/// holds besides stays byte for byte, and the file as it was is kept in
/// uca.xml.bak. False, with the reason in `error`, when something was left undone.
bool install(QString *error);
/// Takes out what install() added, and nothing else.
bool remove(QString *error);

/// One entry at a time, as the settings window's switches change them.
bool setThunar(bool on, QString *error);
bool setNautilus(bool on, QString *error);

} // namespace Integration
