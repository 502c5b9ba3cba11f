#include "Page.h"

#include "Connection.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

bool isEnterOrEscape(QEvent* event)
{
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

Page::Page(PageContext context, QWidget* parent)
    : QWidget(parent), m_context(context), m_bindings(context.connection), m_load(context.connection)
{
    // Keys go to the focused control first, so the page watches them on
    // their way there; only events of its own controls are touched.
    qApp->installEventFilter(this);
    m_bindings.setRestorer([this](QObject* control) { return m_load.restore(control); });
}

Page::~Page() = default;

void Page::initialise()
{
    Connection::LoadScope load(connection());
    OnInitDialog();
}

void Page::OnInitDialog()
{
    LoadFromCamera();
}

void Page::LoadFromCamera()
{
    Connection::ReadRecord record(connection());
    m_load.run();
    m_lastLoad = record.reads();
}

QList<SettingLine> Page::settingLines() const
{
    // Where each key was first read, and whether the camera answered its
    // last read (a value read twice counts as the control shows it now).
    QHash<QByteArray, int> firstRead;
    QHash<QByteArray, bool> answered;
    for (const Connection::Read& read : m_lastLoad) {
        const QByteArray key = read.command.simplified();
        if (!firstRead.contains(key))
            firstRead.insert(key, int(firstRead.size()));
        answered.insert(key, read.answered);
    }
    struct Found {
        SettingLine setting;
        bool first;
        int readAt;
    };
    std::vector<Found> found;
    QSet<QByteArray> taken;
    for (const Binding* binding : m_bindings.all()) {
        const QByteArray key = binding->settingKey();
        if (!binding->isSetting() || taken.contains(key) || !answered.value(key))
            continue;
        const std::optional<QByteArray> line = binding->settingLine();
        if (!line)
            continue;
        taken.insert(key);
        found.push_back({{key, *line}, binding->isAppliedFirst(), firstRead.value(key)});
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.first != b.first ? a.first : a.readAt < b.readAt;
    });
    QList<SettingLine> lines;
    for (const Found& f : found)
        lines.append(f.setting);
    return lines;
}

std::optional<double> Page::timeoutFor(const QByteArray& key) const
{
    for (const Binding* binding : m_bindings.all()) {
        if (binding->settingKey() == key)
            return binding->answerTimeoutSeconds();
    }
    return std::nullopt;
}

void Page::pollWhileShown(std::function<void()> onTick)
{
    m_polling = new PollingTimer(connection(), std::move(onTick), this);
    if (isVisible())
        m_polling->start();
}

QPushButton* Page::makeRefreshButton()
{
    auto* button = new QPushButton(QStringLiteral("Refresh"), this);
    m_bindings.action(button, [this] {
        Connection::LoadScope load(connection());
        LoadFromCamera();
    });
    return button;
}

void Page::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_polling)
        m_polling->start();
}

void Page::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (m_polling)
        m_polling->stop();
}

bool Page::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() || !isEnterOrEscape(event))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != this && !isAncestorOf(widget))
        return false;
    // A plain edit box takes Enter itself (a bound one sends its value on
    // returnPressed) and passes it on to its parents; it stops at the page
    // at the latest. Everywhere else the key goes no further: a focused
    // button must not click, a list must not take the typed text as an item.
    const bool plainEdit = qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parentWidget())
                           && !qobject_cast<QAbstractSpinBox*>(widget->parentWidget());
    const bool enter = static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape;
    return !(plainEdit && enter);
}
