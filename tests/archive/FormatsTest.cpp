// SPDX-License-Identifier: MIT
// Archives other than zip, links inside archives, and archives that try to
// hang, exhaust or escape the extraction.
#include "FileSystem.h"
#include "TestSupport.h"
#include "Zip.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Formats : public testing::Test
{
protected:
    // A small tree to archive: folders, a read-only file, a symbolic link.
    void makeSource()
    {
        m_tree.file("src/dir/sub/deep.txt");
        writeFile("src/dir/sub/deep.txt", "deep");
        writeFile("src/dir/top.txt", QByteArray(70000, 't'));
        chmod(m_tree.path("src/dir/top.txt").constData(), 0444);
        symlink("sub/deep.txt", m_tree.path("src/dir/link").constData());
    }

    void writeFile(const QByteArray &relative, const QByteArray &bytes)
    {
        QFile file(QString::fromUtf8(m_tree.path(relative)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::optional<Zip::ZipError> extract(const QByteArray &archive, Zip::Format format,
                                         const std::optional<QString> &password = std::nullopt)
    {
        try {
            Zip::extractArchive(archive, m_tree.folder("out"), format, {true, password, {}, {}});
        } catch (const Zip::ZipError &error) {
            return error;
        }
        return std::nullopt;
    }

    QStringList listing()
    {
        QStringList items;
        const QString root = QString::fromUtf8(m_tree.path("out"));
        QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            items.append(it.filePath().mid(root.size() + 1)
                         + (info.isSymLink() ? QStringLiteral(" -> ") + info.symLinkTarget().mid(root.size() + 1)
                                             : info.isDir() ? QStringLiteral("/") : QString()));
        }
        items.sort();
        return items;
    }

    QByteArray contents(const QByteArray &relative)
    {
        QFile file(QString::fromUtf8(m_tree.path("out/" + relative)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    void clearOutput()
    {
        FileSystem::removeItem(m_tree.path("out"));
    }

    bool python(const QByteArray &script) { return runTool(QStringLiteral("python3"), {"-c", script}, m_tree.path()); }

    TempTree m_tree;
};

struct Maker {
    const char *name;
    Zip::Format format;
    QStringList options; // bsdtar's
};

const std::vector<Maker> &makers()
{
    using F = Zip::Format;
    static const std::vector<Maker> all{
        {"a.tar", F::Tar, {}},
        {"a.tar.gz", F::Tar, {"-z"}},
        {"a.tar.bz2", F::Tar, {"-j"}},
        {"a.tar.xz", F::Tar, {"-J"}},
        {"a.tar.zst", F::Tar, {"--zstd"}},
        {"a.7z", F::SevenZip, {"--format", "7zip"}},
        {"a.iso", F::Iso9660, {"--format", "iso9660"}},
        {"a.cpio", F::Cpio, {"--format", "odc"}},
    };
    return all;
}

} // namespace

TEST_F(Formats, EveryFormatExtractsTheSameTree)
{
    makeSource();
    for (const Maker &maker : makers()) {
        SCOPED_TRACE(maker.name);
        ASSERT_TRUE(runTool(QStringLiteral("bsdtar"), QStringList{"-cf", maker.name} + maker.options + QStringList{"-C", "src", "dir"},
                            m_tree.path()));
        EXPECT_FALSE(extract(m_tree.path(maker.name), maker.format));
        EXPECT_EQ(listing(), (QStringList{"dir/", "dir/link -> dir/sub/deep.txt", "dir/sub/", "dir/sub/deep.txt", "dir/top.txt"}));
        EXPECT_EQ(contents("dir/sub/deep.txt"), "deep");
        EXPECT_EQ(contents("dir/top.txt"), QByteArray(70000, 't'));
        clearOutput();

        // Cut short or overwritten in the middle: a failure, never a hang or a crash.
        QFile archive(QString::fromUtf8(m_tree.path(maker.name)));
        ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
        QByteArray bytes = archive.readAll();
        bytes.truncate(bytes.size() / 6); // an ISO image ends in padding
        archive.resize(0);
        archive.write(bytes);
        archive.close();
        EXPECT_EQ(extract(m_tree.path(maker.name), maker.format), Zip::ZipError::unzipFail);
        clearOutput();
    }
}

TEST_F(Formats, ASingleCompressedFileIsThatFile)
{
    writeFile("notes.txt", "some notes\n");
    ASSERT_TRUE(runTool(QStringLiteral("gzip"), {"-k", "notes.txt"}, m_tree.path()));
    EXPECT_FALSE(extract(m_tree.path("notes.txt.gz"), Zip::Format::Compressed));
    EXPECT_EQ(listing(), QStringList{"notes.txt"});
    EXPECT_EQ(contents("notes.txt"), "some notes\n");
    clearOutput();

    // Named as compressed, but plain text: nothing to decompress.
    writeFile("fake.gz", "not compressed at all");
    EXPECT_EQ(extract(m_tree.path("fake.gz"), Zip::Format::Compressed), Zip::ZipError::unzipFail);
}

TEST_F(Formats, LinksNeverLeadOutside)
{
    ASSERT_TRUE(python(R"(
import io, tarfile
def add(t, name, kind=tarfile.REGTYPE, link='', data=b''):
    info = tarfile.TarInfo(name); info.type = kind; info.linkname = link; info.size = len(data)
    t.addfile(info, io.BytesIO(data))
with tarfile.open('links.tar', 'w') as t:
    add(t, 'a/file.txt', data=b'inside')
    add(t, 'a/up', tarfile.SYMTYPE, '../a/file.txt')
    add(t, 'a/sibling', tarfile.SYMTYPE, 'file.txt')
    add(t, 'a/escape', tarfile.SYMTYPE, '../../outside.txt')
    add(t, 'a/absolute', tarfile.SYMTYPE, '/etc/passwd')
    add(t, 'a/down-up', tarfile.SYMTYPE, 'sibling/../../../x')
    add(t, 'a/hard', tarfile.LNKTYPE, 'a/file.txt')
    add(t, 'a/hard-missing', tarfile.LNKTYPE, 'a/never.txt')
    add(t, 'a/hard-out', tarfile.LNKTYPE, '../outside.txt')
    add(t, 'a/sibling/through.txt', data=b'through a link')
)"));
    writeFile("outside.txt", "outside");
    EXPECT_FALSE(extract(m_tree.path("links.tar"), Zip::Format::Tar));
    EXPECT_EQ(listing(), (QStringList{"a/", "a/file.txt", "a/hard", "a/sibling -> a/file.txt", "a/up -> a/file.txt"}));
    EXPECT_EQ(contents("a/hard"), "inside");
    struct stat hard, file;
    ASSERT_EQ(stat(m_tree.path("out/a/hard").constData(), &hard), 0);
    ASSERT_EQ(stat(m_tree.path("out/a/file.txt").constData(), &file), 0);
    EXPECT_EQ(hard.st_ino, file.st_ino);
    EXPECT_EQ(contents("../outside.txt"), "outside");
}

TEST_F(Formats, OnlyRegularFilesAreOpened)
{
    // Opening a FIFO for reading would wait for a writer that never comes.
    ASSERT_EQ(mkfifo(m_tree.path("pipe.zip").constData(), 0600), 0);
    EXPECT_EQ(extract(m_tree.path("pipe.zip"), Zip::Format::Zip), Zip::ZipError::unzipFail);
    EXPECT_EQ(extract(m_tree.folder("folder.zip"), Zip::Format::Zip), Zip::ZipError::unzipFail);
    EXPECT_EQ(extract(m_tree.path("absent.zip"), Zip::Format::Zip), Zip::ZipError::fileNotFound);
}

TEST_F(Formats, Zip64ArchivesExtract)
{
    // More entries than a classic end record can count, and zip64 data
    // descriptors, as streaming writers make them.
    ASSERT_TRUE(python(R"(
import sys, zipfile
with zipfile.ZipFile('many.zip', 'w') as z:
    for i in range(65600):
        z.writestr('d%02d/f%05d' % (i % 64, i), b'')
    z.writestr('last.txt', b'the last one')
class Stream:
    def __init__(self, f): self.f = f
    def write(self, b): return self.f.write(b)
    def flush(self): self.f.flush()
with open('stream.zip', 'wb') as f:
    with zipfile.ZipFile(Stream(f), 'w', zipfile.ZIP_DEFLATED) as z:
        with z.open('big.txt', 'w', force_zip64=True) as e:
            e.write(b'0123456789' * 100000)
)"));
    EXPECT_FALSE(extract(m_tree.path("many.zip"), Zip::Format::Zip));
    EXPECT_EQ(contents("last.txt"), "the last one");
    EXPECT_EQ(QDir(QString::fromUtf8(m_tree.path("out/d07"))).count(), 1025u + 2); // with . and ..
    clearOutput();

    EXPECT_FALSE(extract(m_tree.path("stream.zip"), Zip::Format::Zip));
    EXPECT_EQ(contents("big.txt"), QByteArray("0123456789").repeated(100000));
}

TEST_F(Formats, LaterEntriesOfTheSameNameWinOnEveryWorker)
{
    const QByteArray first(5 << 20, '1');
    const QByteArray other(5 << 20, 'o');
    ASSERT_TRUE(python(R"(
import zipfile
with zipfile.ZipFile('dup.zip', 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('same.bin', b'1' * (5 << 20))
    z.writestr('other.bin', b'o' * (5 << 20))
    for i in range(40):
        z.writestr('small%02d' % i, b's')
    z.writestr('same.bin', b'last')
)"));
    EXPECT_FALSE(extract(m_tree.path("dup.zip"), Zip::Format::Zip));
    EXPECT_EQ(contents("same.bin"), "last");
    EXPECT_EQ(contents("other.bin"), other);
    clearOutput();
    m_tree.folder("out");
    try {
        Zip::extractArchive(m_tree.path("dup.zip"), m_tree.path("out"), Zip::Format::Zip, {false, {}, {}, {}});
    } catch (const Zip::ZipError &error) {
        ADD_FAILURE() << error.localizedDescription().toStdString();
    }
    EXPECT_EQ(contents("same.bin"), first); // the first one, when nothing is replaced
}

TEST_F(Formats, AbsurdlyDeepEntriesAreRefused)
{
    ASSERT_TRUE(python(R"(
import zipfile
with zipfile.ZipFile('deep.zip', 'w') as z:
    z.writestr('a/' * 257 + 'f', b'x')
with zipfile.ZipFile('fine.zip', 'w') as z:
    z.writestr('a/' * 255 + 'f', b'x')
)"));
    const std::optional<Zip::ZipError> error = extract(m_tree.path("deep.zip"), Zip::Format::Zip);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, Zip::ZipError::unzipFail);
    EXPECT_TRUE(error->detail.contains(QLatin1String("256"))) << error->detail.toStdString();
    EXPECT_EQ(listing(), QStringList{});
    EXPECT_FALSE(extract(m_tree.path("fine.zip"), Zip::Format::Zip));
}
