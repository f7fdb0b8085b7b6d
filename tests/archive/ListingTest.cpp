// SPDX-License-Identifier: MIT
// The listing of an archive from its index must be what its extraction
// writes: the same paths, types, sizes, modes and dates. Extraction restores
// the stored dates, and can be cancelled and counted.
#include "FileSystem.h"
#include "Listing.h"
#include "TestSupport.h"
#include "Extraction.h"
#include "ZipWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <dirent.h>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <variant>

namespace {

using Type = Archive::ListedEntry::Type;
using Reason = Archive::SkippedEntry::Reason;

// 2019-06-01 00:00:00 UTC and 2019-01-01 00:00:00 UTC.
constexpr time_t june2019 = 1559347200;
constexpr time_t newYear2019 = 1546300800;

struct DiskItem {
    Type type;
    qint64 size;
    mode_t mode;
    struct timespec modified;
};

// Everything below `root`, never following a link; folders the owner may not
// enter are opened up once their mode is read.
void walk(const QByteArray &root, const QByteArray &relative, std::map<QByteArray, DiskItem> &items)
{
    const UniqueHandle<DIR, closedir> dir(opendir((relative.isEmpty() ? root : root + '/' + relative).constData()));
    ASSERT_TRUE(dir) << relative.constData();
    while (const dirent *entry = readdir(dir.get())) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const QByteArray path = relative.isEmpty() ? name : relative + '/' + name;
        const QByteArray full = root + '/' + path;
        struct stat status;
        ASSERT_EQ(lstat(full.constData(), &status), 0) << path.constData();
        const Type type = S_ISDIR(status.st_mode) ? Type::Folder : S_ISLNK(status.st_mode) ? Type::SymbolicLink : Type::File;
        EXPECT_TRUE(S_ISDIR(status.st_mode) || S_ISLNK(status.st_mode) || S_ISREG(status.st_mode)) << path.constData();
        items[path] = {type, qint64(status.st_size), mode_t(status.st_mode & 0777), status.st_mtim};
        if (type == Type::Folder) {
            if ((status.st_mode & 0700) != 0700)
                chmod(full.constData(), status.st_mode | 0700);
            walk(root, path, items);
        }
    }
}

// Comparable and printable; far dates would overflow a count of nanoseconds.
std::pair<qint64, long> instant(const struct timespec &time)
{
    return {qint64(time.tv_sec), long(time.tv_nsec)};
}

std::optional<Archive::ArchiveError> extract(const QByteArray &archive, const QByteArray &destination, Archive::Format format,
                                     const Archive::ExtractOptions &options)
{
    try {
        Archive::extractArchive(archive, destination, format, options);
    } catch (const Archive::ArchiveError &error) {
        return error;
    }
    return std::nullopt;
}

// Extracts the archive into `destination`, lists it, and checks that the two agree.
Archive::Listing expectListingMatchesExtraction(const QByteArray &archive, Archive::Format format, const QByteArray &destination,
                                            const std::optional<QString> &password = {})
{
    SCOPED_TRACE(archive.constData());
    Archive::ExtractOptions options;
    options.password = password;
    const std::optional<Archive::ArchiveError> error = extract(archive, destination, format, options);
    EXPECT_FALSE(error) << (error ? error->localizedDescription().toStdString() : "");
    const Archive::Listing listing = Archive::listArchive(archive, format, {password});
    std::map<QByteArray, DiskItem> disk;
    walk(destination, {}, disk);

    QByteArrayList listed;
    for (const Archive::ListedEntry &entry : listing.entries) {
        if (entry.type != Type::Special) // never created
            listed.append(entry.path);
    }
    QByteArrayList written;
    for (const auto &item : disk)
        written.append(item.first);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, written);
    for (const Archive::ListedEntry &entry : listing.entries) {
        const auto found = disk.find(entry.path);
        if (found == disk.end())
            continue;
        const DiskItem &item = found->second;
        SCOPED_TRACE(entry.path.constData());
        EXPECT_EQ(entry.type, item.type);
        // Only a single compressed file declares no size.
        if (entry.type != Type::Folder && (entry.size >= 0 || format != Archive::Format::Compressed)) {
            EXPECT_EQ(entry.size, item.size);
        }
        EXPECT_EQ(entry.mode, item.mode) << "as octal: " << std::oct << entry.mode << " listed, " << item.mode << " written";
        if (entry.modified && !entry.implied) {
            EXPECT_EQ(instant(*entry.modified), instant(item.modified));
        }
    }
    return listing;
}

