// How values are shown and how typed numbers are read.

#include "Controls.h"
#include "Display.h"

#include <QCheckBox>
#include <QComboBox>

#include <gtest/gtest.h>

#include <climits>

namespace {

struct PrefixCase {
    const char* text;
    int index;
};

void PrintTo(const PrefixCase& value, std::ostream* out)
{
    *out << '"' << value.text << '"';
}

class PrefixSearch : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(PrefixSearch, FindsTheFirstItemBeginningWithTheTextIgnoringCase)
{
    QComboBox combo;
    combo.addItems({" 0(SoftTrigger)", " 1(Pin 7)", " 17(CC1)", "2:Sequencial", "2:SEQUENTIAL"});
    EXPECT_EQ(findPrefix(&combo, QString::fromLatin1(GetParam().text)), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Texts, PrefixSearch,
                         ::testing::Values(PrefixCase{" 1(", 1}, PrefixCase{" 17(", 2}, PrefixCase{" 7(", -1},
                                           PrefixCase{"2:seq", 3}, PrefixCase{"2:SEQU", 3}, PrefixCase{"", 0},
                                           PrefixCase{"x", -1}));

TEST(Selection, APrefixNotFoundLeavesNoSelection)
{
    QComboBox combo;
    combo.addItems({"8", "10", "12", "24"});
    selectPrefix(&combo, QStringLiteral("12"));
    EXPECT_EQ(combo.currentIndex(), 2);
    selectPrefix(&combo, QStringLiteral("-1"));
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(Selection, AnIndexOutsideTheListLeavesNoSelectionAndAnUnknownValueKeepsIt)
{
    QComboBox combo;
    combo.addItems({"Default", "1", "2"});
    selectIndex(&combo, 2);
    EXPECT_EQ(combo.currentIndex(), 2);
    selectIndex(&combo, -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    selectIndex(&combo, 1);
    selectIndex(&combo, 3);
    EXPECT_EQ(combo.currentIndex(), -1);

    combo.setCurrentIndex(1);
    EXPECT_FALSE(selectValue(&combo, {9600, 19200, 38400}, 57600));
    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_TRUE(selectValue(&combo, {9600, 19200, 38400}, 38400));
    EXPECT_EQ(combo.currentIndex(), 2);
}

TEST(Selection, OnlyTheValueOneChecksABox)
{
    QCheckBox box;
    for (const auto& [value, checked] : {std::pair{1, true}, {0, false}, {-1, false}, {2, false}}) {
        showCheck(&box, value);
        EXPECT_EQ(box.isChecked(), checked) << value;
    }
}

TEST(Formats, CameraValuesAreShownInTheirFormats)
{
    EXPECT_EQ(dividedBy(1000000, "%f")(29970000), QStringLiteral("29.970000"));
    EXPECT_EQ(dividedBy(1000000, "%f")(-1), QStringLiteral("-0.000001"));
    EXPECT_EQ(dividedBy(1000000, "%f")(0), QStringLiteral("0.000000"));
    EXPECT_EQ(printedAs("%d degC")(-1), QStringLiteral("-1 degC"));
    EXPECT_EQ(printedAs("Width = %d")(640), QStringLiteral("Width = 640"));
    EXPECT_EQ(scaledBy(0.1, "%3.2lf")(123), QStringLiteral("12.30"));
}

struct ScaledCase {
    const char* text;
    std::optional<int> value;
};

void PrintTo(const ScaledCase& value, std::ostream* out)
{
    *out << '"' << value.text << '"';
}

class ScaledNumbers : public ::testing::TestWithParam<ScaledCase> {};

TEST_P(ScaledNumbers, ATypedRateIsScaledAndTruncatedOrRefused)
{
    EXPECT_EQ(readScaled(QString::fromLatin1(GetParam().text), 1000000.0), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ScaledNumbers,
    ::testing::Values(ScaledCase{"29.97", 29970000}, ScaledCase{"1.001", 1000999}, ScaledCase{"0.5", 500000},
                      ScaledCase{"  +30 ", 30000000}, ScaledCase{"30fps", std::nullopt}, ScaledCase{"-0.5", -500000}, ScaledCase{"1e1", 10000000},
                      ScaledCase{"2147.483647", INT_MAX}, ScaledCase{"2147.483648", std::nullopt},
                      ScaledCase{"-2147.483649", std::nullopt}, ScaledCase{"", std::nullopt},
                      ScaledCase{"fps", std::nullopt}, ScaledCase{"inf", std::nullopt}, ScaledCase{"nan", std::nullopt},
                      ScaledCase{"+-1", std::nullopt}, ScaledCase{"1e300", std::nullopt}));

TEST(ScaledNumbers, ARateShownInMillionthsReadsBackExactlyWhenRoundedToTheNearest)
{
    // What a page shows with "%f" after dividing by a million; truncating
    // loses one at 1.001000 (1000999.99...), rounding never does.
    QList<int> values = {1001000, 12345678, 29970000, -500000, 0, INT_MAX, INT_MIN + 1};
    for (int v = 100000; v < 30000000; v += 9973)
        values << v;
    for (int value : values) {
        const QString shown = dividedBy(1000000.0, "%f")(value);
        EXPECT_EQ(readScaledToNearest(shown, 1000000.0), value) << shown.toStdString();
    }
    EXPECT_EQ(readScaled(QStringLiteral("1.001000"), 1000000.0), 1000999);
    EXPECT_EQ(readScaledToNearest(QStringLiteral("fps"), 1000000.0), std::nullopt);
    EXPECT_EQ(readScaledToNearest(QStringLiteral("2147.483648"), 1000000.0), std::nullopt);
}

struct WholeNumberCase {
    const char* text;
    std::optional<int> value;
};

void PrintTo(const WholeNumberCase& value, std::ostream* out)
{
    *out << '"' << value.text << '"';
}

class WholeNumbers : public ::testing::TestWithParam<WholeNumberCase> {};

TEST_P(WholeNumbers, ATypedWholeNumberIsReadOrRefusedWhole)
{
    EXPECT_EQ(readWholeNumber(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumbers,
    ::testing::Values(WholeNumberCase{"640", 640}, WholeNumberCase{" -7 ", -7}, WholeNumberCase{"+5", 5},
                      WholeNumberCase{"007", 7}, WholeNumberCase{"2147483647", INT_MAX},
                      WholeNumberCase{"-2147483648", INT_MIN}, WholeNumberCase{"2147483648", std::nullopt},
                      WholeNumberCase{"-2147483649", std::nullopt}, WholeNumberCase{"", std::nullopt},
                      WholeNumberCase{"   ", std::nullopt}, WholeNumberCase{"N/A", std::nullopt},
                      WholeNumberCase{"12.5", std::nullopt}, WholeNumberCase{"12abc", std::nullopt},
                      WholeNumberCase{"1 2", std::nullopt}, WholeNumberCase{"+-1", std::nullopt},
                      WholeNumberCase{"+", std::nullopt}, WholeNumberCase{"-", std::nullopt},
                      WholeNumberCase{"0x10", std::nullopt}, WholeNumberCase{"\u0661\u0662", std::nullopt}));

struct RangedCase {
    const char* text;
    std::optional<int> value; // read within -100..100
};

void PrintTo(const RangedCase& value, std::ostream* out)
{
    *out << '"' << value.text << '"';
}

class RangedWholeNumbers : public ::testing::TestWithParam<RangedCase> {};

TEST_P(RangedWholeNumbers, OnlyAWholeNumberWithinItsLimitsIsRead)
{
    EXPECT_EQ(readWholeNumber(QString::fromLatin1(GetParam().text), -100, 100), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, RangedWholeNumbers,
                         ::testing::Values(RangedCase{"+100", 100}, RangedCase{"-100", -100},
                                           RangedCase{"101", std::nullopt}, RangedCase{"-101", std::nullopt},
                                           RangedCase{"99999999999999999999", std::nullopt}));

} // namespace
