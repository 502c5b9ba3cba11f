#pragma once

#include <QPlainTextEdit>

// The terminal's list of sent lines: read-only, one command per line, both
// scroll bars. A double-click reports the line under the caret (at most 32
// characters) before it has its normal effect of selecting a word.
class CMyEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kDoubleClickCopyLength = 32;

    explicit CMyEdit(QWidget* parent = nullptr);

    // Line number `line` of the text (0 = first), at most maxLength characters;
    // empty beyond the last line.
    QString lineText(int line, int maxLength) const;
    int lineCount() const;

signals:
    void lineDoubleClicked(const QString& text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