Archive::Format formatOf(const QString &name)
{
    if (name.endsWith(QLatin1String(".zip")))
        return Archive::Format::Zip;
    if (name.endsWith(QLatin1String(".7z")))
        return Archive::Format::SevenZip;
    if (name.endsWith(QLatin1String(".cpio")))
        return Archive::Format::Cpio;
    return name.contains(QLatin1String(".tar")) ? Archive::Format::Tar : Archive::Format::Compressed;
}

const Archive::ListedEntry *find(const Archive::Listing &listing, const QByteArray &path)
{
    const auto found = std::find_if(listing.entries.begin(), listing.entries.end(),
                                    [&](const Archive::ListedEntry &entry) { return entry.path == path; });
    return found == listing.entries.end() ? nullptr : &*found;
}

// The entry of `path`; an empty one, and a failure, where there is none.
const Archive::ListedEntry &at(const Archive::Listing &listing, const QByteArray &path)
{
    static const Archive::ListedEntry missing;
    const Archive::ListedEntry *entry = find(listing, path);
    if (!entry)
        ADD_FAILURE() << "not listed: " << path.constData();
    return entry ? *entry : missing;
}

std::multimap<QByteArray, Reason> skipped(const Archive::Listing &listing)
{
    std::multimap<QByteArray, Reason> reasons;
    for (const Archive::SkippedEntry &entry : listing.skipped)
        reasons.emplace(entry.name, entry.reason);
    return reasons;
}

// The listing, or the error it fails with, of an archive read from a file or from memory.
std::variant<Archive::Listing, Archive::ArchiveError> listing(const QByteArray &archive, Archive::Format format, bool fromMemory)
{
    try {
        if (!fromMemory)
            return Archive::listArchive(archive, format, {QStringLiteral("password")});
        QFile file(QString::fromUtf8(archive));
        if (!file.open(QIODevice::ReadOnly))
            return Archive::ArchiveError(Archive::ArchiveError::fileNotFound);
        const QByteArray data = file.readAll();
        return Archive::listArchiveData(data, archive, format, {QStringLiteral("password")});
    } catch (const Archive::ArchiveError &error) {
        return error;
    }
}

// Everything a listing says, one entry or entry left out a line, to compare two listings.
std::string describe(const Archive::Listing &listing)
{
    QStringList lines;
    for (const Archive::ListedEntry &x : listing.entries) {
        lines << QString::asprintf("%s type %d implied %d size %lld mode %o modified %lld.%ld link %s encrypted %d",
                                   x.path.constData(), int(x.type), x.implied, qlonglong(x.size), unsigned(x.mode),
                                   x.modified ? qlonglong(x.modified->tv_sec) : -1LL, x.modified ? x.modified->tv_nsec : 0L,
                                   x.linkTarget.constData(), x.encrypted);
    }
    for (const Archive::SkippedEntry &entry : listing.skipped)
        lines << QString::asprintf("skipped %s reason %d", entry.name.constData(), int(entry.reason));
    lines << QString::asprintf("encrypted %d total %lld", listing.encrypted, qlonglong(listing.totalSize));
    return lines.join(u'\n').toStdString();
}

class Listing : public testing::Test
{
protected:
    QByteArray freshFolder()
    {
        return m_tree.folder("out" + QByteArray::number(++m_folders));
    }

    TempTree m_tree;
    int m_folders = 0;
};

// The zip corpus and the archives of every format beside it.
QStringList everyTestArchive()
{
    QStringList paths;
    QDirIterator corpus(QStringLiteral(TRELLIN_ZIP_CORPUS), QDir::Files, QDirIterator::Subdirectories);
    while (corpus.hasNext())
        paths.append(corpus.next());
    QDirIterator archives(QStringLiteral(TRELLIN_ZIP_CORPUS "/../archives"), QDir::Files);
    while (archives.hasNext())
        paths.append(archives.next());
    return paths;
}

} // namespace

