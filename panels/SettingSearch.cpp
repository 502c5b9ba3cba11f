#include "SettingSearch.h"

#include "Binding.h"
#include "Controls.h"
#include "Page.h"
#include "PageSettings.h"
#include "Setting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How long the control the search went to stays marked.
constexpr int kMarkMs = 1500;

enum Column { PageColumn, CaptionColumn, CommandColumn, ValueColumn };

// The words of a caption, command word or title, in small letters: split at
// anything but letters and digits, and where a capital follows a small
// letter ("GainAuto Lower" gives gain, auto, lower; "AGC-LOWER" agc, lower).
QStringList wordsOf(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        const bool startsWord = c.isUpper() && !word.isEmpty() && word.back().isLower();
        if (!c.isLetterOrNumber() || startsWord) {
            if (!word.isEmpty())
                words << word.toLower();
            word.clear();
        }
        if (c.isLetterOrNumber())
            word += c;
    }
    if (!word.isEmpty())
        words << word.toLower();
    return words;
}

// 3 for a whole word, 2 for the start of one, 1 for any other part, 0 when
// the field does not hold the term (given in small letters).
int termScore(const QString& term, const QString& field)
{
    if (!field.contains(term, Qt::CaseInsensitive))
        return 0;
    int score = 1;
    for (const QString& word : wordsOf(field)) {
        if (word == term)
            return 3;
        if (word.startsWith(term))
            score = 2;
    }
    return score;
}

QStringList fieldsOf(const QString& title, const Setting& setting)
{
    return {title, setting.caption(), QString::fromLatin1(setting.key())};
}

// A frame drawn around a control for a moment, so that the eye finds the
// control the search went to.
class FocusMark : public QWidget {
public:
    explicit FocusMark(QWidget* target) : QWidget(target->parentWidget())
    {
        setObjectName(QStringLiteral("settingSearchMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        constexpr int kMargin = 3;
        setGeometry(target->geometry().adjusted(-kMargin, -kMargin, kMargin, kMargin));
        raise();
        show();
        QTimer::singleShot(kMarkMs, this, &QObject::deleteLater);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
};

} // namespace

int searchScore(const QString& query, const QStringList& fields)
{
    const QString simplified = query.simplified();
    int total = 0;
    for (const QString& term : simplified.toLower().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        int termTotal = 0;
        for (const QString& field : fields)
            termTotal += termScore(term, field);
        if (termTotal == 0)
            return 0;
        total += termTotal;
    }
    for (const QString& field : fields) {
        if (total > 0 && field.compare(simplified, Qt::CaseInsensitive) == 0)
            total += 4;
    }
    return total;
}

QList<SettingHit> findSettings(const QTabWidget& tabs, const SearchedPages& pages, const QString& query)
{
    QList<std::pair<int, SettingHit>> scored;
    for (int tab = 0; tab < tabs.count(); ++tab) {
        const PageSettings* settings = pages.settings(tab);
        if (!settings)
            continue;
        for (Setting* setting : settings->settings()) {
            if (const int score = searchScore(query, fieldsOf(tabs.tabText(tab), *setting)))
                scored.append({score, {tab, setting}});
        }
    }
    std::ranges::stable_sort(scored, std::greater{}, &std::pair<int, SettingHit>::first);
    QList<SettingHit> hits;
    for (const auto& entry : std::as_const(scored))
        hits.append(entry.second);
    return hits;
}

QWidget* controlOf(const Page& page, const Setting& setting)
{
    for (const Binding* binding : page.bindings().all()) {
        if (binding->setting() != &setting)
            continue;
        QWidget* first = nullptr;
        for (QWidget* widget : binding->widgets()) {
            if (!widget->isVisibleTo(&page) || !widget->isEnabled() || widget->focusPolicy() == Qt::NoFocus)
                continue;
            auto* button = qobject_cast<QAbstractButton*>(widget);
            if (button && button->autoExclusive() && button->isChecked())
                return widget;
            if (!first)
                first = widget;
        }
        if (first)
            return first;
    }
    return nullptr;
}

SettingSearch::SettingSearch(QTabWidget* tabs, SearchedPages pages, QWidget* parent)
    : QWidget(parent), m_tabs(tabs), m_pages(std::move(pages)), m_field(new QLineEdit(this)), m_summary(new QLabel(this)),
      m_results(new QTreeWidget(this))
{
    m_field->setPlaceholderText(QStringLiteral("caption, command word or page (Ctrl+F)"));
    m_field->setClearButtonEnabled(true);
    m_results->setAccessibleName(QStringLiteral("Matching settings"));
    m_results->setHeaderLabels({QStringLiteral("Page"), QStringLiteral("Setting"), QStringLiteral("Command"),
                                QStringLiteral("Camera's value")});
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(makeRow({makeLabel(this, QStringLiteral("Find setting"), m_field), m_field}));
    layout->addWidget(m_summary);
    layout->addWidget(m_results);
    showResults(false);

    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, &SettingSearch::start);
    connect(m_field, &QLineEdit::textChanged, this, &SettingSearch::listMatches);
    connect(m_results, &QTreeWidget::itemDoubleClicked, this, &SettingSearch::goToCurrent);
    m_field->installEventFilter(this);
    m_results->installEventFilter(this);
    // Escape gives the focus back to the control that had it before the
    // search, however the field got it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (old && now && isAncestorOf(now) && !isAncestorOf(old) && old->window() == window())
            m_returnTo = old;
    });
}

