#include "MessageBox.h"

#include "AppIdentity.h"

#include <QMessageBox>

QString messageBoxText(const Message& message)
{
    QString html = message.text.toHtmlEscaped();
    if (!message.path.isEmpty()) {
        const QString path = message.path.toHtmlEscaped();
        html.replace(path, QStringLiteral("<nobr>%1</nobr>").arg(path));
    }
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return html;
}

std::unique_ptr<QMessageBox> makeMessageBox(const Message& message, QWidget* parent)
{
    const QString title = message.title.isEmpty() ? QLatin1String(AppIdentity::kName) : message.title;
    auto box = std::make_unique<QMessageBox>(message.kind == Message::Kind::Information ? QMessageBox::Information
                                                                                        : QMessageBox::Warning,
                                             title, messageBoxText(message), QMessageBox::Ok, parent);
    box->setTextFormat(Qt::RichText);
    return box;
}
