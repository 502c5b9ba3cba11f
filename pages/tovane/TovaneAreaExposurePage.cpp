#include "TovaneAreaExposurePage.h"

#include "Controls.h"
#include "LastError.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CTovaneAreaExposurePage::CTovaneAreaExposurePage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto& s = settingsAs<Settings>();
    // Made in reading order, which is the order Tab visits them.
    m_enableAll = new QCheckBox(QStringLiteral("AreaExposure Enable All"), this);
    m_enableAllError = new QLabel(QStringLiteral("---"), this);
    QPushButton* refresh = makeRefreshButton();
    m_rows = new RegionRows(this, sendPath(), {.rowCaption = QStringLiteral("Area"), .columns = rectangleColumns()},
                            {s.areas.begin(), s.areas.end()});
    QPushButton* setAll = m_rows->makeSetAllButton(this);
    m_normalExposure = makeEdit(this);
    m_areaExposure = makeEdit(this);

    auto* regions = new QVBoxLayout;
    regions->addLayout(makeRow({m_enableAll, m_enableAllError, nullptr, refresh}));
    regions->addWidget(m_rows);
    regions->addLayout(makeRow({nullptr, setAll}));
    regions->addStretch();

    auto* times = new QGridLayout;
    times->addWidget(makeLabel(this, QStringLiteral("Normal Exposure Time"), m_normalExposure), 0, 0);
    times->addWidget(m_normalExposure, 1, 0);
    times->addWidget(makeLabel(this, QStringLiteral("Exposure Time for selected area"), m_areaExposure), 2, 0);
    times->addWidget(m_areaExposure, 3, 0);
    times->setRowStretch(4, 1);

    layOutColumns(this, {regions, times});

    bind().check(m_enableAll, *s.enableAll);
    explainRefusals(*s.enableAll, m_enableAllError);
    bind().edit(m_normalExposure, *s.exposureTime).accept(0, INT_MAX);
    bind().edit(m_areaExposure, *s.areaExposureTime).accept(0, INT_MAX);
}
