#include "QtPrinters.h"
#include "Identification.h"
#include "LinkFixture.h"

#include <QList>

// --- The model table -----------------------------------------------------

struct FamilyCase {
    const char* model;
    std::optional<CameraFamily> family;
};

void PrintTo(const FamilyCase& c, std::ostream* out)
{
    *out << '"' << c.model << '"';
}

class ModelTable : public ::testing::TestWithParam<FamilyCase> {};

TEST_P(ModelTable, AssignsTheFamilyOfTheFirstMatchingRow)
{
    const FamilyCase& c = GetParam();
    EXPECT_EQ(familyForModel(QString::fromLatin1(c.model)), c.family) << c.model;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ModelTable,
    ::testing::Values(FamilyCase{"PTM-R20", CameraFamily::Brevo}, FamilyCase{"PTM-R2000CL", CameraFamily::Brevo},
                      FamilyCase{"PTM-R22M", CameraFamily::Brevo}, FamilyCase{"PTM-R140", CameraFamily::Brevo},
                      FamilyCase{"PTM-R140ML", CameraFamily::Brevo}, FamilyCase{"PTM-R290CL", CameraFamily::Brevo},
                      FamilyCase{"PTM-R560CL", CameraFamily::Brevo}, FamilyCase{"PTM-T350", CameraFamily::Brevo},
                      FamilyCase{"PTM-T450 rev2", CameraFamily::Brevo},
                      FamilyCase{"PTM-TW640", CameraFamily::Tovane}, FamilyCase{"PTM-TW640M", CameraFamily::Tovane},
                      // The Tovane rows need the exact name.
                      FamilyCase{"PTM-TW640X", std::nullopt}, FamilyCase{"PTM-TW640M ", std::nullopt},
                      FamilyCase{"PTM-TW64", std::nullopt},
                      // Cut short, or models no panel is made for.
                      FamilyCase{"PTM-R56", std::nullopt}, FamilyCase{"PTM-R2", std::nullopt},
                      FamilyCase{"PTM-6006", std::nullopt}, FamilyCase{"PTN-KDA100", std::nullopt},
                      FamilyCase{"ptm-r560", std::nullopt}, FamilyCase{"", std::nullopt}));

struct ControlCase {
    const char* model;
    ControlPanelKind panel;
};

void PrintTo(const ControlCase& c, std::ostream* out)
{
    *out << '"' << c.model << '"';
}

class ControlCommand : public ::testing::TestWithParam<ControlCase> {};

TEST_P(ControlCommand, ChoosesThePanelByTheBeginningOfTheModel)
{
    EXPECT_EQ(controlPanelForModel(QString::fromLatin1(GetParam().model)), GetParam().panel) << GetParam().model;
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, ControlCommand,
    ::testing::Values(ControlCase{"PTM-TW640", ControlPanelKind::Tovane},
                      ControlCase{"PTM-TW640X", ControlPanelKind::Tovane},
                      ControlCase{"PTM-T350", ControlPanelKind::Brevo}, ControlCase{"PTM-R560CL", ControlPanelKind::Brevo},
                      ControlCase{"PTM-KDA1", ControlPanelKind::Brevo}, ControlCase{"PTN-KDA1", ControlPanelKind::Brevo},
                      ControlCase{"PTN-TW640", ControlPanelKind::None}, ControlCase{"PTM-6006", ControlPanelKind::None},
                      ControlCase{"", ControlPanelKind::None}));

// --- Extracting the model from an answer ---------------------------------

TEST(ModelFromAnswer, TakesTheFirstTrimmedLineBeginningWithPtmOrPtn)
{
    EXPECT_EQ(modelFromAnswer("MODEL\rPTM-TW640M\rOK\r"), "PTM-TW640M");
    EXPECT_EQ(modelFromAnswer("MODEL\r   PTM-R560CL \t\rOK\r"), "PTM-R560CL");
    EXPECT_EQ(modelFromAnswer("VERSION\rPTN-KDA 1.02\rPTM-R20\rOK\r"), "PTN-KDA 1.02");
    EXPECT_EQ(modelFromAnswer("\r\rPTM-6006\r"), "PTM-6006");
}

TEST(ModelFromAnswer, EchoOkAndOtherLinesNeverQualify)
{
    EXPECT_EQ(modelFromAnswer("MODEL\rOK\r"), "");
    EXPECT_EQ(modelFromAnswer("VERSION\rV1.00\rOK\r"), "");
    EXPECT_EQ(modelFromAnswer("MODEL\rXPTM-R560\rOK\r"), "");
    EXPECT_EQ(modelFromAnswer(""), "");
}

