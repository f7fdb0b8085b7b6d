// SPDX-License-Identifier: MIT
// Writes COUNT keys PREFIX0 … PREFIX<COUNT-1> to the settings file PATH, one
// write each: the other process of the concurrent-writers test.
#include "SettingsStore.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    for (int i = 0, count = QByteArray(argv[3]).toInt(); i < count; ++i) {
        if (!store.setValue(prefix + QString::number(i), i))
            return 1;
    }
    return 0;
}
