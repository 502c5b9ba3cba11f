#include "BrevoCLGPIOPage.h"

namespace {

// What a Brevo output pin can carry; the index is the value of GPO-SRC.
const QStringList kSources = {"Exposure", "Strobe",  "LVAL",  "FVAL",  "SensorOut",
                              "TrigSig",  "Pulse",   "User1", "User2", "User3"};

} // namespace

CBrevoCLGPIOPage::CBrevoCLGPIOPage(PageContext context, QWidget* parent) : GpioPage(context, kSources, parent) {}
