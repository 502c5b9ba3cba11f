#include "ControlPanel.h"

#include "Catalogue.h"
#include "Clock.h"
#include "CommandWords.h"
#include "Connection.h"
#include "Controls.h"
#include "DialogUnits.h"
#include "LongOperation.h"
#include "SettingSearch.h"
#include "SettingsTransfer.h"
#include "StatusLine.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QPushButton>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

// The tab control stands 7 dialog units inside the window on every side.
constexpr int kTabMarginDu = 7;
// How often the window's events run between two reads of the load behind
// the panel (waits run them too, at least every Connection::kPumpEveryMs).
constexpr qint64 kEventsEveryMs = 50;

// A line after which the camera holds other settings than the pages read: a
// user set loaded, the factory's values restored.
bool replacesCameraSettings(const QByteArray& line)
{
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.first(blank);
    return word == cmd::USERSET_LOAD || word == cmd::FACTORY_DEFAULT;
}

// A tab widget that repaints no more than it must when it lays itself out
// again: QTabWidget repaints all it covers then, the page shown included,
// although usually nothing has moved.
class PanelTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::LayoutRequest || !isVisible())
            return QTabWidget::event(event);
        auto* stack = findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
        if (!stack)
            return QTabWidget::event(event);
        const QRect pageArea = stack->geometry();
        const QRect tabRow = tabBar()->geometry();
        setAttribute(Qt::WA_UpdatesDisabled);
        const bool handled = QTabWidget::event(event);
        setAttribute(Qt::WA_UpdatesDisabled, false);
        // When nothing moved, the tab row has repainted what changed in it
        // itself. A page area that moved or changed size has repainted itself.
        if (stack->geometry() != pageArea || tabBar()->geometry() != tabRow)
            update(QRegion(rect()).subtracted(stack->geometry() == pageArea ? pageArea : QRect()));
        return handled;
    }
};

} // namespace

ControlPanel::ControlPanel(SendPath& sendPath, const QString& model, int sensorTaps,
                           std::unique_ptr<Catalogue> catalogue, const QList<PageEntry>& pages, QSize windowSizeDu,
                           const PanelLoadObserver& observeLoad, QWidget* parent, PanelLoad load)
    : QWidget(parent, Qt::Window), m_sendPath(sendPath), m_connection(sendPath.connection()),
      m_catalogue(std::move(catalogue)), m_model(model), m_family(m_catalogue->family()), m_sensorTaps(sensorTaps),
      m_tabs(new PanelTabs(this)), m_settingsTransfer(std::make_unique<SettingsTransfer>(*this, m_connection)),
      m_entries(pages)
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
    const auto settingsOfTab = [this](int tab) -> PageSettings* {
        return tab >= 0 && tab < m_pagesRead ? &settingsFor(m_entries.at(tab).title) : nullptr;
    };
    m_search = new SettingSearch(m_tabs, {settingsOfTab, [this](int tab) { return page(tab); }}, this);
    layout->insertWidget(layout->indexOf(m_tabs), m_search);
    connect(&m_sendPath, &SendPath::accepted, this, [this](const QByteArray& line) {
        if (replacesCameraSettings(line))
            reloadAllPages();
    });

    // Every tab is there from the start; a page not read yet says so. A
    // page is read in its turn, but built only when its tab is first shown:
    // building the widgets of pages nobody looks at would cost more than
    // reading them. Each tab holds its page in a box of its own.
    for (const PageEntry& entry : pages) {
        m_pages.append(nullptr);
        auto* holder = new QWidget;
        auto* holderLayout = new QStackedLayout(holder);
        auto* reading = new QLabel(QStringLiteral("Reading %1 from the camera…").arg(entry.title));
        reading->setAlignment(Qt::AlignCenter);
        holderLayout->addWidget(reading);
        showTabBeingRead(m_tabs->addTab(holder, entry.title), true);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { buildPage(index); });
    // All pages load as one: when the camera turns out to be silent, the
    // rest of the panel fails at once instead of a time-out per read.
    m_load.emplace(m_connection);
    if (!m_entries.isEmpty())
        readPage(0, observeLoad);
    if (load == PanelLoad::AllAtOnce) {
        m_loadingRemaining = true;
        readPagesStillToRead({}, observeLoad);
        m_loadingRemaining = false;
    }
    m_tabs->setCurrentIndex(0);
    resize(du.toPixels(windowSizeDu.width(), windowSizeDu.height()));
}

QString ControlPanel::readingTitle(const QString& title)
{
    return QStringLiteral("%1 (reading…)").arg(title);
}

// A tab keeps its title while its page is read, so that the tabs do not move
// under the user's pointer and the tab row repaints only the one tab: it is
// greyed, and its tool tip and the name screen readers give say why.
void ControlPanel::showTabBeingRead(int index, bool beingRead)
{
    QTabBar* bar = m_tabs->tabBar();
    const QString title = m_tabs->tabText(index);
    // A tool tip already up would go on saying so after the read.
    if (!beingRead && QToolTip::isVisible() && QToolTip::text() == bar->tabToolTip(index))
        QToolTip::hideText();
    bar->setTabTextColor(index, beingRead ? palette().color(QPalette::Disabled, QPalette::WindowText) : QColor());
    bar->setTabToolTip(index, beingRead ? QStringLiteral("%1 is being read from the camera").arg(title) : QString());
    bar->setAccessibleTabName(index, beingRead ? readingTitle(title) : QString());
}

PageSettings& ControlPanel::settingsFor(const QString& title)
{
    if (PageSettings* settings = m_catalogue->page(title))
        return *settings;
    m_spareSettings.push_back(std::make_unique<PageSettings>(m_connection, title));
    return *m_spareSettings.back();
}

