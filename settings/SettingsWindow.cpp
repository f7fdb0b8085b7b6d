// SPDX-License-Identifier: MIT
#include "SettingsWindow.h"

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

SettingsWindow::SettingsWindow(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Trellin Settings"));
    QGroupBox *preview = makePreviewGroup();

    m_clearCache = new QPushButton;
    connect(m_clearCache, &QPushButton::clicked, this, &SettingsWindow::clearCache);
    m_cacheNote = new QLabel;
    m_cacheNote->setObjectName(QStringLiteral("cacheNote"));
    m_cacheNote->setWordWrap(true);
    m_cacheNote->hide();
    updateCacheButton();

    QGroupBox *fileManagers = makeFileManagerGroup();
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

QGroupBox *SettingsWindow::makePreviewGroup()
{
    // The settings of the table that have a label, each applied as it changes.
    auto *preview = new QGroupBox(tr("Preview"));
    auto *form = new QFormLayout(preview);
    const Settings &settings = m_store.settings();
    for (const SettingSpec &spec : settingSpecs()) {
        if (spec.label && spec.kind != SettingSpec::Kind::ByteCount)
            addField(form, spec, spec.get(settings));
    }
    return preview;
}

void SettingsWindow::addField(QFormLayout *form, const SettingSpec &spec, const QVariant &value)
{
    QWidget *field = nullptr;
    switch (spec.kind) {
    case SettingSpec::Kind::Boolean: {
        auto *box = new QCheckBox(tr(spec.label));
        box->setChecked(value.toBool());
        connect(box, &QCheckBox::toggled, this, [this, &spec](bool on) { store(spec, on); });
        form->addRow(field = box);
        break;
    }
    case SettingSpec::Kind::Number: {
        auto *box = new QSpinBox;
        box->setRange(int(spec.minimum), int(spec.maximum));
        box->setValue(int(value.toLongLong()));
        connect(box, &QSpinBox::valueChanged, this, [this, &spec](int number) { store(spec, qint64(number)); });
        form->addRow(tr(spec.label), field = box);
        break;
    }
    case SettingSpec::Kind::Choice: {
        auto *box = new QComboBox;
        for (const SettingSpec::Choice &choice : spec.choices)
            box->addItem(tr(choice.title), choice.stored);
        box->setCurrentIndex(std::max(0, box->findData(value)));
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, &spec, box](int index) { store(spec, box->itemData(index)); });
        form->addRow(tr(spec.label), field = box);
        break;
    }
    case SettingSpec::Kind::ByteCount:
        return;
    }
    field->setObjectName(QLatin1String(spec.key));
}

QGroupBox *SettingsWindow::makeFileManagerGroup()
{
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
    return fileManagers;
}

void SettingsWindow::store(const SettingSpec &spec, const QVariant &value)
{
    QString error;
    m_store.setValue(QLatin1String(spec.key), value, &error);
    showWriteResult(error);
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
