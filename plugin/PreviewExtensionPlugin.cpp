// SPDX-License-Identifier: MIT
// The factory that the host finds in the plug-in's library.
#include "PreviewPlugin.h"
#include "PreviewViewController.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QPointer>

class PreviewExtensionPlugin : public QObject, public PreviewPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewPlugin_iid)
    Q_INTERFACES(PreviewPlugin)

public:
    std::unique_ptr<Preview> createPreview() override
    {
        // One store for the previews of this process, made on the main
        // thread once the application is there, and gone with it.
        if (!m_store)
            m_store = new SettingsStore(SettingsStore::defaultPath(), QCoreApplication::instance());
        auto preview = std::make_unique<PreviewViewController>(m_store);
        preview->view(); // a host may ask for its columns before the first request
        return preview;
    }

private:
    QPointer<SettingsStore> m_store; // Not owned: the application's child.
};

#include "PreviewExtensionPlugin.moc"
