// SPDX-License-Identifier: MIT
#include "Zip.h"

#include "Bundle.h"
#include "FileSystem.h"
#include "UniqueHandle.h"

#include <QSet>
#include <QStringDecoder>

#include <minizip/unzip.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace Zip {

namespace {

constexpr std::size_t bufferSize = 4096;
constexpr std::size_t outputBufferSize = 64 * 1024;
constexpr qint64 spareDiskSpace = qint64(1) << 30;
constexpr uLong encryptedFlag = 1u << 0;
constexpr uLong utf8NameFlag = 1u << 11;

using ZipHandle = UniqueHandle<void, unzClose>;

QSet<QString> &addedFileExtensions()
{
    static QSet<QString> extensions;
    return extensions;
}

// A descriptor that is closed exactly once.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd;
};

// What zip tools wrote before names were UTF-8: the IBM PC's code page 437.
QString fromCodePage437(const QByteArray &bytes)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("ibm-437", &status);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                                         bytes.constData(), int32_t(bytes.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return QString::fromLatin1(bytes);
    text.truncate(length);
    return text;
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QString entryName(const QByteArray &bytes, uLong flags)
{
    if (!(flags & utf8NameFlag) && !isValidUtf8(bytes))
        return fromCodePage437(bytes);
    return QString::fromUtf8(bytes);
}

// The path of an entry below the destination, a component a piece; nothing
// when the name climbs out of the destination.
std::optional<QByteArrayList> components(const QString &name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QByteArrayList parts;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return std::nullopt;
        parts.append(part.toUtf8());
    }
    return parts;
}

// Opens (making it when missing) the directory `name` inside `parent`, never
// through a link; nothing when a file or a link is in the way.
Descriptor openDirectory(int parent, const QByteArray &name)
{
    if (mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST)
        return Descriptor();
    return Descriptor(openat(parent, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Opens the directory that the first `count` components name, from the destination.
Descriptor openDirectories(int destination, const QByteArrayList &parts, qsizetype count)
{
    Descriptor current(fcntl(destination, F_DUPFD_CLOEXEC, 0));
    for (qsizetype i = 0; i < count && current; ++i)
        current = openDirectory(current.get(), parts[i]);
    return current;
}

struct DeferredPermissions {
    QByteArrayList parts;
    mode_t mode;
};

void reportPermissionFailure(const QByteArray &fullPath)
{
    std::printf("Failed to set permissions to file %s, error: %s\n", fullPath.constData(),
                qPrintable(QString::fromLocal8Bit(strerror(errno))));
    std::fflush(stdout);
}

// Every entry is read here before anything is written: the archive must
// hold only what can be read safely and must fit on the disk.
void checkEntries(unzFile archive, bool havePassword, const QByteArray &destination)
{
    struct Span {
        ZPOS64_T start;
        ZPOS64_T end;
    };
    std::vector<Span> spans;
    qint64 declared = 0;
    for (int result = unzGoToFirstFile(archive); result == UNZ_OK; result = unzGoToNextFile(archive)) {
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            throw ZipError::unzipFail;
        // minizip hands other methods, and encrypted data without a
        // password, back as raw bytes without complaint.
        if (info.compression_method != 0 && info.compression_method != Z_DEFLATED)
            throw ZipError::unzipFail;
        if ((info.flag & encryptedFlag) && !havePassword)
            throw ZipError::unzipFail;
        declared = qint64(qMin<ZPOS64_T>(ZPOS64_T(declared) + info.uncompressed_size,
                                         ZPOS64_T(std::numeric_limits<qint64>::max())));
        int method = 0;
        int level = 0;
        if (unzOpenCurrentFile2(archive, &method, &level, 1) != UNZ_OK)
            throw ZipError::unzipFail;
        const ZPOS64_T start = unzGetCurrentFileZStreamPos64(archive);
        unzCloseCurrentFile(archive);
        if (info.compressed_size > 0)
            spans.push_back({start, start + info.compressed_size});
    }
    // Entries that share compressed data are how the small bombs grow large.
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.start < b.start; });
    for (std::size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].start < spans[i - 1].end)
            throw ZipError::unzipFail;
    }
    struct statvfs disk;
    if (statvfs(destination.constData(), &disk) == 0) {
        const qint64 free = qint64(disk.f_bavail) * qint64(disk.f_frsize);
        if (declared > free - spareDiskSpace)
            throw ZipError::unzipFail;
    }
}

} // namespace