TEST_F(Listing, EqualsTheExtractionOfEveryTestAndCorpusArchive)
{
    const QDir folder(QStringLiteral(TRELLIN_ZIP_CORPUS "/../archives"));
    const QStringList names = folder.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString &name : names) {
        const Archive::Format format = formatOf(name);
        const Archive::Listing listing = expectListingMatchesExtraction(QFile::encodeName(folder.filePath(name)), format,
                                                                    freshFolder(), QStringLiteral("password"));
        EXPECT_FALSE(listing.entries.empty()) << name.toStdString();
    }

    // Each stores the data of a file of two links with one of them.
    for (const auto &[name, format] : {std::pair("links.cpio", Archive::Format::Cpio), {"links.iso", Archive::Format::Iso9660}}) {
        ASSERT_TRUE(makeArchive(QStringLiteral("hard-links"), m_tree.path(name)));
        const Archive::Listing links = expectListingMatchesExtraction(m_tree.path(name), format, freshFolder());
        EXPECT_EQ(at(links, "a").size, 6) << name;
        EXPECT_EQ(at(links, "b").size, 6) << name;
    }

    QFile manifest(QStringLiteral(TRELLIN_ZIP_CORPUS "/expected.tsv"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    int checked = 0;
    while (!manifest.atEnd()) {
        const QList<QByteArray> fields = manifest.readLine().split('\t');
        if (fields.size() >= 2 && !fields[0].startsWith('#') && fields[1] == "extract") {
            expectListingMatchesExtraction(TRELLIN_ZIP_CORPUS "/" + fields[0], Archive::Format::Zip, freshFolder());
            ++checked;
        }
    }
    EXPECT_GT(checked, 100) << "every corpus archive that extracts";
}

TEST_F(Listing, ResolvesNamesAsExtractionDoesInEveryEntryLoop)
{
    // The same hostile and ambiguous entries as a tar (read straight
    // through) and as a zip (planned from its directory).
    ASSERT_TRUE(makeArchive(QStringLiteral("hostile-names"), m_tree.path("names.tar")));
    ASSERT_TRUE(makeArchive(QStringLiteral("hostile-names"), m_tree.path("names.zip")));
    const std::multimap<QByteArray, Reason> common{
        {".", Reason::UnsafePath},    {"../x", Reason::UnsafePath}, {"d", Reason::TypeConflict},     {"d/up", Reason::LinkLeaves},
        {"dup.txt", Reason::Replaced}, {"f/", Reason::TypeConflict},   {"f/in.txt", Reason::TypeConflict},
        {"top", Reason::Replaced},
    };
    // New items take their mode from the umask where the archive's is unusable.
    const mode_t umaskBefore = umask(027);
    const auto restore = qScopeGuard([&] { umask(umaskBefore); });
    for (const char *name : {"names.tar", "names.zip"}) {
        SCOPED_TRACE(name);
        const Archive::Format format = formatOf(QString::fromLatin1(name));
        const QByteArray out = freshFolder();
        const time_t started = time(nullptr);
        const Archive::Listing listing = expectListingMatchesExtraction(m_tree.path(name), format, out);
        std::multimap<QByteArray, Reason> expected = common;
        // libarchive reads a zip FIFO as a plain file.
        if (format == Archive::Format::Tar)
            expected.emplace("hard-to-nothing", Reason::LinkLeaves);
        EXPECT_EQ(skipped(listing), expected) << "\"./\" is the destination itself: not left out";
        if (format == Archive::Format::Tar) {
            EXPECT_EQ(at(listing, "fifo").type, Type::Special) << "a pipe is listed, and never created";
            EXPECT_EQ(at(listing, "fifo").fileType, mode_t(S_IFIFO));
            EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(out + "/fifo")));
        }

        EXPECT_EQ(at(listing, "dup.txt").size, 4) << "the later entry of a name wins";
        EXPECT_TRUE(find(listing, "abs")) << "a leading slash is dropped, as bsdtar drops it";
        EXPECT_EQ(at(listing, "top").type, Type::File);
        EXPECT_EQ(at(listing, "d/ok").linkTarget, "in.txt");
        EXPECT_TRUE(at(listing, "imp").implied && at(listing, "imp/a").implied);
        EXPECT_FALSE(at(listing, "d").implied);
        EXPECT_EQ(at(listing, "imp").mode, 0750u);
        EXPECT_EQ(at(listing, "imp/a/b.txt").mode, 0640u) << "stored as 0200, which the owner cannot read";
        // The comparison found these dates on the disk too: a folder's, after it was filled.
        for (const char *path : {"d", "d/in.txt", "d/ok", "ro"}) {
            const std::optional<struct timespec> modified = at(listing, path).modified;
            ASSERT_TRUE(modified) << path;
            struct tm date;
            EXPECT_EQ(gmtime_r(&modified->tv_sec, &date)->tm_year, 2019 - 1900) << path;
        }
        if (format != Archive::Format::Tar)
            continue;
        const Archive::ListedEntry &inD = at(listing, "d/in.txt");
        EXPECT_EQ(inD.modified->tv_sec, june2019);
        ASSERT_TRUE(inD.accessed);
        EXPECT_EQ(instant(*inD.accessed), (std::pair<qint64, long>(newYear2019, 500'000'000))) << "from the pax header";
        struct stat status;
        ASSERT_EQ(stat(out + "/d/in.txt", &status), 0);
        EXPECT_EQ(instant(status.st_atim), instant(*inD.accessed));
        struct stat plain;
        ASSERT_EQ(stat(out + "/dup.txt", &plain), 0);
        EXPECT_EQ(plain.st_atim.tv_nsec, 0) << "no stored access time: the extraction's start, as bsdtar sets it";
        EXPECT_GE(plain.st_atim.tv_sec, started);
        EXPECT_LE(plain.st_atim.tv_sec, time(nullptr));

        // A hard link is its target: the same file, size, mode and dates.
        const Archive::ListedEntry &hard = at(listing, "hard");
        EXPECT_EQ(hard.type, Type::File);
        EXPECT_EQ(hard.size, inD.size);
        EXPECT_EQ(hard.mode, 0640u);
        ASSERT_TRUE(hard.accessed);
        EXPECT_EQ(instant(*hard.accessed), instant(*inD.accessed));
        struct stat link;
        ASSERT_EQ(stat(out + "/hard", &link), 0);
        EXPECT_EQ(link.st_ino, status.st_ino);
    }
}

