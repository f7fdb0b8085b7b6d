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

/// The host that the entries run: the one beside this program, in an
/// installation or in the build tree, else trellin-preview on PATH.
QString previewProgram();

/// Adds both entries, named in the user's language, replacing earlier ones of
/// ours; what the user's uca.xml holds besides stays byte for byte, and the
/// file as it was is kept in uca.xml.bak. Each entry runs `program` while it is
/// there, and takes itself out once it is gone. False, with the reason in
/// `error`, when something was left undone.
bool install(QString *error, const QString &program = previewProgram());
/// Takes out what install() added, and nothing else.
bool remove(QString *error);

/// One entry at a time, as the settings window's switches change them.
bool setThunar(bool on, QString *error, const QString &program = previewProgram());
bool setNautilus(bool on, QString *error, const QString &program = previewProgram());

} // namespace Integration
