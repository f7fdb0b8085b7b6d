// SPDX-License-Identifier: MIT
// The extension entry that the host finds in the plug-in's library.
#include "PreviewViewController.h"
#include "QuickLook.h"

#include <QObject>

class PreviewExtensionPlugin : public QObject, public PreviewExtension
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewExtension_iid)
    Q_INTERFACES(PreviewExtension)

public:
    ViewController *makePrincipalViewController() override { return new PreviewViewController; }
};

#include "PreviewExtensionPlugin.moc"
