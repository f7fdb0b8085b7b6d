// SPDX-License-Identifier: MIT
#include "SettingsWindow.h"

#include "ExtensionSettings.h"
#include "FileSystem.h"
#include "Integration.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template<typename T>
QString writeErrorOf(const Defaults::Key<T> &key)
{
    return key.suite ? key.suite->writeError() : SettingsWindow::tr("The settings cannot be stored.");
}

} // namespace

SettingsWindow::SettingsWindow(QWidget *parent)
    : QWidget(parent)
{
    using namespace Defaults;
    setWindowTitle(tr("Trellin Settings"));

    m_showHiddenFiles = new QCheckBox(tr("Show hidden files"));
    m_showHiddenFiles->setChecked(get(Keys::showHiddenFiles()));
    connect(m_showHiddenFiles, &QCheckBox::toggled, this, [this](bool on) {
        set(Keys::showHiddenFiles(), on);
        showWriteResult(writeErrorOf(Keys::showHiddenFiles()));
    });
    m_depthLimit = new QSpinBox;
    m_depthLimit->setRange(2, 5);
    m_depthLimit->setValue(RawRepresentable<DepthLimit>::rawValue(get(Keys::depthLimit())));
    connect(m_depthLimit, &QSpinBox::valueChanged, this, [this](int value) {
        if (const std::optional<DepthLimit> limit = RawRepresentable<DepthLimit>::fromRawValue(value)) {
            set(Keys::depthLimit(), *limit);
            showWriteResult(writeErrorOf(Keys::depthLimit()));
        }
    });
    m_expandAllRows = new QCheckBox(tr("Expand all rows"));
    m_expandAllRows->setChecked(get(Keys::expandAllRows()));
    connect(m_expandAllRows, &QCheckBox::toggled, this, [this](bool on) {
        set(Keys::expandAllRows(), on);
        showWriteResult(writeErrorOf(Keys::expandAllRows()));
    });
    m_iconSize = new QComboBox;
    m_iconSize->addItems({tr("Small"), tr("Large")});
    m_iconSize->setCurrentIndex(get(Keys::iconSize()) == IconSize::Large ? 1 : 0);
    connect(m_iconSize, &QComboBox::currentIndexChanged, this, [this](int index) {
        set(Keys::iconSize(), index == 1 ? IconSize::Large : IconSize::Small);
        showWriteResult(writeErrorOf(Keys::iconSize()));
    });
    m_previewZipFiles = new QCheckBox(tr("Preview archives"));
    m_previewZipFiles->setChecked(get(Keys::previewZipFiles()));
    connect(m_previewZipFiles, &QCheckBox::toggled, this, [this](bool on) {
        set(Keys::previewZipFiles(), on);
        showWriteResult(writeErrorOf(Keys::previewZipFiles()));
    });

    m_archiveExtraction = new QComboBox;
    m_archiveExtraction->setObjectName(QStringLiteral("archiveExtraction"));
    m_archiveExtraction->addItems({tr("Always, behind the listed rows"), tr("Only when an item is opened")});
    m_archiveExtraction->setCurrentIndex(get(Keys::archiveExtraction()) == ArchiveExtraction::WhenNeeded ? 1 : 0);
    connect(m_archiveExtraction, &QComboBox::currentIndexChanged, this, [this](int index) {
        set(Keys::archiveExtraction(), index == 1 ? ArchiveExtraction::WhenNeeded : ArchiveExtraction::Always);
        showWriteResult(writeErrorOf(Keys::archiveExtraction()));
    });

    auto *preview = new QGroupBox(tr("Preview"));
    auto *form = new QFormLayout(preview);
    form->addRow(m_showHiddenFiles);
    form->addRow(tr("Folder levels:"), m_depthLimit);
    form->addRow(m_expandAllRows);
    form->addRow(tr("Icon size:"), m_iconSize);
    form->addRow(m_previewZipFiles);
    form->addRow(tr("Extract archives:"), m_archiveExtraction);

    m_clearCache = new QPushButton;
    connect(m_clearCache, &QPushButton::clicked, this, &SettingsWindow::clearCache);
    m_cacheNote = new QLabel;
    m_cacheNote->setObjectName(QStringLiteral("cacheNote"));
    m_cacheNote->setWordWrap(true);
    m_cacheNote->hide();
    updateCacheButton();

    const Integration::State integrated = Integration::state();
    auto *fileManagers = new QGroupBox(tr("File managers"));
    auto *entries = new QVBoxLayout(fileManagers);
    m_thunar = new QCheckBox(tr("“Preview Contents” in Thunar"));
    m_thunar->setChecked(integrated.thunar);
    m_nautilus = new QCheckBox(tr("“Preview Contents” script in GNOME Files"));
    m_nautilus->setChecked(integrated.nautilus);
    entries->addWidget(m_thunar);
    entries->addWidget(m_nautilus);
    connect(m_thunar, &QCheckBox::toggled, this, [this](bool on) {
        QString error;
        Integration::setThunar(on, &error);
        showWriteResult(error);
        const QSignalBlocker blocker(m_thunar);
        m_thunar->setChecked(Integration::state().thunar);
    });
    connect(m_nautilus, &QCheckBox::toggled, this, [this](bool on) {
        QString error;
        Integration::setNautilus(on, &error);
        showWriteResult(error);
        const QSignalBlocker blocker(m_nautilus);
        m_nautilus->setChecked(Integration::state().nautilus);
    });

    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #c01c28"));
    m_problem->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(preview);
    layout->addWidget(m_clearCache);
    layout->addWidget(m_cacheNote);
    layout->addWidget(fileManagers);
    layout->addWidget(m_problem);
    layout->addStretch();
}

void SettingsWindow::showWriteResult(const QString &error)
{
    m_problem->setText(error);
    m_problem->setVisible(!error.isEmpty());
}

qint64 SettingsWindow::cacheSize()
{
    qint64 total = 0;
    QDirIterator it(QFile::decodeName(FileSystem::temporaryDirectory()),
                    QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}

void SettingsWindow::updateCacheButton()
{
    const qint64 size = cacheSize();
    m_clearCache->setText(tr("Clear archive cache (%1 MB)").arg(QString::number((size + 500'000) / 1'000'000)));
    m_clearCache->setEnabled(size > 0);
}

void SettingsWindow::clearCache()
{
    const QByteArray directory = FileSystem::temporaryDirectory();
    QStringList left;
    int inUse = 0;
    for (const QString &name :
         QDir(QFile::decodeName(directory)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QByteArray path = FileSystem::appendingPathComponent(directory, QFile::encodeName(name));
        // A running extraction also holds its archive's lock file: only its folder counts.
        const bool folder = FileSystem::probeItem(path).kind == FileSystem::ItemProbe::Folder;
        switch (FileSystem::removeUnlessLocked(path)) {
        case FileSystem::Removal::Removed:
            break;
        case FileSystem::Removal::InUse:
            inUse += folder ? 1 : 0;
            break;
        case FileSystem::Removal::Failed:
            left.append(name);
            break;
        }
    }
    showWriteResult(left.isEmpty() ? QString() : tr("Could not remove everything from %1.").arg(QFile::decodeName(directory)));
    m_cacheNote->setText(inUse == 0 ? QString() : tr("%n extractions in use were kept.", nullptr, inUse));
    m_cacheNote->setVisible(inUse != 0);
    updateCacheButton();
}