TEST_F(Listing, EncryptedEntriesListWithoutThePassword)
{
    m_tree.file("plain.txt", 10);
    m_tree.write("secret.txt", QByteArray(5000, 's'));
    ASSERT_TRUE(runTool(QStringLiteral("zip"), {"-q", "-P", "pass", "secret.zip", "plain.txt", "secret.txt"}, m_tree.path()));
    const Archive::Listing listing = Archive::listArchive(m_tree.path("secret.zip"), Archive::Format::Zip);
    EXPECT_TRUE(listing.encrypted);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_TRUE(listing.entries[1].encrypted);
    EXPECT_EQ(listing.entries[1].size, 5000);
    EXPECT_EQ(listing.totalSize, 5010);

    if (!runTool(QStringLiteral("7z"), {"a", "-bd", "-bso0", "-phidden", "-mhe=on", "names.7z", "plain.txt"}, m_tree.path())
        || !runTool(QStringLiteral("7z"), {"a", "-bd", "-bso0", "-phidden", "data.7z", "plain.txt"}, m_tree.path()))
        GTEST_SKIP() << "no 7z to make encrypted archives with";
    // libarchive cannot decrypt 7z: no password is asked for, and the right one is not blamed.
    for (const std::optional<QString> &password : {std::optional<QString>(), std::optional(QStringLiteral("hidden"))}) {
        SCOPED_TRACE(password.value_or(QStringLiteral("(no password)")).toStdString());
        try {
            Archive::listArchive(m_tree.path("names.7z"), Archive::Format::SevenZip, {password});
            ADD_FAILURE() << "names that are encrypted cannot be listed";
        } catch (const Archive::ArchiveError &error) {
            EXPECT_EQ(error, Archive::ArchiveError::unzipFail) << error.localizedDescription().toStdString();
            EXPECT_TRUE(error.detail.contains(QLatin1String("not supported")) && error.detail.contains(QLatin1String("7-Zip")))
                << "it names the encryption that cannot be read: " << error.detail.toStdString();
        }
        Archive::ExtractOptions options;
        options.password = password;
        const std::optional<Archive::ArchiveError> failure = extract(m_tree.path("data.7z"), freshFolder(), Archive::Format::SevenZip, options);
        ASSERT_TRUE(failure);
        EXPECT_EQ(*failure, Archive::ArchiveError::unzipFail) << "neither asks for a password nor blames it: "
                                                      << failure->localizedDescription().toStdString();
        EXPECT_TRUE(failure->detail.contains(QLatin1String("not supported"))) << failure->detail.toStdString();
    }
}