// --- The exchange ----------------------------------------------------------

class IdentifyModelTest : public LinkFixture {
protected:
    QByteArrayList sent() const { return camera->receivedLines(); }
};

TEST_F(IdentifyModelTest, ACompleteAnswerToModelIsTakenWithoutAskingForTheVersion)
{
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rPTM-TW640M\rOK\r") : QByteArray();
    };
    camera->replyDelayMs = 5;
    const qint64 start = clock.nowUs();
    EXPECT_EQ(IdentifyModel(connection), "PTM-TW640M");
    EXPECT_EQ(sent(), QByteArrayList{"MODEL"});
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(IdentifyModelTest, AnAnswerArrivingInTwoPiecesIsReadToItsEndWhereverItIsCut)
{
    const QByteArray answer = "MODEL\rPTM-R560CL\rOK\r";
    for (qsizetype cut = 1; cut < answer.size(); ++cut) {
        auto port = std::make_unique<ScriptedPort>(clock);
        ScriptedPort* cam = port.get();
        connection.attach(std::move(port));
        cam->responder = [cam, answer, cut](const QByteArray& line) {
            if (line == "MODEL") {
                cam->sendAfterMs(300, answer.mid(cut));
                return answer.left(cut);
            }
            return QByteArray();
        };
        cam->replyDelayMs = 20;
        EXPECT_EQ(IdentifyModel(connection), "PTM-R560CL") << "cut at " << cut;
        EXPECT_EQ(cam->receivedLines(), QByteArrayList{"MODEL"}) << "cut at " << cut;
    }
}

TEST_F(IdentifyModelTest, AnAnswerComingLateWithinTheSecondIsStillTaken)
{
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rPTM-R140ML\rOK\r") : QByteArray();
    };
    camera->replyDelayMs = 900;
    EXPECT_EQ(IdentifyModel(connection), "PTM-R140ML");
    EXPECT_EQ(sent(), QByteArrayList{"MODEL"});
}

TEST_F(IdentifyModelTest, WithoutAnAnswerToModelTheVersionIsAskedAfterOneSecond)
{
    qint64 versionSentAt = 0;
    const qint64 start = clock.nowUs();
    camera->responder = [&](const QByteArray& line) {
        if (line != "VERSION")
            return QByteArray();
        versionSentAt = clock.nowUs();
        return QByteArray("VERSION\rPTM-6006\rOK\r");
    };
    EXPECT_EQ(IdentifyModel(connection), "PTM-6006");
    EXPECT_EQ(sent(), (QByteArrayList{"MODEL", "VERSION"}));
    EXPECT_GE((versionSentAt - start) / 1e6, 1.0);
    EXPECT_LT((versionSentAt - start) / 1e6, 1.1);
}

TEST_F(IdentifyModelTest, ARefusalEndsTheWaitAndTheVersionIsAskedAtOnce)
{
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rNG\r") : QByteArray("VERSION\rPTM-TW640\rOK\r");
    };
    camera->replyDelayMs = 5;
    const qint64 start = clock.nowUs();
    EXPECT_EQ(IdentifyModel(connection), "PTM-TW640");
    EXPECT_EQ(sent(), (QByteArrayList{"MODEL", "VERSION"}));
    EXPECT_LT(secondsSince(start), 0.1);
}

TEST_F(IdentifyModelTest, AModelAnswerLaterThanASecondIsSeenByTheVersionRead)
{
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rPTM-R290CL\rOK\r") : QByteArray();
    };
    camera->replyDelayMs = 1300;
    EXPECT_EQ(IdentifyModel(connection), "PTM-R290CL");
    EXPECT_EQ(sent(), (QByteArrayList{"MODEL", "VERSION"}));
}

TEST_F(IdentifyModelTest, AnAnswerThatNeverEndsIsTakenAsItStandsAfterOneSecond)
{
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rPTM-R56") : QByteArray();
    };
    EXPECT_EQ(IdentifyModel(connection), "PTM-R56");
    EXPECT_EQ(sent(), QByteArrayList{"MODEL"});
    EXPECT_FALSE(familyForModel("PTM-R56").has_value());
}

TEST_F(IdentifyModelTest, StaleInputBeforeTheQuestionIsDiscarded)
{
    camera->sendAfterMs(0, "PTM-R560CL\rOK\r");
    camera->responder = [](const QByteArray& line) {
        return line == "MODEL" ? QByteArray("MODEL\rPTM-TW640\rOK\r") : QByteArray();
    };
    clock.sleepMs(1);
    EXPECT_EQ(IdentifyModel(connection), "PTM-TW640");
}
