#include "ControlPanel.h"

#include "Connection.h"
#include "DialogUnits.h"
#include "StatusLine.h"

#include <QKeyEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The tab control stands 7 dialog units inside the window on every side.
constexpr int kTabMarginDu = 7;

} // namespace

ControlPanel::ControlPanel(Connection& connection, const QString& model, int sensorTaps,
                           const QList<PageEntry>& pages, QSize windowSizeDu, const PanelLoadObserver& observeLoad,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(model), m_sensorTaps(sensorTaps), m_tabs(new QTabWidget(this))
{
    const DialogUnits& du = DialogUnits::standard();
    auto* layout = new QVBoxLayout(this);
    const int marginX = du.toPixelsX(kTabMarginDu);
    const int marginY = du.toPixelsY(kTabMarginDu);
    layout->setContentsMargins(marginX, marginY, marginX, marginY);
    layout->addWidget(m_tabs);
    m_statusLine = new StatusLine(connection, this);
    layout->addWidget(m_statusLine);

    // All pages load as one: when the camera turns out to be silent, the
    // rest of the panel fails at once instead of a time-out per read.
    Connection::LoadScope load(connection);
    for (const PageEntry& entry : pages) {
        if (observeLoad)
            observeLoad(entry.title, static_cast<int>(m_pages.size()) + 1, static_cast<int>(pages.size()));
        Page* page = entry.create ? entry.create(PageContext{connection, sensorTaps}, m_tabs) : nullptr;
        m_pages.append(page);
        // A page that could not be built still gets its tab, with nothing on it.
        m_tabs->addTab(page ? static_cast<QWidget*>(page) : new QWidget, entry.title);
    }
    m_tabs->setCurrentIndex(0);
    resize(du.toPixels(windowSizeDu.width(), windowSizeDu.height()));
}

int ControlPanel::pageCount() const
{
    return static_cast<int>(m_pages.size());
}

Page* ControlPanel::page(int tab) const
{
    return m_pages.value(tab);
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