TEST_F(Listing, AFailureSaysWhatHappenedInTheUsersWordsBeforeLibarchives)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("zip-damaged-entry"), m_tree.path("damaged.zip"), {"1", "0"}));
    m_tree.write("none.zip", QByteArray("this is not a zip").repeated(10));
    const auto failure = [&](const char *name) {
        try {
            Archive::listArchive(m_tree.path(name), Archive::Format::Zip);
        } catch (const Archive::ArchiveError &error) {
            return error.detail;
        }
        return QString();
    };
    EXPECT_TRUE(failure("none.zip").startsWith(QLatin1String("The file is not an archive that can be read, or it is damaged: ")))
        << failure("none.zip").toStdString();
    EXPECT_TRUE(failure("none.zip").endsWith(QLatin1String("Unrecognized archive format"))) << "libarchive's words follow";

    std::vector<Archive::FailedEntry> failed;
    Archive::ExtractOptions options;
    options.failedEntries = &failed;
    EXPECT_FALSE(extract(m_tree.path("damaged.zip"), freshFolder(), Archive::Format::Zip, options));
    ASSERT_EQ(failed.size(), 1u) << "the damaged entry alone fails";
    EXPECT_TRUE(failed[0].reason.startsWith(QLatin1String("The archive is damaged: "))) << failed[0].reason.toStdString();
}

TEST_F(Listing, FailsWhereExtractionFails)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("deep-zip"), m_tree.path("deep.zip"), {"257"}));
    ASSERT_TRUE(makeArchive(QStringLiteral("deep-zip"), m_tree.path("fine.zip"), {"255"}));
    m_tree.write("fake.gz", "not compressed at all");
    for (const auto &[name, format] : {std::pair("deep.zip", Archive::Format::Zip), std::pair("fake.gz", Archive::Format::Compressed),
                                       std::pair("absent.zip", Archive::Format::Zip)}) {
        std::optional<Archive::ArchiveError> listed;
        try {
            Archive::listArchive(m_tree.path(name), format);
        } catch (const Archive::ArchiveError &error) {
            listed = error;
        }
        const QByteArray destination = freshFolder();
        const std::optional<Archive::ArchiveError> extracted = extract(m_tree.path(name), destination, format, {});
        ASSERT_TRUE(listed && extracted) << name;
        EXPECT_EQ(listed->code, extracted->code) << name;
        EXPECT_EQ(listed->detail, extracted->detail) << name;
        EXPECT_TRUE(QDir(QString::fromUtf8(destination)).isEmpty()) << name << ": refused before anything is written";
    }
    const std::optional<Archive::ArchiveError> deep = extract(m_tree.path("deep.zip"), freshFolder(), Archive::Format::Zip, {});
    ASSERT_TRUE(deep);
    EXPECT_EQ(*deep, Archive::ArchiveError::unzipFail) << "no other failure";
    EXPECT_TRUE(deep->detail.contains(QLatin1String("256"))) << "it says how deep an entry may go: " << deep->detail.toStdString();
    EXPECT_FALSE(extract(m_tree.path("fine.zip"), freshFolder(), Archive::Format::Zip, {})) << "as deep as allowed extracts";
}

TEST_F(Listing, AnEmptyArchiveListsAndExtractsAsNothing)
{
    for (const char *name : {"empty.zip", "empty.tar.gz", "empty.cpio"})
        ASSERT_TRUE(makeArchive(QStringLiteral("empty"), m_tree.path(name)));
    ASSERT_TRUE(makeArchive(QStringLiteral("empty"), m_tree.path("commented.zip"), {"nothing in here"}));
    for (const auto &[name, format] : {std::pair("empty.zip", Archive::Format::Zip), std::pair("commented.zip", Archive::Format::Zip),
                                       std::pair("empty.tar.gz", Archive::Format::Tar), std::pair("empty.cpio", Archive::Format::Cpio)}) {
        SCOPED_TRACE(name);
        try {
            const Archive::Listing listing = Archive::listArchive(m_tree.path(name), format);
            EXPECT_TRUE(listing.entries.empty() && listing.skipped.empty()) << "an empty archive lists nothing";
            EXPECT_FALSE(listing.truncated) << "it ends as an archive should";
        } catch (const Archive::ArchiveError &error) {
            ADD_FAILURE() << "an empty archive is no error: " << error.detail.toStdString();
        }
        const QByteArray destination = freshFolder();
        const std::optional<Archive::ArchiveError> failure = extract(m_tree.path(name), destination, format, {});
        EXPECT_FALSE(failure) << "extracting nothing is no error: " << (failure ? failure->detail.toStdString() : "");
        EXPECT_TRUE(QDir(QString::fromUtf8(destination)).isEmpty()) << "and writes nothing";
    }
}

