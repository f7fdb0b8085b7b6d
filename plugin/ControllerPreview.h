// SPDX-License-Identifier: MIT
// The preview that the plug-in hands its host: the interface of
// PreviewPlugin.h over one PreviewViewController.
#pragma once

#include "PreviewPlugin.h"
#include "PreviewViewController.h"

class ControllerPreview : public Preview
{
public:
    /// Loads the controller's view at once: a host may ask for its columns before the first request.
    /// `store`: not owned; nothing for the default settings, kept nowhere.
    explicit ControllerPreview(SettingsStore *store = nullptr);
    ~ControllerPreview() override;

    PreviewViewController &controller() { return m_controller; }

    QWidget *widget() override;
    QTreeView *treeView() override;
    void preview(const QByteArray &path, PreviewHandler handler) override;
    void setArchivePassword(const std::optional<QString> &password) override;
    void prepareItemFile(const QByteArray &item, bool alone, ItemFileHandler handler) override;
    QAbstractItemModel *model() const override;
    QList<PreviewColumn> columns() const override;
    QStringList visibleColumns() const override;
    void setVisibleColumns(const QStringList &identifiers) override;
    PreviewSort sort() const override;
    void setSort(const PreviewSort &sort) override;
    int rowHeight() const override;
    QString summaryText() const override;
    QByteArray shownFolder() const override;
    QVariantList skippedEntries() const override;
    bool isTruncated() const override;

private:
    PreviewViewController m_controller;
};
