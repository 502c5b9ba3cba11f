#include "CompareDialog.h"

#include "Catalogue.h"
#include "Controls.h"
#include "Link.h"
#include "SendPath.h"
#include "Setting.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { PageColumn, CaptionColumn, WordColumn, CameraColumn, FileColumn, ColumnCount };

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

CompareDialog::CompareDialog(SendPath& sendPath, Catalogue& catalogue, const QString& fileName,
                             QList<SettingsFileLine> fileLines, QWidget* parent)
    : QDialog(parent), m_sendPath(sendPath), m_catalogue(catalogue), m_fileLines(std::move(fileLines)),
      m_table(new QTableWidget(0, ColumnCount, this)), m_apply(new QPushButton(QStringLiteral("Apply Selected"), this))
{
    setWindowTitle(QStringLiteral("Compare with File"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Settings of %1 that the camera holds otherwise:").arg(fileName), this));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Page"), QStringLiteral("Caption"), QStringLiteral("Command"), QStringLiteral("Camera"), QStringLiteral("File")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setAccessibleName(QStringLiteral("Differences"));
    layout->addWidget(m_table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_apply, QDialogButtonBox::ActionRole);
    m_apply->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { m_sendPath.whenIdle([this] { applySelected(); }, this); });
    layout->addWidget(buttons);
    refresh();
}

void CompareDialog::refresh()
{
    m_differences = compareSettings(m_catalogue, m_fileLines);
    m_table->setRowCount(int(m_differences.size()));
    for (int row = 0; row < m_differences.size(); ++row) {
        const SettingDifference& difference = m_differences.at(row);
        const Setting* setting = difference.setting;
        auto* page = cell(setting ? difference.page : QStringLiteral("(no setting)"));
        if (setting) {
            page->setFlags(page->flags() | Qt::ItemIsUserCheckable);
            page->setCheckState(Qt::Unchecked);
        }
        m_table->setItem(row, PageColumn, page);
        m_table->setItem(row, CaptionColumn, cell(setting ? setting->caption() : QString()));
        m_table->setItem(row, WordColumn, cell(QString::fromLatin1(setting ? setting->key() : difference.fileLine.text)));
        const QString camera = difference.kind == SettingDifference::Kind::Changed
                                   ? QString::fromLatin1(difference.cameraValue)
                                   : QStringLiteral("(not reported)");
        m_table->setItem(row, CameraColumn, cell(setting ? camera : QString()));
        m_table->setItem(row, FileColumn, cell(QString::fromLatin1(setting ? difference.fileValue : difference.fileLine.text)));
    }
    m_table->resizeColumnsToContents();
    m_apply->setEnabled(std::any_of(m_differences.begin(), m_differences.end(),
                                    [](const SettingDifference& difference) { return difference.setting != nullptr; }));
}

void CompareDialog::applySelected()
{
    for (int row = 0; row < m_differences.size(); ++row) {
        const QTableWidgetItem* item = m_table->item(row, PageColumn);
        Setting* setting = m_differences.at(row).setting;
        if (!setting || item->checkState() != Qt::Checked)
            continue;
        const QByteArray& line = m_differences.at(row).fileLine.text;
        const QByteArray& value = m_differences.at(row).fileValue;
        // The file's line as it stands, waiting for the answer as applying a
        // file does; through the setting when it makes that very line.
        const SendMode mode = SendMode::transact(m_catalogue.timeoutFor(line));
        if (setting->lineFor(value).simplified() == line.simplified()) {
            m_sendPath.set(*setting, value, mode);
        } else {
            m_sendPath.command(line, mode);
            m_sendPath.readBack(*setting);
        }
    }
    refresh();
}
