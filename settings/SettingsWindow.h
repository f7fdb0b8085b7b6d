// SPDX-License-Identifier: MIT
// The settings window: the shared settings, applied as they change; the
// archive cache; the per-user file-manager entries.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

class SettingsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget *parent = nullptr);

    /// The size of the archive cache, in bytes.
    static qint64 cacheSize();

private:
    /// Shows why the last change did not last, or nothing when it did.
    void showWriteResult(const QString &error);
    void updateCacheButton();
    void clearCache();

    QCheckBox *m_showHiddenFiles;
    QSpinBox *m_depthLimit;
    QCheckBox *m_expandAllRows;
    QComboBox *m_iconSize;
    QCheckBox *m_previewZipFiles;
    QComboBox *m_archiveExtraction;
    QPushButton *m_clearCache;
    QLabel *m_cacheNote; // what "Clear archive cache" kept, and why
    QCheckBox *m_thunar;
    QCheckBox *m_nautilus;
    QLabel *m_problem;
};
