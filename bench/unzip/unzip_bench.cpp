// SPDX-License-Identifier: MIT
// Extracts one archive as a preview does. Run by bench/unzip/run.py, which
// times it as a whole process against bsdtar and unzip.
#include "Zip.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: unzip_bench ARCHIVE DESTINATION\n");
        return 2;
    }
    const QUrl archive = QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]));
    const QUrl destination = QUrl::fromLocalFile(QString::fromLocal8Bit(argv[2]));
    try {
        Zip::unzipFile(archive, destination, true, std::nullopt);
    } catch (Zip::ZipError error) {
        std::fprintf(stderr, "unzip_bench: %s\n", qPrintable(Zip::localizedDescription(error)));
        return 1;
    } catch (const Zip::FileSystemError &error) {
        std::fprintf(stderr, "unzip_bench: %s\n", qPrintable(error.description));
        return 1;
    }
    return 0;
}
