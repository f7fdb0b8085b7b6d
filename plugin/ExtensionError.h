// SPDX-License-Identifier: MIT
// The plug-in's one error type: why a request could not show its item.
#pragma once

#include "PreviewPlugin.h"

#include <QString>

struct ExtensionError {
    enum Code {
        /// Archive preview is switched off.
        NotEnabled,
        NotFound,
        NotReadable,
        /// Neither a folder nor an archive that the preview opens.
        NotPreviewable,
        /// The archive does not fit the cache's size limit.
        TooLargeForCache,
        /// Items could not be written out where the user asked.
        CannotWrite,
    };

    Code code;
    QString message;

    /// What the host's error object says of it. Switching archive preview
    /// off has always been reported as a zip error of the plug-in; hosts know it.
    PreviewError previewError() const
    {
        if (code == NotEnabled)
            return {QStringLiteral("Trellin_Extension.ZipError"), 0, {}, message};
        return {QStringLiteral("Trellin_Extension.PreviewError"), int(code), {}, message};
    }
};
