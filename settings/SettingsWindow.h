// SPDX-License-Identifier: MIT
// The settings window: the shared settings, applied as they change; the
// archive cache; the per-user file-manager entries.
#pragma once

#include "SettingsStore.h"

#include <QWidget>

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;

class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget *parent = nullptr);

    /// The size of the archive cache, in bytes.
    static qint64 cacheSize();

private:
    QGroupBox *makePreviewGroup();
    void addField(QFormLayout *form, const SettingSpec &spec, const QVariant &value);
    QGroupBox *makeFileManagerGroup();
    /// Stores a setting's new value, and shows whether it lasted.
    void store(const SettingSpec &spec, const QVariant &value);
    /// Shows why the last change did not last, or nothing when it did.
    void showWriteResult(const QString &error);
    void updateCacheButton();
    void clearCache();

    SettingsStore m_store;
    QPushButton *m_clearCache;
    QLabel *m_cacheNote; // what "Clear archive cache" kept, and why
    QCheckBox *m_thunar;
    QCheckBox *m_nautilus;
    QLabel *m_problem;
};
