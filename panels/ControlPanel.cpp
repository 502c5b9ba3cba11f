#include "ControlPanel.h"

#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "SettingsTransfer.h"
#include "StatusLine.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The tab control stands 7 dialog units inside the window on every side.
constexpr int kTabMarginDu = 7;

} // namespace

ControlPanel::ControlPanel(Connection& connection, const QString& model, const QString& family, int sensorTaps,
                           const QList<PageEntry>& pages, QSize windowSizeDu, const PanelLoadObserver& observeLoad,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_connection(connection), m_model(model), m_family(family),
      m_sensorTaps(sensorTaps), m_tabs(new QTabWidget(this)),
      m_settingsTransfer(std::make_unique<SettingsTransfer>(*this, connection))
{
    const DialogUnits& du = DialogUnits::standard();
    auto* layout = new QVBoxLayout(this);
    const int marginX = du.toPixelsX(kTabMarginDu);
    const int marginY = du.toPixelsY(kTabMarginDu);
    layout->setContentsMargins(marginX, marginY, marginX, marginY);
    m_saveSettings = new QPushButton(QStringLiteral("Save Settings…"), this);
    m_saveSettings->setAccessibleName(QStringLiteral("Save Settings"));
    m_applySettings = new QPushButton(QStringLiteral("Apply Settings…"), this);
    m_applySettings->setAccessibleName(QStringLiteral("Apply Settings"));
    for (QPushButton* button : {m_saveSettings, m_applySettings})
        button->setAutoDefault(false);
    // Clicks that come while an exchange runs wait until it is over.
    connect(m_saveSettings, &QPushButton::clicked, this,
            [this] { m_connection.whenIdle([this] { m_settingsTransfer->save(); }, this); });
    connect(m_applySettings, &QPushButton::clicked, this,
            [this] { m_connection.whenIdle([this] { m_settingsTransfer->apply(); }, this); });
    layout->addLayout(makeRow({m_saveSettings, m_applySettings, nullptr}));
    layout->addWidget(m_tabs);
    m_statusLine = new StatusLine(connection, this);
    layout->addWidget(m_statusLine);

    // All pages load as one: when the camera turns out to be silent, the
    // rest of the panel fails at once instead of a time-out per read.
    Connection::LoadScope load(connection);
    const int count = static_cast<int>(pages.size());
    for (const PageEntry& entry : pages) {
        const int number = static_cast<int>(m_pages.size()) + 1;
        // A slow camera may take long over one page: its progress is looked
        // at before every line, not only between pages.
        if (observeLoad) {
            observeLoad(entry.title, number, count);
            connection.setLineObserver([&observeLoad, &entry, number, count] { observeLoad(entry.title, number, count); });
        }
        Page* page = entry.create ? entry.create(PageContext{connection, sensorTaps}, m_tabs) : nullptr;
        connection.setLineObserver({});
        m_pages.append(page);
        // A page that could not be built still gets its tab, with nothing on it.
        m_tabs->addTab(page ? static_cast<QWidget*>(page) : new QWidget, entry.title);
    }
    m_tabs->setCurrentIndex(0);
    resize(du.toPixels(windowSizeDu.width(), windowSizeDu.height()));
}

ControlPanel::~ControlPanel() = default;

int ControlPanel::pageCount() const
{
    return static_cast<int>(m_pages.size());
}

Page* ControlPanel::page(int tab) const
{
    return m_pages.value(tab);
}

void ControlPanel::reloadAllPages()
{
    Connection::LoadScope load(m_connection);
    for (Page* page : std::as_const(m_pages)) {
        if (page)
            page->LoadFromCamera();
    }
}

QList<SettingLine> ControlPanel::settingLines() const
{
    QList<SettingLine> lines;
    QSet<QByteArray> keys;
    for (const Page* page : m_pages) {
        if (!page)
            continue;
        for (const SettingLine& setting : page->settingLines()) {
            if (!keys.contains(setting.key)) {
                keys.insert(setting.key);
                lines.append(setting);
            }
        }
    }
    return lines;
}

double ControlPanel::timeoutFor(const QByteArray& line) const
{
    // The word and an index when the second token is one ("STROBE-TIME 4"),
    // else the word alone.
    const QByteArrayList tokens = line.simplified().split(' ');
    QByteArrayList keys;
    if (tokens.size() >= 2)
        keys << tokens.at(0) + ' ' + tokens.at(1);
    keys << tokens.at(0);
    for (const QByteArray& key : std::as_const(keys)) {
        for (const Page* page : m_pages) {
            if (const std::optional<double> timeout = page ? page->timeoutFor(key) : std::nullopt)
                return *timeout;
        }
    }
    return 1.0;
}

void ControlPanel::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape that no control took end here: they neither close nor
    // hide the panel.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->ignore();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
