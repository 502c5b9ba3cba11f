#include "TovaneMultiROIPage.h"

#include "Controls.h"
#include "LastError.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CTovaneMultiROIPage::CTovaneMultiROIPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto& s = settingsAs<Settings>();
    // Made in reading order, which is the order Tab visits them.
    m_enableAll = new QCheckBox(QStringLiteral("MultiROI Enable All"), this);
    m_enableAllError = new QLabel(QStringLiteral("---"), this);
    QPushButton* refresh = makeRefreshButton();
    m_rows = new RegionRows(this, sendPath(), {.rowCaption = QStringLiteral("ROI"), .columns = rectangleColumns()},
                            {s.regions.begin(), s.regions.end()});
    m_highlight = new QCheckBox(QStringLiteral("Highlight Selected Area"), this);
    QPushButton* setAll = m_rows->makeSetAllButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeRow({m_enableAll, m_enableAllError, nullptr, refresh}));
    layout->addWidget(m_rows);
    layout->addLayout(makeRow({m_highlight, nullptr, setAll}));
    layout->addStretch();

    bind().check(m_enableAll, *s.enableAll);
    explainRefusals(*s.enableAll, m_enableAllError);
    bind().check(m_highlight, *s.highlight);
}
