// SPDX-License-Identifier: MIT
// The preview window: on screen at once, filled in as the preview gets
// ready; it asks for an archive's password, says why an item cannot be
// previewed, and is the one window of the session.
#pragma once

#include "Options.h"

#include <QByteArray>

#include <memory>

class Preview;
class SingleWindow;
class StartClock;

/// Exits with a usage error when there is no display to show a window on.
void requireDisplay();

/// The session's preview window, when this process is to own it; nothing
/// when it is to open a window of its own. `handedOver` says that the
/// window of another process took `path`, and this one has nothing to do.
std::unique_ptr<SingleWindow> claimSingleWindow(const QByteArray &path, bool *handedOver);

/// Shows `path`, and every path that `singleWindow` hands over later, until
/// the window closes; the exit status.
int showWindow(Preview &preview, const QByteArray &path, SingleWindow *singleWindow, const Options &options,
               const StartClock &sinceStart);