QString localizedDescription(ZipError error)
{
    switch (error) {
    case ZipError::fileNotFound:
        return Bundle::main().localizedString("File not found.");
    case ZipError::unzipFail:
        return Bundle::main().localizedString("Failed to unzip file.");
    case ZipError::zipFail:
        return Bundle::main().localizedString("Failed to zip file.");
    }
    return {};
}

bool isValidFileExtension(const QString &fileExtension)
{
    return fileExtension == QLatin1String("zip") || fileExtension == QLatin1String("cbz")
        || addedFileExtensions().contains(fileExtension);
}

void addCustomFileExtension(const QString &fileExtension)
{
    addedFileExtensions().insert(fileExtension);
}

void removeCustomFileExtension(const QString &fileExtension)
{
    addedFileExtensions().remove(fileExtension);
}

void unzipFile(const QUrl &zipFilePath, const QUrl &destination, bool overwrite,
               const std::optional<QString> &password, const ProgressHandler &progress,
               const FileOutputHandler &fileOutputHandler)
{
    const QByteArray path = FileSystem::localPath(zipFilePath);
    if (path.isEmpty() || access(path.constData(), F_OK) != 0)
        throw ZipError::fileNotFound;
    const QByteArray component = FileSystem::lastPathComponent(path);
    const qsizetype dot = component.lastIndexOf('.');
    if (!isValidFileExtension(dot < 0 ? QString() : QString::fromUtf8(component.mid(dot + 1))))
        throw ZipError::fileNotFound;

    std::vector<char> buffer(bufferSize, 0);
    // Each 4096-byte piece would otherwise be a write of its own: glibc
    // ignores setvbuf's size unless it is also given the buffer.
    std::vector<char> outputBuffer(outputBufferSize);
    struct stat archiveStatus;
    if (stat(path.constData(), &archiveStatus) != 0)
        throw FileSystemError{QString::fromLocal8Bit(strerror(errno))};
    const double totalSize = double(archiveStatus.st_size);

    const ZipHandle archive(unzOpen64(path.constData()));
    if (!archive || unzGoToFirstFile(archive.get()) != UNZ_OK)
        throw ZipError::unzipFail;
    const QByteArray destinationPath = FileSystem::localPath(destination);
    const std::optional<QByteArray> asciiPassword =
        password && std::all_of(password->begin(), password->end(), [](QChar c) { return c.unicode() < 0x80; })
        ? std::optional<QByteArray>(password->toLatin1())
        : std::nullopt;
    checkEntries(archive.get(), asciiPassword.has_value(), destinationPath);
    const Descriptor destinationDirectory(
        open(destinationPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!destinationDirectory)
        throw ZipError::unzipFail;

    // A directory stored read-only must not stop its own files from being
    // written: directory modes are applied once everything is in place.
    std::vector<DeferredPermissions> directoryPermissions;
    double position = 0;
    int loopResult = unzGoToFirstFile(archive.get());
    while (loopResult == UNZ_OK) {
        const int opened = asciiPassword ? unzOpenCurrentFilePassword(archive.get(), asciiPassword->constData())
                                         : unzOpenCurrentFile(archive.get());
        if (opened != UNZ_OK)
            throw ZipError::unzipFail;
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(archive.get(), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            unzCloseCurrentFile(archive.get());
            throw ZipError::unzipFail;
        }
        QByteArray nameBytes(qsizetype(info.size_filename) + 1, '\0');
        unzGetCurrentFileInfo64(archive.get(), &info, nameBytes.data(), uLong(nameBytes.size()), nullptr, 0, nullptr, 0);
        nameBytes.truncate(qsizetype(info.size_filename));
        const qsizetype nul = nameBytes.indexOf('\0');
        const QString name = entryName(nul < 0 ? nameBytes : nameBytes.left(nul), info.flag);
        if (name.isEmpty()) {
            unzCloseCurrentFile(archive.get());
            throw ZipError::unzipFail;
        }
        const bool isDirectory = nameBytes.endsWith('/') || nameBytes.endsWith('\\');
        const std::optional<QByteArrayList> parts = components(name);
        const QByteArray fullPath = parts ? FileSystem::appendingPathComponent(destinationPath, parts->join('/'))
                                          : QByteArray();
        position += double(info.compressed_size);

        // Names cut short by a NUL would land on another name; names that
        // climb out of the destination land outside it: neither is written.
        bool skip = nul >= 0 || !parts || parts->isEmpty();
        Descriptor parent;
        if (!skip) {
            parent = openDirectories(destinationDirectory.get(), *parts, parts->size() - (isDirectory ? 0 : 1));
            skip = !parent; // a file stands where a folder is needed
        }
        FILE *output = nullptr;
        if (!skip && !isDirectory) {
            const QByteArray &leaf = parts->last();
            struct stat existing;
            const bool exists = fstatat(parent.get(), leaf.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
            if (exists && !S_ISREG(existing.st_mode)) {
                skip = true; // a folder (or anything but a file) stands where the file goes
            } else if (exists && !overwrite) {
                skip = true;
            } else {
                const int fd = openat(parent.get(), leaf.constData(),
                                      O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
                output = fd >= 0 ? fdopen(fd, "wb") : nullptr;
                if (fd >= 0 && !output)
                    close(fd);
            }
        }

        if (!skip) {
            quint64 written = 0;
            if (output) {
                std::setvbuf(output, outputBuffer.data(), _IOFBF, outputBuffer.size());
                int read = 0;
                while ((read = unzReadCurrentFile(archive.get(), buffer.data(), unsigned(bufferSize))) > 0) {
                    // Never more than the entry declares, and never past it first.
                    if (written + quint64(read) > info.uncompressed_size
                        || std::fwrite(buffer.data(), std::size_t(read), 1, output) != 1) {
                        std::fclose(output);
                        unzCloseCurrentFile(archive.get());
                        throw ZipError::unzipFail;
                    }
                    written += quint64(read);
                }
                const int permissions = int(info.external_fa >> 16) & 0777;
                if (info.external_fa != 0 && permissions >= 0400 && fchmod(fileno(output), mode_t(permissions)) != 0)
                    reportPermissionFailure(fullPath);
                if (std::fclose(output) != 0) {
                    unzCloseCurrentFile(archive.get());
                    throw ZipError::unzipFail;
                }
            }
            if (unzCloseCurrentFile(archive.get()) == UNZ_CRCERROR || written != info.uncompressed_size)
                throw ZipError::unzipFail;
            const int permissions = int(info.external_fa >> 16) & 0777;
            if (isDirectory && info.external_fa != 0 && permissions >= 0400)
                directoryPermissions.push_back({*parts, mode_t(permissions)});
        } else {
            unzCloseCurrentFile(archive.get());
        }

        loopResult = unzGoToNextFile(archive.get());
        if (progress)
            progress(totalSize > 0 ? position / totalSize : 0);
        if (fileOutputHandler && parts) {
            const QUrl url(QString::fromLatin1(fullPath.toPercentEncoding("/")));
            if (url.isValid())
                fileOutputHandler(url);
        }
    }

    // Deepest first, so that a read-only folder is closed after what is inside it.
    std::stable_sort(directoryPermissions.begin(), directoryPermissions.end(),
                     [](const DeferredPermissions &a, const DeferredPermissions &b) {
                         return a.parts.size() > b.parts.size();
                     });
    for (const DeferredPermissions &directory : directoryPermissions) {
        const Descriptor fd = openDirectories(destinationDirectory.get(), directory.parts, directory.parts.size());
        if (!fd || fchmod(fd.get(), directory.mode) != 0)
            reportPermissionFailure(FileSystem::appendingPathComponent(destinationPath, directory.parts.join('/')));
    }
    if (progress)
        progress(1.0);
}

} // namespace Zip
