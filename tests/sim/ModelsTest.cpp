#include "SimFixture.h"

#include "Answer.h"
#include "Models.h"

// What sets the models apart, and that every model's own defaults are values
// it accepts.

TEST(SimulatedModels, AreTheSevenOfferedModels)
{
    EXPECT_EQ(simulatedModels(), (QStringList{"PTM-TW640", "PTM-TW640M", "PTM-R560CL", "PTM-R290CL", "PTM-R140ML",
                                              "PTM-R140MLF", "PTM-6006"}));
}

class EachModel : public SimFixture, public ::testing::WithParamInterface<QString> {};

TEST_P(EachModel, NamesItselfOnTheModelLine)
{
    useModel(GetParam());
    EXPECT_EQ(answer("MODEL"), "MODEL\r" + GetParam().toLatin1() + "\rOK\r");
    EXPECT_FALSE(QueryText(connection, "VERSION").isEmpty());
}

TEST_P(EachModel, TakesBackEveryValueItHoldsAtStart)
{
    // Read each stored value and set it again: a default outside the word's
    // own range or choices would be refused.
    useModel(GetParam());
    for (const sim::CommandDefinition& row : sim::commandsOf(sim::modelInfo(GetParam()).family)) {
        if (!(row.models & sim::modelInfo(GetParam()).bit) || row.kind == sim::Kind::Action
            || row.kind == sim::Kind::Text || (row.flags & sim::kReadOnly))
            continue;
        const QByteArrayList indexes = row.indexes ? row.indexList() : QByteArrayList{QByteArray()};
        for (const QByteArray& index : indexes) {
            const QByteArray query = index.isEmpty() ? QByteArray(row.word) : QByteArray(row.word) + ' ' + index;
            const QByteArrayList lines = splitLines(answer(query));
            ASSERT_EQ(lines.size(), 3) << query.toStdString() << " -> " << lines.join("|").toStdString();
            EXPECT_EQ(lines.at(2), "OK") << query.constData();
            EXPECT_EQ(row.arity(), lines.at(1).split(' ').size()) << query.constData();
            EXPECT_TRUE(Transact(connection, query + ' ' + lines.at(1), 1.0)) << query.constData() << ' '
                                                                               << lines.at(1).constData();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sim, EachModel, ::testing::ValuesIn(simulatedModels()),
                         [](const ::testing::TestParamInfo<QString>& info) {
                             return info.param.mid(4).replace('-', '_').toStdString();
                         });

// A mono model refuses what only its colour sibling has.
struct ColourWord {
    const char* mono;
    const char* colour;
    const char* query;
};

void PrintTo(const ColourWord& c, std::ostream* out)
{
    *out << c.mono << ' ' << c.query;
}

class MonoModels : public SimFixture, public ::testing::WithParamInterface<ColourWord> {};

TEST_P(MonoModels, RefuseTheColourWordsTheirColourSiblingAnswers)
{
    const ColourWord& c = GetParam();
    useModel(c.mono);
    int value = 0;
    EXPECT_FALSE(TryQueryInt(connection, c.query, value)) << c.mono << ' ' << c.query;
    EXPECT_EQ(lastError(), "Not supported") << c.query;
    useModel(c.colour);
    EXPECT_TRUE(TryQueryInt(connection, c.query, value)) << c.colour << ' ' << c.query;
}

INSTANTIATE_TEST_SUITE_P(
    Sim, MonoModels,
    ::testing::Values(ColourWord{"PTM-TW640M", "PTM-TW640", "RGAIN-FINE"}, ColourWord{"PTM-TW640M", "PTM-TW640", "GGAIN-FINE"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "BGAIN-FINE"}, ColourWord{"PTM-TW640M", "PTM-TW640", "AWB"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "AWB-WIDTH"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "AWB-FRAME-HIGHLIGHT"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "RGAIN-FINE"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "BGAIN-FINE-TAP1"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "AWB-HEIGHT"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "AWB-OFFSETX"},
                      ColourWord{"PTM-TW640M", "PTM-TW640", "AWB-OFFSETY"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB"}, ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB-OFFSETX"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB-OFFSETY"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB-WIDTH"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB-HEIGHT"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "AWB-FRAME-HIGHLIGHT"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "HBIN"}, ColourWord{"PTM-R140ML", "PTM-R290CL", "VBIN"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "SP-FL "},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "SP-FL-VAL 11"},
                      ColourWord{"PTM-R140ML", "PTM-R290CL", "CR-TF "}));

using ModelDifferences = SimFixture;

TEST_F(ModelDifferences, OnlyTheMonoBrevoRefusesHelpLibr)
{
    for (const char* model : {"PTM-R560CL", "PTM-R290CL", "PTM-R140ML"}) {
        useModel(model);
        EXPECT_EQ(Transact(connection, "HELP LIBR", 1.0), QByteArray(model) != "PTM-R140ML") << model;
    }
}

TEST_F(ModelDifferences, OnlyColourModelsGiveTheWhiteBalanceAreaRanges)
{
    const std::pair<const char*, const char*> siblings[] = {{"PTM-TW640M", "PTM-TW640"}, {"PTM-R140ML", "PTM-R290CL"}};
    for (const auto& [mono, colour] : siblings) {
        useModel(mono);
        EXPECT_EQ(answer("HELP AWB-WIDTH"), "HELP AWB-WIDTH\rNG\r") << mono;
        EXPECT_EQ(lastError(), "Not supported") << mono;
        useModel(colour);
        int min = 0, max = 0, step = 0;
        QueryRange(connection, "HELP AWB-WIDTH", min, max, step);
        EXPECT_EQ(min, 16) << colour;
        EXPECT_GE(max, 640) << colour;
    }
}

TEST_F(ModelDifferences, SensorTapAnswersTheTapCountOfEachBrevo)
{
    const std::pair<const char*, int> taps[] = {{"PTM-R560CL", 4}, {"PTM-R290CL", 2}, {"PTM-R140ML", 1}};
    for (const auto& [model, count] : taps) {
        useModel(model);
        EXPECT_EQ(QueryInt(connection, "SENSOR-TAP"), count) << model;
    }
    useModel("PTM-TW640");
    EXPECT_EQ(answer("SENSOR-TAP"), "SENSOR-TAP\rNG\r");
}

TEST_F(ModelDifferences, TapWordsExistOnlyForTheTapsAModelHas)
{
    useModel("PTM-R290CL");
    EXPECT_TRUE(Transact(connection, "GAIN-FINE-TAP2 100", 1.0));
    EXPECT_FALSE(Transact(connection, "GAIN-FINE-TAP3 100", 1.0));
    useModel("PTM-R560CL");
    EXPECT_TRUE(Transact(connection, "BL-ADJ-4 -5", 1.0));
    useModel("PTM-R140ML");
    EXPECT_TRUE(Transact(connection, "GAIN-FINE-TAP1 100", 1.0));
    EXPECT_FALSE(Transact(connection, "BL-ADJ-2 1", 1.0));
}

TEST_F(ModelDifferences, OnlyTheMonoBrevoLacksAverageShadingDetection)
{
    useModel("PTM-R140ML");
    EXPECT_EQ(answer("HELP SHADING-DETECTION"), "HELP SHADING-DETECTION\r 0(Stop)\r 1(Peak)\rOK\r");
    useModel("PTM-R290CL");
    EXPECT_TRUE(Transact(connection, "SHADING-DETECTION 2", 3.0));
}

TEST_F(ModelDifferences, ACameraOfNoFamilyAnswersItsModelAndTheBasics)
{
    useModel("PTM-6006");
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-6006");
    EXPECT_TRUE(Transact(connection, "EXP 2000", 1.0));
    EXPECT_EQ(QueryInt(connection, "EXP"), 2000);
    EXPECT_EQ(QueryInt(connection, "WIDTH"), 1024);
    EXPECT_FALSE(Transact(connection, "AGC 1", 1.0));
}

TEST_F(ModelDifferences, AnUnknownNameGivesACameraOfNoFamilyThatUsesTheName)
{
    useModel("PTM-TW640X");
    EXPECT_EQ(QueryText(connection, "MODEL"), "PTM-TW640X");
    EXPECT_FALSE(Transact(connection, "AGC 1", 1.0));
}
