// SPDX-License-Identifier: MIT
// The modes without a window: --dump, --text and --screenshot wait for the
// finished preview and print or render it.
#pragma once

#include "Options.h"

#include <cstdio>

class Preview;
class StartClock;

/// Readies the process for a mode without a window, before QApplication
/// exists; where the document goes (--dump's standard output, kept apart
/// from what the plug-in prints). Standard output in window mode.
FILE *prepareHeadlessOutput(const Options &options);
/// Runs the request for `path` and prints or renders its result as
/// `options` ask; the exit status.
int printPreview(Preview &preview, const QByteArray &path, const Options &options, FILE *document,
                 const StartClock &sinceStart);
