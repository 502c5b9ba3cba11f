// The connector picture: the roles it is given, in words for screen readers
// and in paint.

#include "ConnectorPicture.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage rendered(ConnectorPicture& picture)
{
    picture.resize(picture.sizeHint());
    QImage image(picture.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    picture.render(&image);
    return image;
}

} // namespace

TEST(ConnectorPicture, TellsThePinsInUseInPinOrderWithTheirSignals)
{
    ConnectorPicture picture;
    EXPECT_EQ(picture.accessibleName(), "Connector");
    EXPECT_EQ(picture.accessibleDescription(), "No pin in use");

    picture.setPin(9, ConnectorPicture::PinUse::Output, "Pulse, inverted");
    picture.setPin(10, ConnectorPicture::PinUse::Input, "ignored for inputs");
    picture.setPin(4, ConnectorPicture::PinUse::Output, "Strobe");
    picture.setPin(7, ConnectorPicture::PinUse::Output);
    EXPECT_EQ(picture.description(), "Pin 4: output Strobe; Pin 7: output; Pin 9: output Pulse, inverted; Pin 10: input");
    EXPECT_EQ(picture.accessibleDescription(), picture.description());

    // A pin changes its role, another leaves use, numbers off the connector change nothing.
    picture.setPin(4, ConnectorPicture::PinUse::Input);
    picture.setPin(9, ConnectorPicture::PinUse::None);
    picture.setPin(0, ConnectorPicture::PinUse::Output, "Exposure");
    picture.setPin(13, ConnectorPicture::PinUse::Input);
    EXPECT_EQ(picture.accessibleDescription(), "Pin 4: input; Pin 7: output; Pin 10: input");
    EXPECT_EQ(picture.use(4), ConnectorPicture::PinUse::Input);
    EXPECT_EQ(picture.use(9), ConnectorPicture::PinUse::None);
}

TEST(ConnectorPicture, PaintsEachChangeOfRole)
{
    ConnectorPicture picture;
    const QImage empty = rendered(picture);
    picture.setPin(4, ConnectorPicture::PinUse::Output, "Strobe");
    const QImage output = rendered(picture);
    picture.setPin(4, ConnectorPicture::PinUse::Output, "Exposure");
    const QImage otherSignal = rendered(picture);
    picture.setPin(4, ConnectorPicture::PinUse::Input);
    const QImage input = rendered(picture);

    EXPECT_NE(empty, output);
    EXPECT_NE(output, otherSignal);
    EXPECT_NE(otherSignal, input);
    picture.setPin(4, ConnectorPicture::PinUse::None);
    EXPECT_EQ(rendered(picture), empty);
}
