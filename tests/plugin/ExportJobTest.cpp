// SPDX-License-Identifier: MIT
// Extract To's background job on a real preview: what it hands over, and a
// job dropped midway. Run under ThreadSanitizer with the other jobs.
#include "FileSystem.h"
#include "PreviewViewController.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList namesIn(const QByteArray &folder)
{
    return QDir(QFile::decodeName(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(ExportJob, HandsOverWhatItWroteOnTheMainThreadAndADroppedOneLeavesNothing)
{
    TempTree tree;
    // 2,000 entries of 1..30 KB over 20 folders: long enough to be dropped midway.
    ASSERT_TRUE(makeArchive(QStringLiteral("many_zip"), tree.path("many.zip"), {"2000", "20", "3"}));
    PreviewViewController controller;
    changeSettings(controller, [](Settings &settings) { settings.archiveExtraction = ArchiveExtraction::WhenNeeded; });
    ASSERT_FALSE(runRequest(controller, tree.path("many.zip")).error);
    ASSERT_TRUE(controller.isListingOnly());
    const QByteArray root = controller.shownFolder();
    Preview &preview = controller;

    const QByteArray destination = tree.folder("out");
    std::optional<PreviewError> error;
    QList<QByteArray> written;
    bool answered = false;
    QThread *mainThread = QThread::currentThread();
    bool onMainThread = false;
    std::unique_ptr<Preview::ItemsExport> job = preview.exportItems(
        {root + "/d03", root + "/d07/f00007"}, destination, [&](std::optional<PreviewError> failure, const QList<QByteArray> &paths) {
            answered = true;
            onMainThread = QThread::currentThread() == mainThread;
            error = failure;
            written = paths;
        });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered; }, 30000));
    EXPECT_TRUE(onMainThread) << "handed over on the main thread";
    EXPECT_FALSE(error) << error->message.toStdString();
    EXPECT_EQ(written, (QList<QByteArray>{destination + "/d03", destination + "/f00007"}));
    EXPECT_EQ(namesIn(destination + "/d03").size(), 100) << "the folder's every entry";
    EXPECT_EQ(job->bytesWritten(), job->bytesTotal()) << "the progress ends where the rows' sizes say";
    EXPECT_TRUE(controller.isListingOnly()) << "the archive was not extracted whole for them";
    job.reset();

    // Every folder, dropped at once: it stops, and takes out what it wrote.
    const QByteArray dropped = tree.folder("dropped");
    QList<QByteArray> all;
    for (int folder = 0; folder < 20; ++folder)
        all.append(root + "/d" + QByteArray::number(folder).rightJustified(2, '0'));
    bool droppedAnswered = false;
    job = preview.exportItems(all, dropped, [&](std::optional<PreviewError>, const QList<QByteArray> &) { droppedAnswered = true; });
    QTest::qWait(5);
    job.reset();
    QTest::qWait(100);
    EXPECT_FALSE(droppedAnswered) << "a job dropped never answers";
    EXPECT_TRUE(namesIn(dropped).isEmpty() || namesIn(dropped).size() == 20)
        << "all of it or nothing, never part: " << namesIn(dropped).join(QLatin1Char(' ')).toStdString();
}
