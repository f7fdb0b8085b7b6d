// SPDX-License-Identifier: MIT
// The extension entry that the host finds in the plug-in's library.
#include "PreviewViewController.h"
#include "QuickLook.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QPointer>

class PreviewExtensionPlugin : public QObject, public PreviewExtension
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewExtension_iid)
    Q_INTERFACES(PreviewExtension)

public:
    ViewController *makePrincipalViewController() override
    {
        // One store for the controllers of this process, made on the main
        // thread once the application is there, and gone with it.
        if (!m_store)
            m_store = new SettingsStore(SettingsStore::defaultPath(), QCoreApplication::instance());
        return new PreviewViewController(m_store);
    }

private:
    QPointer<SettingsStore> m_store;
};

#include "PreviewExtensionPlugin.moc"