void SettingSearch::start()
{
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    listMatches();
}

void SettingSearch::listMatches()
{
    const QString query = m_field->text().simplified();
    m_hits = query.isEmpty() ? QList<SettingHit>() : findSettings(*m_tabs, m_pages, query);
    m_results->clear();
    for (const SettingHit& hit : std::as_const(m_hits)) {
        const QString page = m_tabs->tabText(hit.tab);
        const QString command = QString::fromLatin1(hit.setting->key());
        const QString value = shownValue(*hit.setting);
        auto* item = new QTreeWidgetItem(m_results, {page, hit.setting->caption(), command, value});
        item->setData(PageColumn, Qt::AccessibleTextRole,
                      QStringLiteral("%1, %2, the camera's value %3, on the %4 page")
                          .arg(hit.setting->caption(), command, value, page));
    }
    m_results->header()->resizeSections(QHeaderView::ResizeToContents);
    if (!m_hits.isEmpty())
        m_results->setCurrentItem(m_results->topLevelItem(0));
    const QString summary = m_hits.isEmpty() ? QStringLiteral("No setting matches \"%1\".").arg(query)
                            : m_hits.size() == 1 ? QStringLiteral("1 setting matches; Enter goes to it, Escape returns.")
                                                 : QStringLiteral("%1 settings match; Enter goes to the selected one, "
                                                                  "Escape returns.")
                                                       .arg(m_hits.size());
    m_summary->setText(summary);
    m_results->setAccessibleDescription(summary);
    showResults(!query.isEmpty());
}

void SettingSearch::showResults(bool shown)
{
    // The tabs are hidden first, so that the window never needs room for both.
    if (shown)
        m_tabs->hide();
    m_summary->setVisible(shown);
    m_results->setVisible(shown);
    if (!shown)
        m_tabs->show();
}

void SettingSearch::goToCurrent()
{
    const int row = m_results->indexOfTopLevelItem(m_results->currentItem());
    if (row >= 0 && row < m_hits.size())
        goTo(m_hits.at(row));
}

void SettingSearch::goTo(const SettingHit& hit)
{
    showResults(false);
    m_tabs->setCurrentIndex(hit.tab);
    const Page* page = m_pages.page(hit.tab);
    QWidget* control = page ? controlOf(*page, *hit.setting) : nullptr;
    if (!control) {
        // Shown on no control of its own: the page itself is the answer.
        m_tabs->tabBar()->setFocus(Qt::OtherFocusReason);
        return;
    }
    // As Tab does: an edit's text is selected, so typing replaces it.
    control->setFocus(Qt::ShortcutFocusReason);
    delete m_mark;
    m_mark = new FocusMark(control);
}

void SettingSearch::cancel()
{
    m_field->clear();
    showResults(false);
    if (m_returnTo && m_returnTo->isVisible() && m_returnTo->isEnabled())
        m_returnTo->setFocus(Qt::OtherFocusReason);
    else
        m_tabs->tabBar()->setFocus(Qt::OtherFocusReason);
}

bool SettingSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        cancel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        goToCurrent();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The field keeps the focus while the arrows choose a row.
        if (watched == m_field && m_results->isVisible()) {
            QCoreApplication::sendEvent(m_results, event);
            return true;
        }
        return false;
    default:
        return false;
    }
}
