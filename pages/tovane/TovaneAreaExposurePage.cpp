#include "TovaneAreaExposurePage.h"

#include "CommandWords.h"
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
    // Made in reading order, which is the order Tab visits them.
    m_enableAll = new QCheckBox(QStringLiteral("AreaExposure Enable All"), this);
    m_enableAllError = new QLabel(QStringLiteral("---"), this);
    QPushButton* refresh = makeRefreshButton();
    m_rows = new RegionRows(this, connection(), bind(),
                            {.word = cmd::AREA_EXPOSURE, .rowCaption = QStringLiteral("Area"), .rows = 16,
                             .columns = rectangleColumns()});
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

    explainRefusals(bind().check(m_enableAll, cmd::AREA_EXPOSURE_ENABLE), connection(), m_enableAllError,
                    [this] { m_enableAll->setChecked(false); });
    EditBinding& normal = bind()
                              .edit(m_normalExposure, QStringLiteral("Normal Exposure Time"), cmd::EXP)
                              .line(Line::wholeNumber(cmd::EXP, 0));
    EditBinding& inAreas = bind()
                               .edit(m_areaExposure, QStringLiteral("Exposure Time for selected area"),
                                     cmd::AREA_EXPOSURE_TIME)
                               .line(Line::wholeNumber(cmd::AREA_EXPOSURE_TIME, 0));

    load().check(cmd::AREA_EXPOSURE_ENABLE, m_enableAll);
    m_rows->declareLoad(load());
    load().number(cmd::EXP, normal).number(cmd::AREA_EXPOSURE_TIME, inAreas);
}