TEST_F(Listing, AZipWhoseEndRecordLiesFarBackListsAsUnzipReadsIt)
{
    // libarchive looks for the end record in the last 16 KiB only.
    for (const char *kind : {"long", "signature", "padding"})
        ASSERT_TRUE(makeArchive(QStringLiteral("far-end-zip"), m_tree.path(kind + QByteArray(".zip")), {kind}));
    for (const char *name : {"long.zip", "signature.zip", "padding.zip"}) {
        SCOPED_TRACE(name);
        const Archive::Listing listing = expectListingMatchesExtraction(m_tree.path(name), Archive::Format::Zip, freshFolder());
        EXPECT_EQ(listing.entries.size(), 3u) << "a.txt, b and b/c.txt, as unzip -l lists them";
    }
}

TEST_F(Listing, ATarWithoutItsEndBlocksIsSaidToEndEarly)
{
    // Cut at a block boundary, a tar reads as a shorter complete one: only
    // the missing end-of-archive blocks tell.
    for (const char *name : {"whole.tar", "whole.tar.gz"})
        ASSERT_TRUE(makeArchive(QStringLiteral("tar-abc"), m_tree.path(name)));
    // a and b whole; b's data half there; a, b and c and one end block.
    for (const auto &[name, blocks] : {std::pair("cut.tar", "6"), {"cut.tar.gz", "6"}, {"cut-in-data.tar", "5"},
                                       {"one-end-block.tar", "10"}})
        ASSERT_TRUE(makeArchive(QStringLiteral("tar-cut"), m_tree.path(name), {blocks}));
    const std::pair<const char *, bool> cases[] = {{"whole.tar", false}, {"whole.tar.gz", false}, {"one-end-block.tar", false},
                                                   {"cut.tar", true},    {"cut.tar.gz", true},    {"cut-in-data.tar", true}};
    for (const auto &[name, cut] : cases) {
        SCOPED_TRACE(name);
        const Archive::Listing listing = Archive::listArchive(m_tree.path(name), Archive::Format::Tar);
        EXPECT_EQ(listing.truncated, cut) << "only a tar that stops without its end blocks ends early";
        bool endedEarly = !cut;
        Archive::ExtractOptions options;
        options.incomplete = &endedEarly;
        std::vector<Archive::FailedEntry> failed;
        options.failedEntries = &failed;
        const std::optional<Archive::ArchiveError> failure = extract(m_tree.path(name), freshFolder(), Archive::Format::Tar, options);
        if (name == std::string_view("cut-in-data.tar")) {
            // libarchive gives up on the whole stream there; the listing is what the preview shows.
            ASSERT_TRUE(failure);
            EXPECT_FALSE(failure->detail.isEmpty()) << "the failure says why";
        } else {
            EXPECT_FALSE(failure) << failure->detail.toStdString();
            EXPECT_EQ(endedEarly, cut) << "the extraction says so as the listing does";
        }
    }
}

TEST_F(Listing, AFailureAlwaysSaysWhatHappened)
{
    // libarchive's cpio reader fails on a cut archive without a word.
    // Cut inside the second entry's header, and inside the first.
    ASSERT_TRUE(makeArchive(QStringLiteral("cpio-ab"), m_tree.path("cut.cpio"), {"900"}));
    ASSERT_TRUE(makeArchive(QStringLiteral("cpio-ab"), m_tree.path("cut-first.cpio"), {"60"}));
    try {
        Archive::listArchive(m_tree.path("cut-first.cpio"), Archive::Format::Cpio);
        ADD_FAILURE() << "an archive cut before its first entry lists nothing";
    } catch (const Archive::ArchiveError &error) {
        EXPECT_TRUE(error.detail.startsWith(QLatin1String("The archive ends early"))) << "it says why: " << error.detail.toStdString();
    }
    // Cut after an entry, it lists up to the cut, as bsdtar -t does, and says so.
    const Archive::Listing listing = Archive::listArchive(m_tree.path("cut.cpio"), Archive::Format::Cpio);
    ASSERT_EQ(listing.entries.size(), 1u) << "the entry before the cut";
    EXPECT_EQ(listing.entries[0].path, "a");
    EXPECT_TRUE(listing.damage.startsWith(QLatin1String("The archive ends early"))) << listing.damage.toStdString();
    const std::optional<Archive::ArchiveError> extracted = extract(m_tree.path("cut.cpio"), freshFolder(), Archive::Format::Cpio, {});
    ASSERT_TRUE(extracted);
    EXPECT_FALSE(extracted->detail.isEmpty()) << "nor does the extraction fail without a word";
}

