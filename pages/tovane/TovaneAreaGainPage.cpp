#include "TovaneAreaGainPage.h"

#include "Controls.h"
#include "RegionRows.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

CTovaneAreaGainPage::CTovaneAreaGainPage(PageContext context, QWidget* parent) : Page(context, parent)
{
    auto& s = settingsAs<Settings>();
    // Made in reading order, which is the order Tab visits them. The gain
    // goes on the wire after the rectangle and may be negative.
    m_enableAll = new QCheckBox(QStringLiteral("AreaGain Enable All"), this);
    QPushButton* refresh = makeRefreshButton();
    m_rows = new RegionRows(this, sendPath(),
                            {.rowCaption = QStringLiteral("Area"),
                             .columns = rectangleColumns() << RegionColumn{QStringLiteral("Gain"), 4, INT_MIN}},
                            {s.areas.begin(), s.areas.end()});
    QPushButton* setAll = m_rows->makeSetAllButton(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeRow({m_enableAll, nullptr, refresh}));
    layout->addWidget(m_rows);
    layout->addLayout(makeRow({nullptr, setAll}));
    layout->addStretch();

    bind().check(m_enableAll, *s.enableAll);
}
