#include "ControlPanelBrevo.h"

#include "brevo/BrevoCatalogue.h"

#include <QPushButton>
#include <QTabWidget>

CControlPanelPTM_Brevo::CControlPanelPTM_Brevo(SendPath& sendPath, const QString& model, int sensorTaps,
                                               const QList<PageEntry>& pages, const PanelLoadObserver& observeLoad,
                                               QWidget* parent, PanelLoad load)
    : ControlPanel(sendPath, model, sensorTaps, brevoCatalogue(sendPath.connection(), {sensorTaps}), pages,
                   QSize(547, 295), observeLoad, parent, load)
{
    setWindowTitle(QStringLiteral("Feature Control Brevo"));
    auto* close = new QPushButton(QStringLiteral("Close"), tabs());
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    tabs()->setCornerWidget(close, Qt::TopRightCorner);
}