TEST_F(Listing, ATarHeaderThatIsDamagedIsPassedOverAndSaid)
{
    // bsdtar -t goes on past a header whose checksum fails; so do the listing and the extraction.
    ASSERT_TRUE(makeArchive(QStringLiteral("tar-bad-header"), m_tree.path("damaged.tar")));
    const Archive::Listing listing = Archive::listArchive(m_tree.path("damaged.tar"), Archive::Format::Tar);
    QByteArrayList paths;
    for (const Archive::ListedEntry &entry : listing.entries)
        paths.append(entry.path);
    EXPECT_EQ(paths, (QByteArrayList{"a", "c"})) << "the entries around the damage";
    EXPECT_TRUE(listing.damage.startsWith(QLatin1String("The archive is damaged"))) << "and it says so: " << listing.damage.toStdString();

    bool incomplete = false;
    Archive::ExtractOptions options;
    options.incomplete = &incomplete;
    const QByteArray destination = freshFolder();
    EXPECT_FALSE(extract(m_tree.path("damaged.tar"), destination, Archive::Format::Tar, options));
    EXPECT_TRUE(incomplete) << "the extraction says its listing has more to say";
    EXPECT_EQ(QDir(QString::fromUtf8(destination)).entryList(QDir::Files), (QStringList{"a", "c"}))
        << "and writes what the listing names";
}

TEST_F(Listing, AHeaderScanSkipsTheData)
{
    // Plain tar holds each entry's data in line: a scan that read it would read it all.
    ASSERT_TRUE(makeArchive(QStringLiteral("tar-abc"), m_tree.path("big.tar"), {QString::number(16 << 20)}));
    const auto bytesRead = [] {
        QFile io(QStringLiteral("/proc/self/io"));
        return io.open(QIODevice::ReadOnly) ? io.readLine().split(' ').value(1).trimmed().toLongLong() : -1;
    };
    const qint64 before = bytesRead();
    if (before < 0)
        GTEST_SKIP() << "no /proc/self/io";
    const Archive::Listing listing = Archive::listArchive(m_tree.path("big.tar"), Archive::Format::Tar);
    EXPECT_EQ(listing.totalSize, qint64(48) << 20);
    EXPECT_LT(bytesRead() - before, qint64(4) << 20) << "read past the data instead of seeking";
}

TEST_F(Listing, StopEndsListingAndExtraction)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("many-zip"), m_tree.path("many.zip"), {"65600", "64"}));
    ASSERT_TRUE(makeArchive(QStringLiteral("zeros-gz"), m_tree.path("zeros.gz"), {"16"}));
    const QByteArray many = m_tree.path("many.zip");
    std::stop_source stopped;
    stopped.request_stop();
    std::atomic<qint64> entries{0};
    EXPECT_TRUE(Archive::listArchive(many, Archive::Format::Zip, {{}, stopped.get_token(), &entries}).entries.empty());
    EXPECT_EQ(entries, 0);

    // Stopped from another thread once the first entries are in.
    std::stop_source stop;
    const std::jthread watcher([&](std::stop_token own) {
        while (entries.load() == 0 && !own.stop_requested()) {
        }
        stop.request_stop();
    });
    EXPECT_TRUE(Archive::listArchive(many, Archive::Format::Zip, {{}, stop.get_token(), &entries}).entries.empty());
    EXPECT_GT(entries, 0);
    EXPECT_LT(entries, 65600) << "kept reading after the stop";

    Archive::ExtractOptions options;
    options.stop = stopped.get_token();
    const QByteArray before = freshFolder();
    EXPECT_EQ(extract(many, before, Archive::Format::Zip, options), Archive::ArchiveError::cancelled);
    EXPECT_TRUE(QDir(QString::fromUtf8(before)).isEmpty());

    // The zip workers see a stop that comes after the plan, before they write.
    std::atomic<qint64> written{0};
    std::stop_source planned;
    options.stop = planned.get_token();
    options.bytesWritten = &written;
    options.makeRoom = [&](qint64) { planned.request_stop(); };
    EXPECT_EQ(extract(many, freshFolder(), Archive::Format::Zip, options), Archive::ArchiveError::cancelled);
    EXPECT_EQ(written, 0);

    // A file of unknown size makes room as it grows, at its first block: the next one stops.
    std::stop_source midway;
    options.stop = midway.get_token();
    options.makeRoom = [&](qint64) { midway.request_stop(); };
    EXPECT_EQ(extract(m_tree.path("zeros.gz"), freshFolder(), Archive::Format::Compressed, options), Archive::ArchiveError::cancelled);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, qint64(16) << 20);
    EXPECT_FALSE(Archive::localizedDescription(Archive::ArchiveError::cancelled).isEmpty());
}