void ControlPanel::readPage(int index, const PanelLoadObserver& observeLoad, const std::function<bool()>& goOn)
{
    const PageEntry& entry = m_entries.at(index);
    const int number = index + 1;
    const int count = static_cast<int>(m_entries.size());
    PageSettings& settings = settingsFor(entry.title);
    // A slow camera may take long over one page: its progress is looked at
    // before every line, not only between pages.
    if (observeLoad) {
        observeLoad(entry.title, number, count);
        m_connection.setLineObserver([&observeLoad, &entry, number, count] { observeLoad(entry.title, number, count); });
    }
    settings.deferLateReads();
    settings.setBetweenReads(goOn);
    // What a new page reads (unless it waits for "Refresh"), without the page.
    if (entry.load && settings.loadsWhenCreated())
        entry.load(settings);
    settings.setBetweenReads({});
    m_connection.setLineObserver({});
    m_pagesRead = number;
    m_lateReadsHeld.append(&settings);
    if (!settings.lastLoadCompleted())
        m_cutShort.append(&settings);
    showTabBeingRead(index, false);
    if (m_tabs->currentIndex() == index)
        buildPage(index);
}

Page* ControlPanel::buildPage(int index)
{
    if (index < 0 || index >= m_pagesRead || m_pages.at(index))
        return m_pages.value(index);
    const PageEntry& entry = m_entries.at(index);
    PageSettings& settings = settingsFor(entry.title);
    QWidget* holder = m_tabs->widget(index);
    Page* page = entry.create ? entry.create(PageContext{m_sendPath, settings, m_sensorTaps, true}, holder) : nullptr;
    m_pages[index] = page;
    // The page takes the place of its tab's notice; a page that could not be
    // built leaves its tab empty.
    auto* stack = static_cast<QStackedLayout*>(holder->layout());
    QWidget* notice = stack->widget(0);
    if (page) {
        stack->addWidget(page);
        stack->setCurrentWidget(page);
    }
    delete notice;
    return page;
}

bool ControlPanel::readPagesStillToRead(const std::function<bool()>& goOn, const PanelLoadObserver& observeLoad)
{
    const auto ended = [&goOn] { return goOn && !goOn(); };
    // Pages whose load a closed panel ended are read again from their start.
    while (!m_cutShort.isEmpty()) {
        PageSettings* settings = m_cutShort.first();
        if (ended())
            return false;
        settings->setBetweenReads(goOn);
        settings->loadInFixedOrder();
        settings->setBetweenReads({});
        if (!settings->lastLoadCompleted())
            return false;
        m_cutShort.removeFirst();
    }
    while (m_pagesRead < m_entries.size()) {
        if (ended())
            return false;
        readPage(m_pagesRead, observeLoad, goOn);
        if (!m_cutShort.isEmpty())
            return false;
    }
    // What the pages read after their fixed orders comes after every page's
    // fixed order, so that the panel's first reads stay as the camera expects.
    while (!m_lateReadsHeld.isEmpty()) {
        PageSettings* settings = m_lateReadsHeld.first();
        settings->setBetweenReads(goOn);
        settings->readDeferredLateReads();
        settings->setBetweenReads({});
        if (!settings->lastLoadCompleted())
            return false;
        m_lateReadsHeld.removeFirst();
    }
    m_load.reset();
    return true;
}

void ControlPanel::loadRemainingPages()
{
    if (m_loadingRemaining || !pagesStillToRead())
        return;
    m_loadingRemaining = true;
    enableFileButtons(false);
    const QPointer<ControlPanel> alive(this);
    {
        if (!m_load)
            m_load.emplace(m_connection);
        // Between two exchanges the window's events run: a user action goes
        // out there, timers keep off the port, and closing the panel or the
        // application ends the load.
        LongOperation between(m_connection, this);
        // Looking at the events costs more than a short exchange: between
        // two reads they run once kEventsEveryMs has passed, and at once
        // when the panel has been closed meanwhile (a wait let it close).
        Clock& clock = m_connection.clock();
        qint64 lookedAtMs = clock.nowMs();
        const auto goOn = [&] {
            if (isVisible() && clock.nowMs() - lookedAtMs < kEventsEveryMs)
                return true;
            lookedAtMs = clock.nowMs();
            return between.pause(0);
        };
        const bool done = readPagesStillToRead(goOn, {});
        if (!alive)
            return;
        if (!done)
            m_load.reset();
    }
    m_loadingRemaining = false;
    enableFileButtons(true);
}

void ControlPanel::enableFileButtons(bool enable)
{
    // A file of settings is composed from, compared with and followed by a
    // reading of every page: not while pages are still read behind the panel.
    for (QPushButton* button : {m_saveSettings, m_compare, m_applySettings})
        button->setEnabled(enable);
}

bool ControlPanel::pagesStillToRead() const
{
    return m_pagesRead < m_entries.size() || !m_cutShort.isEmpty() || !m_lateReadsHeld.isEmpty();
}

void ControlPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A load that closing the panel ended goes on once the panel is back.
    if (!m_loadingRemaining && !m_load && pagesStillToRead() && m_pagesRead > 0)
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                loadRemainingPages();
        });
}

ControlPanel::~ControlPanel() = default;

int ControlPanel::pageCount() const
{
    return static_cast<int>(m_pages.size());
}

Page* ControlPanel::page(int tab)
{
    return buildPage(tab);
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
        const PageEntry& entry = m_entries.at(read);
        if (Page* page = m_pages.at(read))
            page->LoadFromCamera();
        else if (read < m_pagesRead && entry.load)
            entry.load(settingsFor(entry.title));
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
