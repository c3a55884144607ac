// The one-point hints: the tips of the hint file "tavHint.txt" and the one on
// show. The file is Shift-JIS text, one tip a line; every line, empty ones
// included, is a tip and is shown whole.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

inline constexpr const char* kHintFileName = "tavHint.txt";

// The tips of the file's bytes. Lines end in CR LF, LF or CR; a break at the
// very end closes the last line rather than opening an empty one.
QStringList hintLines(const QByteArray& sjisBytes);
// The tips of the file at `path`; none when it is missing or unreadable.
QStringList readHintFile(const QString& path);

class HintTips {
public:
    explicit HintTips(QStringList tips = {}) : m_tips(std::move(tips)) {}

    int count() const { return int(m_tips.size()); }
    // Puts tip `index` on show (taken round the list); nothing with no tips.
    void showTip(int index);
    // The tip after the one on show, going back to the first after the last.
    void next();
    // The tip on show, empty when there are none.
    QString current() const { return m_tips.value(m_index); }

private:
    QStringList m_tips;
    int m_index = 0;
};
