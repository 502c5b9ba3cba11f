#include "MyEdit.h"

#include <QTextBlock>

CMyEdit::CMyEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Keeps the caret visible after a click, so the line it stands on is
    // the one a double-click copies.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

QString CMyEdit::lineText(int line, int maxLength) const
{
    const QTextBlock block = document()->findBlockByNumber(line);
    return block.isValid() ? block.text().left(maxLength) : QString();
}

int CMyEdit::lineCount() const
{
    return document()->blockCount();
}

void CMyEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of the double-click has put the caret on the line.
    emit lineDoubleClicked(textCursor().block().text().left(kDoubleClickCopyLength));
    QPlainTextEdit::mouseDoubleClickEvent(event);
}