TEST_F(Listing, BytesWrittenCountsTheFilesOfEveryWorker)
{
    ASSERT_TRUE(makeArchive(QStringLiteral("many-zip"), m_tree.path("files.zip"), {"40", "4", "1000"}));
    std::atomic<qint64> written{0};
    Archive::ExtractOptions options;
    options.bytesWritten = &written;
    EXPECT_FALSE(extract(m_tree.path("files.zip"), freshFolder(), Archive::Format::Zip, options));
    EXPECT_EQ(written, Archive::listArchive(m_tree.path("files.zip"), Archive::Format::Zip).totalSize);
    EXPECT_GT(written, 0);
}

// The fuzzer lists from memory, and a preview makes its rows from the entries
// as they are decided: both must be the listing of the file, the entries handed
// over unless a later entry changed one of them.
TEST_F(Listing, FromMemoryAndEntriesHandedOverEqualTheListingOfTheFile)
{
    ASSERT_TRUE(writeZip(m_tree.path("again.zip"), {{"a/one", "first"}, {"a/one", "second, longer"}}));
    ASSERT_TRUE(writeZip(m_tree.path("named.zip"), {{"b/two", "2"}, {"b/", ""}}));
    const QStringList revisedOnes{QString::fromUtf8(m_tree.path("again.zip")), QString::fromUtf8(m_tree.path("named.zip"))};
    const QStringList paths = revisedOnes + everyTestArchive();
    ASSERT_GT(paths.size(), 150);
    int listed = 0, revised = 0;
    for (const QString &path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray archive = QFile::encodeName(path);
        const Archive::Format format = path.contains(QLatin1String("zipcorpus")) ? Archive::Format::Zip : formatOf(path);
        const auto fromFile = listing(archive, format, false);
        const auto fromMemory = listing(archive, format, true);
        ASSERT_EQ(fromFile.index(), fromMemory.index()) << "both list, or both fail";
        if (const auto *error = std::get_if<Archive::ArchiveError>(&fromFile)) {
            EXPECT_EQ(error->code, std::get<Archive::ArchiveError>(fromMemory).code) << "the same failure";
            EXPECT_EQ(error->detail, std::get<Archive::ArchiveError>(fromMemory).detail) << "the same failure";
            continue;
        }
        ++listed;
        const std::string whole = describe(std::get<Archive::Listing>(fromFile));
        EXPECT_EQ(describe(std::get<Archive::Listing>(fromMemory)), whole) << "from memory as from the file";

        std::vector<Archive::ListedEntry> decided;
        Archive::ListOptions options{QStringLiteral("password")};
        options.decided = [&](Archive::ListedEntry &&entry) { decided.push_back(std::move(entry)); };
        Archive::Listing streamed = Archive::listArchive(archive, format, options);
        if (revisedOnes.contains(path)) {
            EXPECT_TRUE(streamed.revised) << "a later entry replaced a file, or named a folder, already handed over";
        }
        revised += streamed.revised;
        if (!streamed.revised) {
            EXPECT_TRUE(streamed.entries.empty()) << "the entries were handed over, not kept";
            streamed.entries = std::move(decided);
        }
        EXPECT_EQ(describe(streamed), whole) << "the entries handed over, or the revised listing, are the listing";
    }
    EXPECT_GT(listed - revised, 100);
    EXPECT_GE(revised, 2);
}
