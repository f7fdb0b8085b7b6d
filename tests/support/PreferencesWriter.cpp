// SPDX-License-Identifier: MIT
// Writes COUNT keys PREFIX0 … PREFIX<COUNT-1> to the domain NAME, one write
// each: the other process of the concurrent-writers test.
#include "PreferencesDomain.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const auto domain = PreferencesDomain::suite(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QByteArray(argv[3]).toInt();
    for (int i = 0; i < count; ++i)
        domain->setObject(prefix + QString::number(i), i);
    return 0;
}
