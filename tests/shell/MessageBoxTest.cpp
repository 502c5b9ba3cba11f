// The message boxes: their icon says whether something went well, their
// title what happened, and a file path in them is never broken across lines.

#include "MessageBox.h"

#include <QMessageBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

// The line of the laid-out document a character is on.
int lineAt(QTextDocument& document, int position)
{
    const QTextBlock block = document.findBlock(position);
    return block.blockNumber() * 1000 + block.layout()->lineForTextPosition(position - block.position()).lineNumber();
}

TEST(MessageBox, IconAndTitleSayWhatHappenedAndAPathStaysOnOneLine)
{
    const QString path = QStringLiteral("/home/engineer/camera-settings/PTM-R290CL_bench-2 settings.txt");
    const struct {
        Message message;
        QMessageBox::Icon icon;
        QString title;
    } cases[] = {
        {{Message::Kind::Information, QStringLiteral("Settings Saved"),
          QStringLiteral("212 settings of the PTM-R290CL were saved to %1.").arg(path), path},
         QMessageBox::Information, QStringLiteral("Settings Saved")},
        {{Message::Kind::Warning, QStringLiteral("Settings Not Saved"),
          QStringLiteral("The settings could not be written to %1: <denied> & gone.").arg(path), path},
         QMessageBox::Warning, QStringLiteral("Settings Not Saved")},
        {{.text = QStringLiteral("untitled")}, QMessageBox::Warning, QStringLiteral("PK70App")},
    };
    for (const auto& c : cases) {
        const auto box = makeMessageBox(c.message);
        EXPECT_EQ(box->icon(), c.icon) << c.title.toStdString();
        EXPECT_EQ(box->windowTitle(), c.title);
        QTextDocument document;
        document.setHtml(box->text());
        EXPECT_EQ(document.toPlainText(), c.message.text); // escaped, nothing lost
        if (c.message.path.isEmpty())
            continue;
        document.setTextWidth(120); // far narrower than the path
        const int start = int(document.toPlainText().indexOf(path));
        EXPECT_EQ(lineAt(document, start), lineAt(document, start + int(path.size()) - 1)) << c.title.toStdString();
    }
}

} // namespace
