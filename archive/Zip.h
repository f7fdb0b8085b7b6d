// SPDX-License-Identifier: MIT
// Extraction of zip archives, over minizip's reading interface.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace Zip {

enum class ZipError {
    fileNotFound,
    unzipFail,
    zipFail,
};

/// "File not found.", "Failed to unzip file.", "Failed to zip file.", in the user's language.
QString localizedDescription(ZipError error);

/// Thrown when the archive's own attributes cannot be read.
struct FileSystemError {
    QString description;
};

using ProgressHandler = std::function<void(double fraction)>;
using FileOutputHandler = std::function<void(const QUrl &url)>;

/// Extracts every entry of the archive below `destination`, synchronously.
/// Throws ZipError (or FileSystemError). Nothing is ever created or written
/// outside `destination`: entries whose names climb out of it, or that would
/// have to replace a file by a folder or the reverse, are skipped. Archives
/// whose entries overlap, inflate past their declared sizes, use methods
/// other than stored and deflate, are encrypted and no password is given, or
/// would not fit on the disk with a gigabyte to spare fail with unzipFail.
/// What was written before a failure stays.
void unzipFile(const QUrl &zipFilePath, const QUrl &destination, bool overwrite,
               const std::optional<QString> &password, const ProgressHandler &progress = {},
               const FileOutputHandler &fileOutputHandler = {});

/// Whether an archive with this extension is accepted: "zip", "cbz" and the
/// added ones, compared exactly.
bool isValidFileExtension(const QString &fileExtension);
void addCustomFileExtension(const QString &fileExtension);
void removeCustomFileExtension(const QString &fileExtension);

} // namespace Zip
