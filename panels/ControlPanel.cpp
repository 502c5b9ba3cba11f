#include "ControlPanel.h"

#include "Catalogue.h"
#include "CommandWords.h"
#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "SettingSearch.h"
#include "SettingsTransfer.h"
#include "StatusLine.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The tab control stands 7 dialog units inside the window on every side.
constexpr int kTabMarginDu = 7;

// A line after which the camera holds other settings than the pages read: a
// user set loaded, the factory's values restored.
bool replacesCameraSettings(const QByteArray& line)
{
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.first(blank);
    return word == cmd::USERSET_LOAD || word == cmd::FACTORY_DEFAULT;
}

} // namespace

ControlPanel::ControlPanel(SendPath& sendPath, const QString& model, int sensorTaps,
                           std::unique_ptr<Catalogue> catalogue, const QList<PageEntry>& pages, QSize windowSizeDu,
                           const PanelLoadObserver& observeLoad, QWidget* parent)
    : QWidget(parent, Qt::Window), m_sendPath(sendPath), m_connection(sendPath.connection()),
      m_catalogue(std::move(catalogue)), m_model(model), m_family(m_catalogue->family()), m_sensorTaps(sensorTaps),
      m_tabs(new QTabWidget(this)), m_settingsTransfer(std::make_unique<SettingsTransfer>(*this, m_connection))
{
    const DialogUnits& du = DialogUnits::standard();
    auto* layout = new QVBoxLayout(this);
    const int marginX = du.toPixelsX(kTabMarginDu);
    const int marginY = du.toPixelsY(kTabMarginDu);
    layout->setContentsMargins(marginX, marginY, marginX, marginY);
    m_saveSettings = new QPushButton(QStringLiteral("Save Settings…"), this);
    m_saveSettings->setAccessibleName(QStringLiteral("Save Settings"));
    m_compare = new QPushButton(QStringLiteral("Compare with File…"), this);
    m_compare->setAccessibleName(QStringLiteral("Compare with File"));
    m_applySettings = new QPushButton(QStringLiteral("Apply Settings…"), this);
    m_applySettings->setAccessibleName(QStringLiteral("Apply Settings"));
    for (QPushButton* button : {m_saveSettings, m_compare, m_applySettings})
        button->setAutoDefault(false);
    // Clicks that come while an exchange runs wait until it is over.
    connect(m_saveSettings, &QPushButton::clicked, this,
            [this] { m_sendPath.whenIdle([this] { m_settingsTransfer->save(); }, this); });
    connect(m_applySettings, &QPushButton::clicked, this,
            [this] { m_sendPath.whenIdle([this] { m_settingsTransfer->apply(); }, this); });
    connect(m_compare, &QPushButton::clicked, this,
            [this] { m_sendPath.whenIdle([this] { m_settingsTransfer->compare(); }, this); });
    layout->addLayout(makeRow({m_saveSettings, m_compare, m_applySettings, nullptr}));
    layout->addWidget(m_tabs);
    m_statusLine = new StatusLine(sendPath, this);
    layout->addWidget(m_statusLine);
    // Above the tabs: the search over every page's settings (Ctrl+F).
    m_search = new SettingSearch(m_tabs, this);
    layout->insertWidget(layout->indexOf(m_tabs), m_search);
    connect(&m_sendPath, &SendPath::accepted, this, [this](const QByteArray& line) {
        if (replacesCameraSettings(line))
            reloadAllPages();
    });

    buildPages(pages, observeLoad);
    m_tabs->setCurrentIndex(0);
    resize(du.toPixels(windowSizeDu.width(), windowSizeDu.height()));
}

void ControlPanel::buildPages(const QList<PageEntry>& pages, const PanelLoadObserver& observeLoad)
{
    // All pages load as one: when the camera turns out to be silent, the
    // rest of the panel fails at once instead of a time-out per read.
    Connection::LoadScope load(m_connection);
    const int count = static_cast<int>(pages.size());
    QList<PageSettings*> built;
    for (const PageEntry& entry : pages) {
        const int index = static_cast<int>(m_pages.size());
        const int number = index + 1;
        PageSettings* settings = m_catalogue->page(entry.title);
        if (!settings) {
            m_spareSettings.push_back(std::make_unique<PageSettings>(m_connection, entry.title));
            settings = m_spareSettings.back().get();
        }
        // A slow camera may take long over one page: its progress is looked
        // at before every line, not only between pages.
        if (observeLoad) {
            observeLoad(entry.title, number, count);
            m_connection.setLineObserver([&observeLoad, &entry, number, count] { observeLoad(entry.title, number, count); });
        }
        settings->deferLateReads();
        Page* page = entry.create ? entry.create(PageContext{m_sendPath, *settings, m_sensorTaps}, m_tabs) : nullptr;
        m_connection.setLineObserver({});
        m_pages.append(page);
        built.append(settings);
        // A page that could not be built still gets its tab, with nothing on it.
        m_tabs->addTab(page ? static_cast<QWidget*>(page) : new QWidget, entry.title);
    }
    // What the pages read after their fixed orders comes after every page's
    // fixed order, so that the panel's first reads stay as the camera expects.
    for (PageSettings* settings : built)
        settings->readDeferredLateReads();
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

bool ControlPanel::reloadAllPages()
{
    Connection::BusyScope busy(m_connection);
    Connection::LoadScope load(m_connection);
    const PanelReloadObserver observe = m_createReloadObserver ? m_createReloadObserver() : PanelReloadObserver();
    const int count = pageCount();
    bool cancelled = false;
    int read = 0;
    for (; read < count && !cancelled; ++read) {
        if (observe) {
            const QString title = m_tabs->tabText(read);
            const auto look = [&, title] { cancelled = !observe(title, read + 1, count) || cancelled; };
            look();
            if (cancelled)
                break;
            // Cancel ends the reading once this page is read: a read cut
            // short would leave the page's settings not read.
            m_connection.setLineObserver(look);
        }
        if (Page* page = m_pages.at(read))
            page->LoadFromCamera();
        m_connection.setLineObserver({});
    }
    return read == count;
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
