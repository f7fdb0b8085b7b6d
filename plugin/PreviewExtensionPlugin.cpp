// SPDX-License-Identifier: MIT
// The extension entry that the host finds in the plug-in's library.
#include "Bundle.h"
#include "ExtensionSettings.h"
#include "PreviewViewController.h"
#include "QuickLook.h"

#include <QObject>

#include <cstdio>

class PreviewExtensionPlugin : public QObject, public PreviewExtension
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewExtension_iid)
    Q_INTERFACES(PreviewExtension)

public:
    ViewController *makePrincipalViewController() override
    {
        QString error;
        if (!settingsAreUsable(Bundle::main().infoDictionary(), &error)) {
            std::fprintf(stderr, "Trellin_Extension: cannot start: %s\n", qPrintable(error));
            return nullptr;
        }
        return new PreviewViewController;
    }
};

#include "PreviewExtensionPlugin.moc"
