// SPDX-License-Identifier: MIT
// The factory that the host finds in the plug-in's library.
#include "Bundle.h"
#include "ControllerPreview.h"
#include "ExtensionSettings.h"
#include "PreviewPlugin.h"

#include <QObject>

#include <cstdio>

class PreviewExtensionPlugin : public QObject, public PreviewPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewPlugin_iid)
    Q_INTERFACES(PreviewPlugin)

public:
    std::unique_ptr<Preview> createPreview() override
    {
        QString error;
        if (!settingsAreUsable(Bundle::main().infoDictionary(), &error)) {
            std::fprintf(stderr, "Trellin_Extension: cannot start: %s\n", qPrintable(error));
            return nullptr;
        }
        return std::make_unique<ControllerPreview>();
    }
};

#include "PreviewExtensionPlugin.moc"
