// SPDX-License-Identifier: MIT
// The settings window, which trellin-settings runs when it is given no command.
#include "Bundle.h"
#include "SettingsWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("trellin-settings"));
    const std::unique_ptr<QTranslator> qtTexts = qtTranslations();
    if (qtTexts)
        QCoreApplication::installTranslator(qtTexts.get());
    const std::unique_ptr<QTranslator> ownTexts = programTranslations(QStringLiteral("trellin"));
    if (ownTexts)
        QCoreApplication::installTranslator(ownTexts.get());
    SettingsWindow window;
    window.show();
    return app.exec();
}
