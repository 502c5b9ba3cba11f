#include "BrevoDSPSettings.h"

#include "CommandWords.h"
#include "Link.h"

namespace {

// The cells in row order, each with its own command word. The matrix words
// end in a blank, so two blanks go before the value.
const char* const kMatrixWords[] = {cmd::CR_TF_VAL_00, cmd::CR_TF_VAL_01, cmd::CR_TF_VAL_02,
                                    cmd::CR_TF_VAL_10, cmd::CR_TF_VAL_11, cmd::CR_TF_VAL_12,
                                    cmd::CR_TF_VAL_20, cmd::CR_TF_VAL_21, cmd::CR_TF_VAL_22};
const char* const kFilterWords[] = {cmd::SP_FL_VAL_00, cmd::SP_FL_VAL_01, cmd::SP_FL_VAL_02,
                                    cmd::SP_FL_VAL_10, cmd::SP_FL_VAL_11, cmd::SP_FL_VAL_12,
                                    cmd::SP_FL_VAL_20, cmd::SP_FL_VAL_21, cmd::SP_FL_VAL_22};
const char* const kColours[] = {"R", "G", "B"};

struct ColourBuild {
    const char* caption;
    const char* word;
};
const ColourBuild kColourBuilds[] = {{"BuildR", cmd::LIBR}, {"BuildG", cmd::LIBG}, {"BuildB", cmd::LIBB}};

} // namespace

// In the order the camera is read. The first load begins by asking whether
// the camera knows SHARP at all; "Refresh" does not ask again.
BrevoDSPSettings::BrevoDSPSettings(Connection& connection, const QString& title, const CatalogueContext&)
    : LutSettings(connection, title)
{
    step([this] {
        if (!m_sharpnessProbed) {
            m_sharpnessProbed = true;
            m_hasSharpness = Transact(this->connection(), cmd::SHARP, 1.0);
        }
    });
    declareLut();

    pixelDepth = &number(cmd::PIXEL_DEPTH, QStringLiteral("Pixel-Depth")).readOnly();
    matrixEnable = &declare(cmd::CR_TF, QStringLiteral("Color Linear Matrix"));
    for (int cell = 0; cell < 9; ++cell) {
        matrix[cell] = &declare(kMatrixWords[cell], QStringLiteral("Color matrix %1 %2")
                                                        .arg(QLatin1String(kColours[cell / 3]), QLatin1String(kColours[cell % 3])));
    }
    // At another depth the matrix is neither read nor usable; what was known
    // of it stays.
    step([this] {
        if (pixelDepth->number() != kRgbPixelDepth)
            return;
        read(*matrixEnable);
        for (Setting* cell : matrix)
            read(*cell);
    });

    filterEnable = &optionalNumber(cmd::SP_FL, QStringLiteral("Spatial Filter"));
    for (int cell = 0; cell < 9; ++cell)
        filter[cell] = &declare(kFilterWords[cell], QStringLiteral("Spatial filter %1 %2").arg(cell / 3).arg(cell % 3));
    step([this] {
        for (Setting* cell : filter) {
            if (filterEnable->isKnown())
                read(*cell);
            else
                cell->setUnavailable();
        }
    });

    sharpness = &declare(cmd::SHARP, QStringLiteral("Sharpness"));
    step([this] {
        read(*sharpness);
        if (!m_hasSharpness)
            sharpness->setUnavailable();
    });

    step([this] {
        m_hasColourBuilds = Transact(this->connection(), QByteArray(cmd::HELP) + ' ' + cmd::LIBR, 1.0);
        emit colourBuildsChecked();
    });
    for (size_t colour = 0; colour < colourBuilds.size(); ++colour) {
        colourBuilds[colour] = &command(kColourBuilds[colour].word, QString::fromLatin1(kColourBuilds[colour].caption),
                                        SendMode::transact(3.0));
    }
}
