// Every field the user types into, on every page of both families: text
// that is no value for the field (letters, nothing, a fraction, a number out
// of range) sends nothing, stays as typed and is reported; a value the tool
// only shows cannot be typed into.

#include "ControlBindings.h"
#include "PageTesting.h"
#include "SimPanelTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace {

struct BadInput {
    const char* text;
    bool wholeNumbersOnly; // a fraction is a value where a field takes fractions
};

const BadInput kBadInputs[] = {
    {"abc", false}, {"", false}, {"6.5", true}, {"12abc", false}, {"2147483648", false}, {"-2147483649", false},
    {"1e300", false}};

// Fields a button sends rather than Enter: the field's name, the button's.
const std::pair<const char*, const char*> kSentByButton[] = {
    {"White Pixel Exposure", "White Pixel Exposure, Gain, Threshold"},
    {"White Pixel Gain", "White Pixel Exposure, Gain, Threshold"},
    {"White Pixel Threshold", "White Pixel Exposure, Gain, Threshold"},
    {"Black Pixel Exposure", "Black Pixel Exposure, Gain, Threshold"},
    {"Black Pixel Gain", "Black Pixel Exposure, Gain, Threshold"},
    {"Black Pixel Threshold", "Black Pixel Exposure, Gain, Threshold"},
    {"FireSoftTrigger width", "FireSoftTrigger"},
    {"SoftTrigger width", "Fire SoftTrigger"},
    {"Intervals", "Demo Start"},
};

const EditBinding* editBindingOf(const Page& page, const QLineEdit* edit)
{
    for (const Binding* binding : page.bindings().all()) {
        if (auto* editBinding = dynamic_cast<const EditBinding*>(binding); editBinding && editBinding->edit() == edit)
            return editBinding;
    }
    return nullptr;
}

class TypedFields : public SimPanelTest {};

TEST_P(TypedFields, TextThatIsNoValueSendsNothingStaysAsTypedAndIsReported)
{
    // The pulse width counts only in pulse-width mode.
    given("EXP-MODE 1");
    openPanel();
    panel->show();
    QStringList rejections;
    QObject::connect(&sendPath, &SendPath::inputRejected, [&](const QString& why) { rejections << why; });

    int fields = 0;
    for (int tab = 0; tab < panel->pageCount(); ++tab) {
        panel->tabs()->setCurrentIndex(tab);
        Page* page = panel->page(tab);
        for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
            if (!edit->isVisible() || !edit->isEnabled())
                continue;
            const std::string where = (panel->tabs()->tabText(tab) + ' ' + edit->accessibleName()).toStdString();
            if (edit->isReadOnly()) {
                // A value the tool only shows.
                const QString shown = edit->text();
                QTest::keyClicks(edit, QStringLiteral("12"));
                EXPECT_EQ(edit->text(), shown) << where;
                continue;
            }
            const EditBinding* binding = editBindingOf(*page, edit);
            if (binding && binding->takesText())
                continue;
            // Interpolation points go out with "Build", which names those it
            // leaves out; Enter in one sends nothing and has nothing to say.
            const bool quiet = qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr
                               || edit->accessibleName().startsWith(QLatin1String("Point "));
            QAbstractButton* sender = nullptr;
            for (const auto& [field, button] : kSentByButton) {
                if (edit->accessibleName() == QLatin1String(field))
                    sender = findButton(page, QString::fromLatin1(button));
            }
            // A row sends its fields together: this field's text is put back
            // for the next field's turn.
            const QString shown = edit->text();
            for (const BadInput& input : kBadInputs) {
                if (input.wholeNumbersOnly && binding && binding->takesFractions())
                    continue;
                rejections.clear();
                typeAndEnter(edit, QString::fromLatin1(input.text));
                if (sender)
                    sender->click();
                EXPECT_EQ(sentAfterwards(), QByteArrayList()) << where << " \"" << input.text << '"';
                EXPECT_EQ(edit->text(), QString::fromLatin1(input.text)) << where;
                if (!quiet) {
                    EXPECT_EQ(rejections.size(), 1) << where << " \"" << input.text << '"';
                    // (A button marks the first of its fields that holds no value.)
                    EXPECT_TRUE(sender || edit->property("invalidInput").toBool()) << where;
                }
            }
            if (!quiet)
                edit->setText(shown);
            ++fields;
        }
    }
    EXPECT_GT(fields, isBrevo() ? 20 : 40);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Models, TypedFields, ::testing::Values("PTM-TW640", "PTM-R560CL"), modelTestName);

} // namespace
