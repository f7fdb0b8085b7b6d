// SPDX-License-Identifier: MIT
// Real archives from the test suites of trusted zip readers and published
// attack samples: each must extract, or fail cleanly, as its manifest says,
// without crashing, hanging, writing outside the destination or filling the disk.
#include "FileSystem.h"
#include "TestSupport.h"
#include "Extraction.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct CorpusArchive {
    QString path; // relative to the corpus
    bool extracts = false;
};

std::vector<CorpusArchive> corpus()
{
    std::vector<CorpusArchive> archives;
    QFile manifest(QStringLiteral(TRELLIN_ZIP_CORPUS "/expected.tsv"));
    if (!manifest.open(QIODevice::ReadOnly))
        return archives;
    while (!manifest.atEnd()) {
        const QByteArray line = manifest.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() >= 2)
            archives.push_back({QString::fromUtf8(fields[0]), fields[1] == "extract"});
    }
    return archives;
}

qint64 bytesBelow(const QString &folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

class ZipCorpus : public testing::TestWithParam<CorpusArchive>
{
};

} // namespace

TEST(ZipCorpusManifest, NamesEveryArchive)
{
    const std::vector<CorpusArchive> archives = corpus();
    ASSERT_EQ(archives.size(), 159u);
    for (const CorpusArchive &archive : archives)
        EXPECT_TRUE(QFile::exists(QStringLiteral(TRELLIN_ZIP_CORPUS "/") + archive.path)) << archive.path.toStdString();
}

TEST_P(ZipCorpus, ExtractsOrFailsCleanly)
{
    const CorpusArchive &archive = GetParam();
    TempTree tree;
    const QByteArray sample = QByteArrayLiteral(TRELLIN_ZIP_CORPUS "/") + archive.path.toUtf8();
    const QByteArray destination = tree.folder("out");

    std::optional<Archive::ArchiveError> error;
    try {
        Archive::extractArchive(sample, destination, Archive::Format::Zip);
    } catch (const Archive::ArchiveError &thrown) {
        error = thrown;
    }
    if (archive.extracts)
        EXPECT_FALSE(error) << "failed: " << archive.path.toStdString() << ": "
                            << (error ? error->localizedDescription().toStdString() : "");
    else
        EXPECT_TRUE(error && (*error == Archive::ArchiveError::unzipFail || *error == Archive::ArchiveError::passwordRequired))
            << "extracted: " << archive.path.toStdString();

    EXPECT_EQ(QDir(QString::fromUtf8(tree.path())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
              (QStringList{"out"}));
    EXPECT_LT(bytesBelow(QString::fromUtf8(destination)), qint64(64) << 20);
    FileSystem::removeItem(destination); // read-only folders included
}

INSTANTIATE_TEST_SUITE_P(Archives, ZipCorpus, testing::ValuesIn(corpus()),
                         [](const testing::TestParamInfo<CorpusArchive> &info) {
                             QString name = info.param.path;
                             for (QChar &c : name) {
                                 if (!c.isLetterOrNumber())
                                     c = QLatin1Char('_');
                             }
                             return name.toStdString();
                         });
