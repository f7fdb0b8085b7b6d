// SPDX-License-Identifier: MIT
// The settings window, which trellin-settings runs when it is given no command.
#include "Bundle.h"
#include "SettingsWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trellin-settings"));
    Bundle::main(); // installs the string table
    const std::unique_ptr<QTranslator> qtTexts = qtTranslations();
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());
    SettingsWindow window;
    window.show();
    return app.exec();
}
