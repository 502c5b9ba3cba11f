#include "Controls.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

TEST(PrintableTextOnly, ATextFieldRefusesControlCharactersTypedOrPastedAndKeepsItsText)
{
    const struct {
        QString inserted;
        QString kept;
    } cases[] = {
        {"ab\rZZINJECT", "ab"}, {"a\nb", "ab"}, {QString("a") + QChar(0) + "b", "ab"}, {"a\tb", "ab"},
        {QString("a") + QChar(0x85) + "b", "ab"}, // a control character of Latin-1
        {"cd e-f_1", "abcd e-f_1"}, {QString::fromUtf8("-\u00e9"), QString::fromUtf8("ab-\u00e9")},
    };
    for (const auto& c : cases) {
        QLineEdit edit;
        acceptPrintableTextOnly(&edit);
        QTest::keyClicks(&edit, "ab");
        edit.insert(c.inserted);
        EXPECT_EQ(edit.text(), c.kept) << c.inserted.toStdString();
    }
}
