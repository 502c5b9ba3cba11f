#include "Page.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

Page::Page(PageContext context, QWidget* parent)
    : QWidget(parent), m_context(context), m_bindings(context.connection), m_load(context.connection)
{
    // Keys go to the focused control first, so the page watches them on
    // their way there; only events of its own controls are touched.
    qApp->installEventFilter(this);
}

Page::~Page() = default;

void Page::initialise()
{
    OnInitDialog();
}

void Page::OnInitDialog()
{
    LoadFromCamera();
}

void Page::LoadFromCamera()
{
    m_load.run();
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
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget != this && !isAncestorOf(widget))
        return false;
    if (key != Qt::Key_Escape)
        m_bindings.enterIn(widget);
    return true;
}
