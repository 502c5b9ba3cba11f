#include "TovaneGPIOPage.h"

namespace {

// What a Tovane output pin can carry; the index is the value of GPO-SRC.
// Besides the Brevo's signals a pin can be switched off or held low or high.
const QStringList kSources = {"Exposure", "Strobe", "LVAL",  "FVAL", "SensorOut", "TrigSig", "Pulse",
                              "User1",    "User2",  "User3", "None", "Low",       "High"};

} // namespace

CTovaneGPIOPage::CTovaneGPIOPage(PageContext context, QWidget* parent) : GpioPage(context, kSources, parent) {}
