#include "Page.h"

#include "AccessibleActions.h"
#include "Connection.h"
#include "TabOrder.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {

bool isEnterOrEscape(QEvent* event)
{
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

Page::Page(PageContext context, QWidget* parent)
    : QWidget(parent), m_context(context), m_bindings(context.sendPath)
{
    // Keys go to the focused control first, so the page watches them on
    // their way there; only events of its own controls are touched.
    qApp->installEventFilter(this);
    // Before the page makes its controls, which get their accessibility
    // interfaces as they are made.
    installAccessibleUserActions();
}

Page::~Page() = default;

void Page::initialise()
{
    orderTabsAsLaidOut(this);
    Connection::LoadScope load(connection());
    m_showWhatWasRead = m_context.settingsRead;
    OnInitDialog();
    m_showWhatWasRead = false;
}

void Page::loadSettings(PageSettings& settings)
{
    Connection::LoadScope load(settings.connection());
    settings.load();
}

void Page::OnInitDialog()
{
    if (m_context.settings.loadsWhenCreated())
        LoadFromCamera();
}

void Page::LoadFromCamera()
{
    // The bindings show the settings' values as they are made.
    if (std::exchange(m_showWhatWasRead, false))
        return;
    loadSettings(m_context.settings);
}

void Page::whenChanged(Setting& setting, std::function<void()> react)
{
    connect(&setting, &Setting::changed, this, react);
    react();
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
    m_bindings.action(button, [this] { LoadFromCamera(); });
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
