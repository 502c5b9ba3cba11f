#include "TovaneMultiROIPage.h"

#include "CommandWords.h"
#include "Controls.h"
#include "Display.h"
#include "LastError.h"
#include "Link.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTovaneMultiROIPage::CTovaneMultiROIPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    // Made in reading order, which is the order Tab visits them.
    m_enableAll = new QCheckBox(QStringLiteral("MultiROI Enable All"), this);
    m_enableAllError = new QLabel(QStringLiteral("---"), this);
    QPushButton* refresh = makeRefreshButton();
    m_rows = new RegionRows(this, connection(), bind(),
                            {.word = cmd::MULTI_ROI, .rowCaption = QStringLiteral("ROI"), .rows = 8,
                             .columns = rectangleColumns()});
    m_highlight = new QCheckBox(QStringLiteral("Highlight Selected Area"), this);
    QPushButton* setAll = m_rows->makeSetAllButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeRow({m_enableAll, m_enableAllError, nullptr, refresh}));
    layout->addWidget(m_rows);
    layout->addLayout(makeRow({m_highlight, nullptr, setAll}));
    layout->addStretch();

    // Switching multi-ROI on or off may change the highlighting, which is
    // read back either way.
    explainRefusals(bind().check(m_enableAll, cmd::MULTI_ROI_ENABLE), connection(), m_enableAllError, [this] {
        m_enableAll->setChecked(false);
    }).then([this](int) { showCheck(m_highlight, QueryInt(connection(), cmd::MULTI_ROI_AREA_HIGHLIGHT)); });
    bind().check(m_highlight, cmd::MULTI_ROI_AREA_HIGHLIGHT).onRefused([this](int) { m_highlight->setChecked(false); });

    load().check(cmd::MULTI_ROI_ENABLE, m_enableAll).check(cmd::MULTI_ROI_AREA_HIGHLIGHT, m_highlight);
    m_rows->declareLoad(load());
}
