// SPDX-License-Identifier: MIT
// Builds the whole tree of one folder as a preview does, with every column
// shown (or those shown at first), hidden files listed and the depth limit at
// five, and reports what it cost; or, with --complete-sizes, counts the whole
// content of every folder as the folderSizes setting "complete" does, hidden
// files too, as du does. Run by bench/scan/run.py, which times it as a whole process.
#include "ContentSizes.h"
#include "DirectoryScan.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

struct Counts {
    qint64 nodes = 0;
    qint64 textBytes = 0; // heap bytes of the paths (a name is kept only where it differs)
};

// Heap bytes of one text: its block and malloc's word before it.
template<typename Text>
qint64 heapBytes(Text &text)
{
    void *block = text.data_ptr().d_ptr();
    return block ? qint64(malloc_usable_size(block)) + 8 : 0;
}

void count(const NodeList &nodes, Counts &counts)
{
    for (const auto &node : nodes) {
        ++counts.nodes;
        counts.textBytes += heapBytes(node->path);
        count(node->children, counts);
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Settings of its own, never the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    const bool defaultColumns = argc == 3 && !std::strcmp(argv[2], "--default-columns");
    const bool completeSizes = argc == 3 && !std::strcmp(argv[2], "--complete-sizes");
    if (argc != 2 && !defaultColumns && !completeSizes) {
        std::fprintf(stderr, "usage: scan_bench FOLDER [--default-columns | --complete-sizes]\n");
        return 2;
    }
    if (completeSizes) {
        const QByteArray folder = QFile::encodeName(QString::fromLocal8Bit(argv[1]));
        ContentSizeOptions options = ContentSizeOptions::from(Settings());
        options.showHiddenFiles = true;
        const std::shared_ptr<const ContentSizes> sizes = countContentSizes(folder, options, {});
        const std::optional<ContentSize> total = sizes ? sizes->of(folder) : std::nullopt;
        if (!total)
            return 1;
        std::printf("items %lld, folders %lld, bytes %lld%s\n", sizes->items, qint64(sizes->folders.size()),
                    total->size, total->partial ? " at least" : "");
        std::fflush(stdout);
        _exit(0);
    }
    ScanOptions options;
    options.depthLimit = DepthLimit::Five;
    options.showHiddenFiles = true;
    // Every column by default; else those a first preview shows (no tags to read).
    const PropertyColumns shownFirst{PropertyColumn::Name, PropertyColumn::DateModified, PropertyColumn::Size,
                                     PropertyColumn::Kind};
    for (PropertyColumn column : allPropertyColumns) {
        if (!defaultColumns || shownFirst.contains(column))
            options.visibleColumns.insert(column);
    }

    const size_t heapBefore = mallinfo2().uordblks;
    const std::unique_ptr<Node> root = makeNode(QFile::encodeName(QString::fromLocal8Bit(argv[1])), 0, options);
    const size_t heapAfter = mallinfo2().uordblks;
    if (!root)
        return 1;

    Counts counts;
    count(root->children, counts);
    // The high-water mark of this program's own memory (getrusage's would
    // also count what the process held before it was started).
    double peakMiB = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peakMiB = line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    const double perNode = double(heapAfter - heapBefore) / double(counts.nodes);
    const double beyondText = double(qint64(heapAfter - heapBefore) - counts.textBytes) / double(counts.nodes);
    std::printf("nodes %lld, peak memory %.1f MiB, heap %.0f bytes a node, %.0f beyond the path texts\n",
                counts.nodes, peakMiB, perNode, beyondText);
    // What is timed is the build; handing a hundred thousand nodes back to
    // malloc one by one before exit is not part of it.
    std::fflush(stdout);
    _exit(0);
}
