// SPDX-License-Identifier: MIT
// The settings window, which trellin-settings runs when it is given no command.
#include "Bundle.h"
#include "SettingsWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    startApplication(app, QStringLiteral("trellin-settings"));
    SettingsWindow window;
    window.show();
    return app.exec();
}
