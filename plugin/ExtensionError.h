// SPDX-License-Identifier: MIT
// The plug-in's one error type: why a request could not show its item.
#pragma once

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
    };

    Code code;
    QString message;

    /// What the host's error object says of it. Switching archive preview
    /// off has always been reported as a zip error of the plug-in; hosts know it.
    QString domain() const
    {
        return QLatin1String(code == NotEnabled ? "Trellin_Extension.ZipError" : "Trellin_Extension.PreviewError");
    }
    int errorCode() const { return code == NotEnabled ? 0 : int(code); }
};
